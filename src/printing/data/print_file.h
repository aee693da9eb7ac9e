// Print files: where a print-out is written (QRM1PRT) and how the finished
// file reaches its printer (QRM2PRT).
//
// A print file is NAGL0 + "TEMPnn.PRT" (01-99), created exclusively so two
// workstations never share one. While it is open this process holds a lock
// on it; when all 99 names are taken the files nobody holds are deleted and
// the search repeats ("Błąd kasowania TEMP*.PRT" when none could be).
//
// Delivery: a file shorter than 2 bytes is deleted and nothing prints.
// Otherwise, for a printer whose queue takes PDF (types V and W) the file
// is rendered into a PDF in the company directory's WYDRUKI/ (named after
// the title and the time), which is then printed; for the other types the
// file goes to the definition's queue unchanged. Afterwards the print file
// is deleted. A failure abandons with the operator's message.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"
#include "printing/data/print_system.h"

namespace kestrel::printing {

class PrintFile {
  public:
    explicit PrintFile(common::Runtime& rt) : rt_(rt) {}
    /// An undelivered file (the print-out was abandoned) is deleted.
    ~PrintFile();
    PrintFile(const PrintFile&) = delete;
    PrintFile& operator=(const PrintFile&) = delete;

    /// QRM1PRT: opens a new print file with the letters of the printer in
    /// force; for type "V" it begins with YPRVD + title + "}" + YPRRS (a
    /// "}" of the title becomes ")", so the header ends where it should).
    /// Row and column are 0 afterwards. Abandons on failure.
    void Open(std::string_view title);
    PrintOutput& out() { return out_; }
    const std::string& path() const { return path_; }
    const std::string& title() const { return title_; }
    bool is_open() const { return out_.is_open(); }

    /// QRM2PRT: closes the file, delivers it to the printer in force and
    /// deletes it. A write error of the file abandons with "Błąd w trakcie
    /// tworzenia wydruku".
    void Deliver(PrintSystem& printers);

  private:
    void Release();

    common::Runtime& rt_;
    PrintOutput out_;
    std::string path_;
    std::string title_;
    int lock_fd_ = -1;
};

/// The job header a type V print-out starts with: YPRVD, the title (CP852)
/// with every "}" written as ")" so that it cannot end the header early,
/// "}" and the reset YPRRS.
std::string JobHeader(const common::Configuration& config, std::string_view title);

/// The name of print file `n` (1-99) in `dir`: dir + "TEMP07.PRT".
std::string PrintFileName(const std::string& dir, int n);

/// Creates the first free print file of `dir` exclusively and locks it;
/// *lock_fd is the lock. Busy when all 99 are taken and none could be
/// deleted.
base::Status CreatePrintFile(const std::string& dir, PrintOutput* out,
                             PrintOutput::Converter convert, int* lock_fd);

/// The PDF path for a print-out: the company directory's WYDRUKI/ (made
/// when missing) + the title in plain letters, digits and "_" + "_" +
/// YYYYMMDD_HHMMSS + ".pdf", reserved with an exclusive create (a second
/// one in the same second gets "_2", "_3" …). `title` is CP852.
base::Status ReservePdfPath(const common::Runtime& rt, std::string_view title, std::string* path);

/// Sends the finished file `file` (print file or spool file) to the
/// printer in force as QRM2PRT does, without deleting it: rendered to PDF
/// and printed for a PDF queue (the PDF stays in WYDRUKI/), unchanged to
/// the queue otherwise. `title` (CP852) names the PDF. Abandons with the
/// operator's message on failure.
void SendToPrinter(common::Runtime& rt, PrintSystem& printers, const std::string& file,
                   std::string_view title);

}  // namespace kestrel::printing
