#include "common/screen/browse.h"

#include <algorithm>

#include "common/screen/messages.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

constexpr const char* kColumnSeparator = " \xB3 ";  // " │ "
constexpr int kSeparatorWidth = 3;

std::string Fit(std::string s, int width) {
    s.resize(static_cast<size_t>(std::max(width, 0)), ' ');
    return s;
}

}  // namespace

int RowListSource::Skip(int n) {
    if (count_ < 1) return 0;
    int target = std::clamp(*current_ + n, 1, count_);
    int moved = target - *current_;
    *current_ = target;
    return moved;
}

Browse::Browse(Runtime& rt, int top, int left, int bottom, int right,
               std::vector<BrowseColumn> columns, BrowseSource& source)
    : rt_(rt),
      top_(top),
      left_(left),
      bottom_(bottom),
      right_(right),
      columns_(std::move(columns)),
      source_(source),
      colour_spec_(rt.colours().ycow2) {
    for (auto& c : columns_)
        if (c.width <= 0) c.width = std::max(1, static_cast<int>(c.heading.size()));
}

std::vector<int> Browse::VisibleColumns() const {
    std::vector<int> visible;
    int room = right_ - left_ + 1;
    auto take = [&](int i) {
        int need = columns_[static_cast<size_t>(i)].width + (visible.empty() ? 0 : kSeparatorWidth);
        if (need > room && !visible.empty()) return false;
        visible.push_back(i);
        room -= need;
        return true;
    };
    const int n = static_cast<int>(columns_.size());
    for (int i = 0; i < std::min(freeze_, n); ++i)
        if (!take(i)) return visible;
    for (int i = std::max(left_column_, freeze_); i < n; ++i)
        if (!take(i)) break;
    return visible;
}

int Browse::ColumnX(int column, int* shown) const {
    int col = left_;
    bool first = true;
    for (int i : VisibleColumns()) {
        if (!first) col += kSeparatorWidth;
        first = false;
        const int width = std::min(columns_[static_cast<size_t>(i)].width, right_ - col + 1);
        if (i == column) {
            *shown = width;
            return col;
        }
        col += width;
    }
    return -1;
}

void Browse::ScrollColumnIntoView() {
    const int n = static_cast<int>(columns_.size());
    column_ = std::clamp(column_, 0, std::max(n - 1, 0));
    if (column_ < freeze_) return;
    if (column_ < left_column_) left_column_ = column_;
    for (;;) {
        auto v = VisibleColumns();
        if (std::find(v.begin(), v.end(), column_) != v.end() || left_column_ >= column_) break;
        ++left_column_;
    }
}

void Browse::DrawHeadings() {
    auto& s = rt_.screen();
    const console::ColourSpec spec = *console::ParseColourSpec(colour_spec_);
    const int width = right_ - left_ + 1;
    std::string heads;
    std::string line;
    for (int i : VisibleColumns()) {
        if (!heads.empty()) {
            heads += kColumnSeparator;
            line += "\xC4\xC2\xC4";  // ─┬─
        }
        heads +=
            Fit(columns_[static_cast<size_t>(i)].heading, columns_[static_cast<size_t>(i)].width);
        line += std::string(static_cast<size_t>(columns_[static_cast<size_t>(i)].width), '\xC4');
    }
    s.Write(top_, left_, Fit(heads, width), spec.standard);
    s.Write(top_ + 1, left_, Fit(line, width), spec.standard);
    headings_drawn_ = true;
}

void Browse::DrawRow(int screen_row, bool blank, bool current) {
    auto& s = rt_.screen();
    const console::ColourSpec spec = *console::ParseColourSpec(colour_spec_);
    int col = left_;
    bool first = true;
    const console::Attr plain = !blank && marked_ && marked_() ? spec.unselected : spec.standard;
    for (int i : VisibleColumns()) {
        if (!first) col = s.Write(screen_row, col, kColumnSeparator, plain);
        first = false;
        const BrowseColumn& c = columns_[static_cast<size_t>(i)];
        std::string cell = blank ? std::string() : (c.value ? c.value() : std::string());
        const console::Attr attr = current && i == column_ ? spec.enhanced : plain;
        col = s.Write(screen_row, col, Fit(cell, std::min(c.width, right_ - col + 1)), attr);
    }
    if (col <= right_) s.Clear(screen_row, col, screen_row, right_, plain);
}

