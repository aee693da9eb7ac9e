#include "worktime/printouts/data/report_pages.h"

namespace kestrel::worktime {

ReportPages::ReportPages(printing::PrintOutput& out, int rows, std::function<void(int)> header)
    : out_(out), rows_(rows), header_(std::move(header)) {}

void ReportPages::NewPage() {
    if (page_ > 0) out_.Eject();
    ++page_;
    header_(page_);
    row_ = out_.row() + 1;
}

void ReportPages::Line(std::string_view text) {
    if (page_ == 0 || row_ >= rows_) NewPage();
    out_.Say(row_++, 0, text);
}

void ReportPages::Keep(int n) {
    if (page_ == 0 || room() < n) NewPage();
}

}  // namespace kestrel::worktime
