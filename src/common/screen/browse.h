// Browse windows: a column view of records or rows, with navigation done
// here and everything else (accepting, searching, adding, deleting) left
// to a key handler supplied by the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/session/runtime.h"

namespace kestrel::common {

/// What a browse moves over: the records of a work area or the rows of a
/// list. The source has one current position; the browse moves it.
class BrowseSource {
  public:
    virtual ~BrowseSource() = default;
    virtual void GoTop() = 0;
    virtual void GoBottom() = 0;
    /// Moves up to `n` positions (back when negative), stopping at the
    /// first and the last; returns how many it moved (signed).
    virtual int Skip(int n) = 0;
    virtual bool Empty() const = 0;
    /// Identifies the current position (record number, row number), so the
    /// browse can tell that a handler moved it.
    virtual long Position() const = 0;
};

/// The rows 1 … count of an in-memory list; `*current` is the current row
/// (QRMTBWSK), which the caller sets before and reads after the browse.
class RowListSource : public BrowseSource {
  public:
    RowListSource(int* current, int count) : current_(current), count_(count) {
        if (*current_ < 1) *current_ = 1;
        if (*current_ > count_) *current_ = count_ < 1 ? 1 : count_;
    }
    void GoTop() override { *current_ = 1; }
    void GoBottom() override { *current_ = count_ < 1 ? 1 : count_; }
    int Skip(int n) override;
    bool Empty() const override { return count_ < 1; }
    long Position() const override { return *current_; }
    void set_count(int count) { count_ = count; }

  private:
    int* current_;
    int count_;
};

struct BrowseColumn {
    std::string heading;                 // CP852
    int width = 0;                       // 0 = the heading's width
    std::function<std::string()> value;  // the cell of the current position, CP852
};

class Browse;

/// Handler results.
enum BrowseResult { kBrowseClose = 0, kBrowseRedrawRow = 1, kBrowseRedrawAll = 2 };
/// Handler modes: 0 after a navigation key, 4 after any other key (the key
/// is the console's last key).
inline constexpr int kBrowseIdle = 0;
inline constexpr int kBrowseException = 4;
using BrowseHandler = std::function<int(int mode, int column, Browse& browse)>;

class Browse {
  public:
    /// A browse inside rows top…bottom, columns left…right: the first row
    /// holds the headings, the second their separator "─┬─", the rest data.
    Browse(Runtime& rt, int top, int left, int bottom, int right, std::vector<BrowseColumn> columns,
           BrowseSource& source);

    /// Columns kept in view when panning (counted from the left).
    void set_freeze(int n) { freeze_ = n; }
    /// Colours: standard for cells, enhanced for the current cell.
    void set_colour(const std::string& spec) { colour_spec_ = spec; }
    /// Table browses redraw everything when the handler moved the record.
    void set_redraw_on_move(bool on) { redraw_on_move_ = on; }
    /// Rows for which `marked` (asked with the source on the row) is true
    /// are drawn in the fifth colour pair instead of the first
    /// (locked records, for example); the current cell stays enhanced.
    void set_row_marked(std::function<bool()> marked) { marked_ = std::move(marked); }

    /// Runs the browse until the handler answers kBrowseClose.
    void Run(const BrowseHandler& handler);

    BrowseSource& source() { return source_; }
    int column() const { return column_; }
    int row_pos() const { return row_pos_; }
    int data_rows() const { return bottom_ - top_ - 1; }
    /// The screen row of the current position.
    int current_row() const { return top_ + 1 + row_pos_; }
    /// The screen column where column `column` (0-based) starts, -1 when it
    /// is out of view; the width shown there in *shown.
    int ColumnX(int column, int* shown) const;
    /// True while every row is being redrawn (the standard table skip uses it).
    bool full_redraw() const { return full_redraw_; }
    void RefreshAll() { pending_ = kAll; }
    void RefreshCurrent() {
        if (pending_ == kNone) pending_ = kCurrent;
    }

  private:
    enum Pending { kNone, kCurrent, kAll };

    bool Navigate(int key);  // true when the key was a navigation key
    /// Draws what is pending; false when a key interrupted it.
    bool Stabilize(bool interruptible);
    void DrawHeadings();
    void DrawRow(int screen_row, bool blank, bool current);
    std::vector<int> VisibleColumns() const;
    void ScrollColumnIntoView();

    Runtime& rt_;
    int top_, left_, bottom_, right_;
    std::vector<BrowseColumn> columns_;
    BrowseSource& source_;
    std::string colour_spec_;
    int freeze_ = 0;
    int column_ = 0;       // current column (0-based)
    int left_column_ = 0;  // first unfrozen column in view
    int row_pos_ = 1;      // current row in the window (1-based)
    bool redraw_on_move_ = false;
    std::function<bool()> marked_;
    bool full_redraw_ = false;
    Pending pending_ = kAll;
    bool headings_drawn_ = false;
};

/// QRMTBE: browses rows 1 … count of a list; `*current` is QRMTBWSK.
void BrowseList(Runtime& rt, int top, int left, int bottom, int right,
                std::vector<BrowseColumn> columns, const BrowseHandler& handler, int* current,
                int count, int freeze = 0, const std::function<void(Browse&)>& setup = nullptr);

}  // namespace kestrel::common
