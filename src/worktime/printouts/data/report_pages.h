// The pages of a working-time print-out: lines written one under the
// other, each page opened by its header, a new page when the page is full.
#pragma once

#include <functional>
#include <string_view>

#include "printing/data/print_output.h"

namespace kestrel::worktime {

class ReportPages {
  public:
    /// `header(page)` writes the head of page `page` (1, 2 ...) from row 0;
    /// the lines follow on the row after the last one it wrote. A page holds
    /// rows 0 to `rows` - 1.
    ReportPages(printing::PrintOutput& out, int rows, std::function<void(int page)> header);

    /// Starts a page: a form feed after a page that was started, then the
    /// header.
    void NewPage();
    /// `text` at column 0 of the next row, on a new page when this one is
    /// full (or none was started).
    void Line(std::string_view text);
    /// Keeps the next `n` lines together: a new page unless they fit.
    void Keep(int n);

    int page() const { return page_; }
    /// Rows left on the page.
    int room() const { return rows_ - row_; }

  private:
    printing::PrintOutput& out_;
    int rows_;
    std::function<void(int)> header_;
    int page_ = 0;
    int row_ = 0;
};

}  // namespace kestrel::worktime
