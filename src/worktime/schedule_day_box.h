// The box of one day of the monthly schedule: what the day follows (the
// template of the group or the employee's own hours), its shift letter,
// its segments or why it is free, and the read of the employee's own hours.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "worktime/data/segments.h"

namespace kestrel::worktime {

// The box: rows 7-18, columns 29-77; the key legends take rows 19-21 below it.
inline constexpr int kBoxTop = 7;
inline constexpr int kBoxLeft = 29;
inline constexpr int kBoxBottom = 18;
inline constexpr int kBoxRight = 77;

/// What the box shows of a day.
struct DayBox {
    bool individual = false;   // the employee's own hours (else the template's)
    bool shift_shown = false;  // a variable-time group: "Zmiana:" with `shift`
    char shift = ' ';
    std::string free_text;                  // UTF-8 "<dzień wolny …>", or "" for a working day
    std::optional<SegmentRecord> segments;  // none: the group has no such shift
};

/// Draws the box of a day (its title says whose hours they are).
void DrawDayBox(common::Runtime& rt, const DayBox& day);

/// Reads the employee's own hours of a day in the box, starting from
/// `*segments`: "Godziny pracy (Od-Do):" (hours 0-23, minutes 0-59),
/// "Typ pracy:" (blank or a type of PKSTYPP; F3 picks one), then "Drugi
/// segment czasu pracy?:" and "Trzeci segment czasu pracy?:" with their
/// hours. Segments that overlap show "BŁĄD!" as the total with a message and
/// the read starts again. Returns false on Esc (*segments unchanged).
bool ReadDayHours(common::Runtime& rt, common::Tables& tables, SegmentRecord* segments);

/// The "Zmiana:" question of a variable-time group's day: an upper-case
/// letter, or blank for none, which `exists` must accept (else "Brak takiej
/// zmiany we wzorcu" and the question again). Returns false on Esc.
bool ReadShift(common::Runtime& rt, char* shift, const std::function<bool(char)>& exists);

}  // namespace kestrel::worktime
