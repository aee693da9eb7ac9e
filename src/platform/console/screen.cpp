#include "platform/console/screen.h"

#include <algorithm>

#include "platform/codepage/cp852.h"

namespace kestrel::console {

Screen::Screen() {
    damaged_.set();
}

void Screen::Put(int row, int col, std::uint8_t ch, Attr attr) {
    if (!Inside(row, col)) return;
    Cell& c = cells_[row][col];
    if (c.ch == ch && c.attr == attr) return;
    c.ch = ch;
    c.attr = attr;
    damaged_.set(row);
}

int Screen::Write(int row, int col, std::string_view text, Attr attr) {
    for (unsigned char ch : text) Put(row, col++, ch, attr);
    return col;
}

void Screen::Repeat(int row, int col, std::uint8_t ch, int count, Attr attr) {
    for (int i = 0; i < count; ++i) Put(row, col + i, ch, attr);
}

void Screen::Fill(int top, int left, int bottom, int right, std::uint8_t ch, Attr attr) {
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, kRows - 1);
    right = std::min(right, kCols - 1);
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) Put(r, c, ch, attr);
}

void Screen::Paint(int top, int left, int bottom, int right, Attr attr) {
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, kRows - 1);
    right = std::min(right, kCols - 1);
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) Put(r, c, cells_[r][c].ch, attr);
}

void Screen::Box(int top, int left, int bottom, int right, std::string_view frame, Attr attr) {
    if (frame.size() < 8 || bottom < top || right < left) return;
    auto f = [&](int i) { return static_cast<std::uint8_t>(frame[i]); };
    if (top == bottom) {  // a one-row box is just its top line
        Repeat(top, left, f(1), right - left + 1, attr);
        return;
    }
    Put(top, left, f(0), attr);
    Repeat(top, left + 1, f(1), right - left - 1, attr);
    Put(top, right, f(2), attr);
    for (int r = top + 1; r < bottom; ++r) {
        Put(r, right, f(3), attr);
        Put(r, left, f(7), attr);
    }
    Put(bottom, right, f(4), attr);
    Repeat(bottom, left + 1, f(5), right - left - 1, attr);
    Put(bottom, left, f(6), attr);
    if (frame.size() >= 9 && bottom - top >= 2 && right - left >= 2)
        Fill(top + 1, left + 1, bottom - 1, right - 1, f(8), attr);
}

ScreenRegion Screen::Save(int top, int left, int bottom, int right) const {
    ScreenRegion region;
    region.top = std::max(top, 0);
    region.left = std::max(left, 0);
    region.bottom = std::min(bottom, kRows - 1);
    region.right = std::min(right, kCols - 1);
    for (int r = region.top; r <= region.bottom; ++r)
        for (int c = region.left; c <= region.right; ++c) region.cells.push_back(cells_[r][c]);
    return region;
}

void Screen::Restore(const ScreenRegion& region) {
    size_t i = 0;
    for (int r = region.top; r <= region.bottom; ++r)
        for (int c = region.left; c <= region.right; ++c, ++i) {
            if (i >= region.cells.size()) return;
            Put(r, c, region.cells[i].ch, region.cells[i].attr);
        }
}

void Screen::SetCursor(int row, int col) {
    cursor_row_ = std::clamp(row, 0, kRows - 1);
    cursor_col_ = std::clamp(col, 0, kCols - 1);
}

std::string Screen::Text(int row, int col, int len) const {
    std::string out;
    if (row < 0 || row >= kRows) return out;
    for (int c = std::max(col, 0); c < std::min(col + len, kCols); ++c)
        out += static_cast<char>(cells_[row][c].ch);
    return out;
}

std::string Screen::DumpUtf8() const {
    std::string out;
    out.reserve(kRows * (kCols * 2 + 1));
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) codepage::AppendGlyphUtf8(out, cells_[r][c].ch);
        out += '\n';
    }
    return out;
}

}  // namespace kestrel::console
