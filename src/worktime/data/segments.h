// The time of a record of up to three working-time segments (a shift of a
// group in PKSZMIA, an employee's own hours of a day in PKINGPR): checks,
// overlaps across midnight, and the minutes by type of work.
#pragma once

#include <array>
#include <string>

namespace kestrel::worktime {

/// One segment: from hour:minute to hour:minute, and its type of work ("" or
/// two blanks for nominal time, "01" for overtime, anything else for other
/// time).
struct Segment {
    int from_hour = 0;
    int from_minute = 0;
    int to_hour = 0;
    int to_minute = 0;
    std::string type;
};

/// The segments of one record; the first is always in use, the second and
/// third when their flags (ZAKRES_2, ZAKRES_3) are set.
struct SegmentRecord {
    std::array<Segment, 3> segments;
    std::array<bool, 3> used = {true, false, false};
};

/// The minutes of a record by type of work. `valid` is false when an hour
/// of a segment in use lies outside 0-23 or a minute outside 0-59, or when
/// two segments in use overlap; the minutes are then 0.
struct SegmentTime {
    bool valid = false;
    int nominal = 0;   // segments with a blank type (CZASNOMIN)
    int overtime = 0;  // type "01" (CZASNADLI)
    int other = 0;     // any other type (CZASPOZOS)
    int total() const { return nominal + overtime + other; }
};

/// A segment ending at or before its start crosses midnight (it ends the next
/// day). Segments are compared on a line of two days, so 22:00-06:00 and
/// 05:00-07:00 overlap.
SegmentTime MeasureSegments(const SegmentRecord& record);

/// CZASPR379's text (CP852): the total as "HH:MM" (two-digit hours: three
/// segments that do not overlap add up to at most 24 hours), or "BŁĄD!" for an
/// invalid record.
std::string TotalText(const SegmentTime& time);

}  // namespace kestrel::worktime
