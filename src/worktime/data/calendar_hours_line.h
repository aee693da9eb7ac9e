// The working hours of a calendar group as the calendar screen shows them
// under the grid, read from the shifts of the group (PKSZMIA, key group +
// shift letter).
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/segments.h"

namespace kestrel::worktime {

/// A shift of a group: its letter (a blank for the single time of a group
/// with fixed working time) and its segments in use.
struct GroupShift {
    char letter = ' ';
    std::vector<Segment> segments;
};

/// The shifts of `group` in the order of their letters, PKSZMIA opened
/// through `tables` unless open there.
std::vector<GroupShift> ReadGroupShifts(common::Tables& tables, std::string_view group);

/// One segment as "HH.MM-HH.MM", followed by a blank and the type of work
/// when it has one.
std::string SegmentText(const Segment& s);

/// The line (CP852): for a group with fixed working time " Czas pracy: "
/// and the segments of its blank shift joined by ", "; for a group with
/// variable working time every shift as its letter, ": " and its segments,
/// the shifts joined by ", ".
std::string HoursLine(const CalendarGroup& group, const std::vector<GroupShift>& shifts);

}  // namespace kestrel::worktime
