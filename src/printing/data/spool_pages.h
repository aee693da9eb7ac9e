// The pages of a print file, and the printing of a range of them.
//
// A print file is read in blocks of 512 bytes and split into pages at form
// feeds (FF, 0C hex) and into lines at CR LF. The byte right after ESC "A"
// is the argument of that line-spacing command (ESC "A" 0C hex sets 12/72
// inch) and never ends a page or a line, also when the command is cut by
// the end of a block. A page's bytes include the form feed that ends it;
// what follows the last form feed is one more page when it is not empty.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"
#include "printing/data/print_output.h"

namespace kestrel::printing {

inline constexpr size_t kSpoolBlock = 512;

class PageSplitter {
  public:
    /// Called with each page as it is complete (number from 1, its bytes,
    /// whether a form feed ended it); false stops the split.
    using PageFn = std::function<bool(int number, std::string_view bytes, bool form_feed)>;

    explicit PageSplitter(PageFn on_page) : on_page_(std::move(on_page)) {}

    /// Takes the next bytes of the file; false once the page function
    /// stopped.
    bool Feed(std::string_view bytes);
    /// The end of the file: the last page when it did not end with a form
    /// feed and is not empty.
    bool Finish();
    /// Pages handed on so far.
    int pages() const { return pages_; }

  private:
    bool EndPage(bool form_feed);

    PageFn on_page_;
    std::string page_;
    int pages_ = 0;
    bool after_esc_ = false;     // the previous byte was ESC
    bool esc_argument_ = false;  // the next byte is ESC "A"'s argument
    bool stopped_ = false;
};

/// The lines of a page split at CR LF (without them; a form feed at the
/// end is dropped); the argument of ESC "A" stays inside its line.
std::vector<std::string> SplitLines(std::string_view page);

/// Pages first … last (from 1; last 0 = to the end).
struct PageRange {
    int first = 1;
    int last = 0;
    bool Contains(int page) const { return page >= first && (last == 0 || page <= last); }
};

/// Reads `path` in 512-byte blocks under a ReadHold and hands every page
/// to `on_page` (which may stop it). *pages receives the pages seen.
/// Errors: NotFound/Busy/IOError from opening ("Błąd otwarcia"),
/// Corruption when a read fails ("Błąd odczytu").
base::Status ReadPages(const std::string& path, const PageSplitter::PageFn& on_page,
                       int* pages = nullptr);

/// The number of pages of `path` (0 when it cannot be read).
int CountPages(const std::string& path);

/// What printing a range of a spool file asks of its caller.
class PagePrintObserver {
  public:
    virtual ~PagePrintObserver() = default;
    /// Before page `number` of the range is written; false interrupts the
    /// print (nothing more is written).
    virtual bool Page(int number) = 0;
};

struct PagePrintResult {
    int printed = 0;  // pages written
    bool interrupted = false;
    /// The last page written ended with its form feed (the paper stands at
    /// the top of the next sheet).
    bool at_page_top = true;
};

/// QRMWSP: writes the pages of `range` of spool file `path` into `out` as
/// they stand (lines, page breaks and control sequences byte for byte).
/// The caller adds the final eject (when !at_page_top) or the note of an
/// interruption, and delivers `out`.
base::Status PrintPages(const std::string& path, PageRange range, PrintOutput& out,
                        PagePrintObserver& observer, PagePrintResult* result);

}  // namespace kestrel::printing
