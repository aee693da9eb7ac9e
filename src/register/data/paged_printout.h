// The pages of a register print-out: every page begins with the page
// header of the company (the narrow QRMNAGL2 for lists of up to 78
// columns, the wide QRMNAGL for wider ones) and the column headings under
// a rule; the lines of one record are kept together on a page.
//
//   PagedPrintout pages(rt, out, title, false, {"KOD  NAZWA"});
//   pages.Block({"01   Umowa na czas nieokreślony"});
//   pages.Finish();
//
// Text is CP852; it reaches the printer through the output's converter.
// The first page starts with the printer's reset (YPRRS); Finish ejects
// the last page.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"

namespace kestrel::registry {

/// Printer rows of a page (A4 at 6 lines per inch, margins left).
inline constexpr int kPageRows = 60;
/// The widths of the two headers' lines.
inline constexpr int kNarrowWidth = 78;
inline constexpr int kWideWidth = 136;

class PagedPrintout {
  public:
    PagedPrintout(common::Runtime& rt, printing::PrintOutput& out, std::string title, bool wide,
                  std::vector<std::string> headings);

    /// The lines of one record, on the current page when they fit below
    /// what it holds, else on a new one. A block longer than a page's room
    /// goes on as it is, across the page break the printer makes.
    void Block(const std::vector<std::string>& lines);
    /// An empty line between records (nothing at the top of a page).
    void Gap();
    /// Ejects the last page (a print-out that printed nothing still gets
    /// its first page with the header).
    void Finish();

    /// The number of the page being printed (0 before the first).
    int page() const { return page_; }
    int width() const { return wide_ ? kWideWidth : kNarrowWidth; }

  private:
    void StartPage();

    common::Runtime& rt_;
    printing::PrintOutput& out_;
    const std::string title_;
    const bool wide_;
    const std::vector<std::string> headings_;
    int page_ = 0;
    int row_ = 0;        // the next row to print on
    int first_row_ = 0;  // the first row under the headings
};

/// `text` cut or padded with blanks to `width` characters.
std::string Fit(std::string_view text, size_t width);

}  // namespace kestrel::registry
