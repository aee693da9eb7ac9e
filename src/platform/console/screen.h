// The 80x25 text screen: a grid of cells, each a CP852 byte and an attribute.
//
// Business code writes here; only a backend turns the grid into terminal
// output. Every change marks its rows damaged so that a backend repaints
// only what changed. Coordinates are 0-based (row 0-24, column 0-79);
// writes are clipped at the screen's edges.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console/colour.h"

namespace kestrel::console {

inline constexpr int kRows = 25;
inline constexpr int kCols = 80;

struct Cell {
    std::uint8_t ch = ' ';
    Attr attr = MakeAttr(7, 0);

    bool operator==(const Cell&) const = default;
};

/// Frames in the order top-left, top, top-right, right, bottom-right,
/// bottom, bottom-left, left (CP852 box characters).
inline constexpr std::string_view kFrameSingle = "\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3";
inline constexpr std::string_view kFrameDouble = "\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA";

enum class CursorShape { kNone, kUnderline, kHalfBlock, kBlock };

/// A rectangle of cells taken from the screen, to be put back later.
struct ScreenRegion {
    int top = 0, left = 0, bottom = -1, right = -1;
    std::vector<Cell> cells;  // row by row
};

class Screen {
  public:
    Screen();

    const Cell& At(int row, int col) const { return cells_[row][col]; }

    /// Writes CP852 text from (row, col); returns the column after the text.
    int Write(int row, int col, std::string_view text, Attr attr);
    /// Writes one byte `count` times.
    void Repeat(int row, int col, std::uint8_t ch, int count, Attr attr);
    /// Fills a rectangle (inclusive bounds) with one byte.
    void Fill(int top, int left, int bottom, int right, std::uint8_t ch, Attr attr);
    /// Clears a rectangle to blanks.
    void Clear(int top, int left, int bottom, int right, Attr attr) {
        Fill(top, left, bottom, right, ' ', attr);
    }
    /// Draws a frame with the eight characters of `frame` (see kFrameSingle);
    /// a ninth character, when given, fills the inside.
    void Box(int top, int left, int bottom, int right, std::string_view frame, Attr attr);
    /// Changes the attribute of cells without touching their characters.
    void Paint(int top, int left, int bottom, int right, Attr attr);

    ScreenRegion Save(int top, int left, int bottom, int right) const;
    void Restore(const ScreenRegion& region);
    ScreenRegion SaveAll() const { return Save(0, 0, kRows - 1, kCols - 1); }

    // Cursor.
    void SetCursor(int row, int col);
    int CursorRow() const { return cursor_row_; }
    int CursorCol() const { return cursor_col_; }
    void SetCursorShape(CursorShape shape) { cursor_shape_ = shape; }
    CursorShape cursor_shape() const { return cursor_shape_; }
    bool CursorVisible() const { return cursor_shape_ != CursorShape::kNone; }

    /// The CP852 bytes of a row, or of `len` cells from (row, col).
    std::string RowText(int row) const { return Text(row, 0, kCols); }
    std::string Text(int row, int col, int len) const;
    /// The whole screen as 25 lines of 80 characters in UTF-8, each ended by "\n".
    std::string DumpUtf8() const;

    // Damage tracking, for backends.
    bool RowDamaged(int row) const { return damaged_[row]; }
    bool AnyDamage() const { return damaged_.any(); }
    void ClearDamage() { damaged_.reset(); }
    void DamageAll() { damaged_.set(); }

  private:
    static bool Inside(int row, int col) {
        return row >= 0 && row < kRows && col >= 0 && col < kCols;
    }
    void Put(int row, int col, std::uint8_t ch, Attr attr);

    std::array<std::array<Cell, kCols>, kRows> cells_;
    std::bitset<kRows> damaged_;
    int cursor_row_ = 0;
    int cursor_col_ = 0;
    CursorShape cursor_shape_ = CursorShape::kUnderline;
};

}  // namespace kestrel::console
