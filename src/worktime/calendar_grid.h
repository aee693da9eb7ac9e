// The grid of the calendar screen: twelve months by 31 days, month m on row
// 9 + m, day n at column 2n + 7, the working days of each month at column
// 73; and the movements of its cursor.
#pragma once

#include "common/session/runtime.h"
#include "worktime/data/calendar_rules.h"

namespace kestrel::worktime {

inline constexpr int kGridFirstRow = 10;  // January
inline constexpr int kWorkingDaysCol = 73;
inline constexpr int kHoursRow = 22;

constexpr int GridRow(int month) {
    return kGridFirstRow + month - 1;
}
constexpr int GridCol(int day) {
    return 2 * day + 7;
}

/// The day the cursor stands on.
struct GridCursor {
    int month = 1;
    int day = 1;
    bool operator==(const GridCursor&) const = default;
};

/// The cursor after a movement key in a calendar of `year`: Left and Right
/// within the month, Up and Down to the month before or after keeping the
/// day where the month has it (else its last day), Home day 1, End the last
/// day, Ctrl+Home 1 January, Ctrl+End 31 December. Other keys leave it.
GridCursor MoveCursor(GridCursor c, int key, int year);

/// The next day: past the end of a month the first of the next, past
/// December 1 January.
GridCursor NextDay(GridCursor c, int year);

/// The headings (day numbers over the grid, month names, "Dni pracy") and
/// every month with its count.
void DrawGrid(common::Runtime& rt, const Calendar& cal);

/// One month's codes and its count of working days; position 29 of a
/// common February shows "-".
void DrawMonth(common::Runtime& rt, const Calendar& cal, int month);

/// The day under the cursor emphasised (or plain again when `on` is false)
/// and the console's cursor put on it.
void DrawCursor(common::Runtime& rt, const Calendar& cal, GridCursor c, bool on);

}  // namespace kestrel::worktime
