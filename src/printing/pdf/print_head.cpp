#include "printing/pdf/print_head.h"

#include <algorithm>
#include <cmath>

namespace kestrel::printing {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr double kTabInches = 0.8;  // a stop every 8 columns at 10 cpi

}  // namespace

void PrintHead::SetSpacing(double inches) {
    if (!std::isfinite(inches)) return;
    style_.spacing = std::clamp(inches, 1.0 / 360, kFormInches);
}

void PrintHead::NewPage() {
    doc_.pages.emplace_back();
    x_ = y_ = 0;
}

void PrintHead::CloseRun() {
    if (!in_run_) return;
    in_run_ = false;
    if (!run_.style.underline && trailing_blanks_ > 0) {
        run_.text.resize(run_.text.size() - trailing_blanks_);
        run_.chars -= trailing_blanks_;
    }
    trailing_blanks_ = 0;
    if (run_.chars > 0) doc_.pages.back().runs.push_back(std::move(run_));
    run_ = TextRun();
}

void PrintHead::Place(std::string_view utf8, bool blank) {
    if (style_.cpi <= 0 || !std::isfinite(style_.cpi)) style_.cpi = 10;
    const double width = 1.0 / style_.cpi;
    if (x_ + width > kCarriageInches + 1e-9) {
        LineFeed();
    }
    if (y_ + style_.spacing > kFormInches + 1e-9 && !doc_.pages.back().runs.empty()) {
        CloseRun();
        NewPage();
    }
    if (in_run_ && (!(run_.style == style_) || std::fabs(run_.right() - x_) > 1e-9 || run_.y != y_))
        CloseRun();
    if (!in_run_) {
        if (blank && !style_.underline) {
            x_ += width;
            return;
        }
        run_.x = x_;
        run_.y = y_;
        run_.style = style_;
        in_run_ = true;
    }
    run_.text.append(utf8);
    ++run_.chars;
    trailing_blanks_ = blank ? trailing_blanks_ + 1 : 0;
    x_ += width;
    doc_.pages.back().landscape = doc_.pages.back().landscape || landscape_;
}

void PrintHead::Print(unsigned char byte) {
    char32_t c = codepage::ToUnicode(letters_, byte);
    if (c == 0 || c == 0xA0 || c == 0xAD) c = ' ';
    char buf[4];
    if (c < 0x80) {
        buf[0] = static_cast<char>(c);
        Place(std::string_view(buf, 1), c == ' ');
        return;
    }
    std::string s;
    AppendUtf8(s, c);
    Place(s, false);
}

void PrintHead::PrintUtf8(std::string_view utf8) {
    Place(utf8, utf8 == " ");
}

void PrintHead::CarriageReturn() {
    CloseRun();
    x_ = 0;
}

void PrintHead::LineFeed() {
    CloseRun();
    x_ = 0;
    y_ += style_.spacing;
    if (y_ > kFormInches) y_ = kFormInches;  // placing text there breaks the page
}

void PrintHead::Feed(double inches) {
    if (!std::isfinite(inches)) return;
    CloseRun();
    y_ = std::clamp(y_ + inches, 0.0, kFormInches);
}

void PrintHead::SetY(double inches) {
    if (!std::isfinite(inches)) return;
    CloseRun();
    y_ = std::clamp(inches, 0.0, kFormInches);
}

void PrintHead::FormFeed() {
    CloseRun();
    NewPage();
    doc_.pages[doc_.pages.size() - 2].landscape |= landscape_;
}

void PrintHead::Tab() {
    CloseRun();
    SetX((std::floor(x_ / kTabInches + 1e-9) + 1) * kTabInches);
}

void PrintHead::Backspace() {
    CloseRun();
    x_ = std::max(0.0, x_ - 1.0 / style_.cpi);
}

void PrintHead::SetX(double inches) {
    if (!std::isfinite(inches)) return;
    CloseRun();
    x_ = std::clamp(inches, 0.0, kCarriageInches);
}

PrintedDocument PrintHead::Finish() {
    CloseRun();
    if (doc_.pages.size() > 1 && doc_.pages.back().runs.empty()) doc_.pages.pop_back();
    return std::move(doc_);
}

}  // namespace kestrel::printing
