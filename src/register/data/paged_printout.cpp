#include "register/data/paged_printout.h"

#include "platform/base/text.h"
#include "printing/data/headers.h"

namespace kestrel::registry {

std::string Fit(std::string_view text, size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

PagedPrintout::PagedPrintout(common::Runtime& rt, printing::PrintOutput& out, std::string title,
                             bool wide, std::vector<std::string> headings)
    : rt_(rt), out_(out), title_(std::move(title)), wide_(wide), headings_(std::move(headings)) {}

void PagedPrintout::StartPage() {
    if (page_ == 0) {
        out_.Control(rt_.config().Text("YPRRS"));
    } else {
        out_.Eject();
    }
    ++page_;
    if (wide_)
        printing::Qrmnagl(rt_, out_, page_, title_);
    else
        printing::Qrmnagl2(rt_, out_, page_, title_);
    int row = out_.row() + 2;
    for (const std::string& h : headings_) out_.Say(row++, 0, base::TrimRight(h));
    out_.Say(row++, 0, std::string(static_cast<size_t>(width()), '-'));
    row_ = first_row_ = row;
}

void PagedPrintout::Block(const std::vector<std::string>& lines) {
    const int n = static_cast<int>(lines.size());
    if (page_ == 0 || (row_ + n > kPageRows && row_ > first_row_)) StartPage();
    for (const std::string& line : lines) out_.Say(row_++, 0, base::TrimRight(line));
}

void PagedPrintout::Gap() {
    if (page_ > 0 && row_ > first_row_ && row_ < kPageRows) ++row_;
}

void PagedPrintout::Finish() {
    if (page_ == 0) StartPage();
    out_.Eject();
}

}  // namespace kestrel::registry