bool Browse::Stabilize(bool interruptible) {
    if (!headings_drawn_) DrawHeadings();
    const int first_data = top_ + 2;
    if (pending_ == kCurrent) {
        DrawRow(first_data + row_pos_ - 1, source_.Empty(), true);
        pending_ = kNone;
        return true;
    }
    if (pending_ != kAll) return true;
    full_redraw_ = true;
    // The current position stays at row_pos_ when there are rows enough above
    // it; near the end of the source it moves down so that the window stays
    // full (after an insert of the last key the records above it are shown).
    const bool empty = source_.Empty();
    if (!empty && row_pos_ < data_rows()) {
        const int wanted = data_rows() - row_pos_;
        const int ahead = source_.Skip(wanted);
        source_.Skip(-ahead);
        if (ahead < wanted) row_pos_ = data_rows() - ahead;
    }
    const int back = empty ? 0 : -source_.Skip(-(row_pos_ - 1));
    row_pos_ = back + 1;
    int offset = 0;  // how far the source stands past the first row shown
    bool have = !empty;
    bool interrupted = false;
    for (int r = 0; r < data_rows(); ++r) {
        if (r > 0 && have) {
            if (source_.Skip(1) == 1)
                ++offset;
            else
                have = false;
        }
        DrawRow(first_data + r, !have, have && r == row_pos_ - 1);
        if (interruptible && r + 1 < data_rows() && rt_.console().NextKey() != key::kNone) {
            interrupted = true;
            break;
        }
    }
    source_.Skip((row_pos_ - 1) - offset);
    full_redraw_ = false;
    if (!interrupted) pending_ = kNone;
    return !interrupted;
}

bool Browse::Navigate(int k) {
    const int rows = data_rows();
    const int n = static_cast<int>(columns_.size());
    auto move_rows = [&](int count) {
        const int moved = source_.Skip(count);
        if (moved == 0) return;
        const int wanted = row_pos_ + moved;
        if (wanted >= 1 && wanted <= rows && pending_ != kAll) {
            // Only the two rows change: the old one loses the bar (drawn
            // with its own record), the new one gets it.
            source_.Skip(-moved);
            DrawRow(top_ + 2 + row_pos_ - 1, false, false);
            source_.Skip(moved);
            row_pos_ = wanted;
            pending_ = std::max(pending_, kCurrent);
        } else {
            row_pos_ = std::clamp(wanted, 1, rows);
            pending_ = kAll;
        }
    };
    switch (k) {
        case key::kDown:
            move_rows(1);
            return true;
        case key::kUp:
            move_rows(-1);
            return true;
        case key::kPgDn:
        case key::kPgUp: {
            // A whole page keeps the bar where it was; a short one moves it.
            const int moved = source_.Skip(k == key::kPgDn ? rows : -rows);
            if (moved != rows && moved != -rows) row_pos_ = std::clamp(row_pos_ + moved, 1, rows);
            pending_ = kAll;
            return true;
        }
        case key::kCtrlPgUp:
            source_.GoTop();
            row_pos_ = 1;
            pending_ = kAll;
            return true;
        case key::kCtrlPgDn:
            source_.GoBottom();
            row_pos_ = rows;
            pending_ = kAll;
            return true;
        case key::kLeft:
        case key::kRight:
        case key::kHome:
        case key::kEnd:
        case key::kCtrlLeft:
        case key::kCtrlRight:
        case key::kCtrlHome:
        case key::kCtrlEnd:
            break;
        default:
            return false;
    }
    auto visible = VisibleColumns();
    const int old_left = left_column_;
    if (k == key::kLeft && column_ > 0) --column_;
    if (k == key::kRight && column_ < n - 1) ++column_;
    if (k == key::kHome && !visible.empty()) column_ = visible.front();
    if (k == key::kEnd && !visible.empty()) column_ = visible.back();
    if (k == key::kCtrlLeft && left_column_ > freeze_) column_ = --left_column_;
    if (k == key::kCtrlRight && !visible.empty() && visible.back() < n - 1) {
        ++left_column_;
        column_ = std::max(column_, left_column_);
    }
    if (k == key::kCtrlHome) column_ = left_column_ = 0;
    if (k == key::kCtrlEnd) column_ = n - 1;
    ScrollColumnIntoView();
    if (left_column_ != old_left) headings_drawn_ = false;
    pending_ = kAll;
    return true;
}

void Browse::Run(const BrowseHandler& handler) {
    auto& s = rt_.screen();
    const console::CursorShape saved = s.cursor_shape();
    s.SetCursorShape(console::CursorShape::kNone);
    ScrollColumnIntoView();
    pending_ = kAll;
    headings_drawn_ = false;
    Stabilize(false);
    for (;;) {
        const int k = Qrminkey(rt_);
        int mode = kBrowseException;
        if (Navigate(k)) {
            mode = kBrowseIdle;
            if (!Stabilize(true)) continue;  // more keys are waiting: no handler yet
        } else {
            Stabilize(false);
        }
        const long before = source_.Position();
        const int result = handler(mode, column_ + 1, *this);
        if (result == kBrowseClose) break;
        if (!headings_drawn_) pending_ = kAll;
        if (result == kBrowseRedrawAll || (redraw_on_move_ && source_.Position() != before))
            pending_ = kAll;
        else
            RefreshCurrent();
        Stabilize(false);
    }
    s.SetCursorShape(saved == console::CursorShape::kNone ? console::CursorShape::kUnderline
                                                          : saved);
}

void BrowseList(Runtime& rt, int top, int left, int bottom, int right,
                std::vector<BrowseColumn> columns, const BrowseHandler& handler, int* current,
                int count, int freeze, const std::function<void(Browse&)>& setup) {
    RowListSource source(current, count);
    Browse browse(rt, top, left, bottom, right, std::move(columns), source);
    browse.set_freeze(freeze);
    if (setup) setup(browse);
    browse.Run(handler);
}

}  // namespace kestrel::common
