// The calendars of the groups (PKKALEN, one record per year and group, key
// year as four characters + group) and the calendar groups (PKGRUPY).
//
// A record holds ROK_ (N4), GRUPA_ (C2) and MC_01 ... MC_12, one character
// per day; the fields are 31, 29, 31, 30 ... characters wide, and a month
// shorter than its field leaves the rest blank (February of a common year
// stores 28 characters).
//
// Writes go under record locks of the table layer; a failing read or write
// abandons with "Błąd odczytu: " or "Błąd zapisu: " and the table's name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"
#include "worktime/data/calendar_rules.h"

namespace kestrel::worktime {

/// PKKALEN with its index by year and group, opened through `tables`
/// unless open there already.
dbf::WorkArea& OpenCalendars(common::Tables& tables);

/// The index key: the year as four characters and the group as two.
std::string CalendarKey(int year, std::string_view group);

/// Stands `kalen` on the calendar of `year` and `group`; false (at the end
/// of the table) when there is none.
bool SeekCalendar(dbf::WorkArea& kalen, int year, std::string_view group);

/// The calendar of the current record, each month cut to its length.
Calendar ReadCalendar(dbf::WorkArea& kalen);

/// Writes all twelve months of `cal`: over its record when there is one,
/// else into a record of that key deleted before, else into a new one.
void WriteCalendar(common::Tables& tables, dbf::WorkArea& kalen, const Calendar& cal);

/// Deletes the calendar of `year` and `group`; false when there was none.
bool DeleteCalendar(common::Tables& tables, dbf::WorkArea& kalen, int year, std::string_view group);

/// A record of PKGRUPY.
struct CalendarGroup {
    std::string code;            // two characters
    std::string name;            // CP852, as stored
    bool variable_time = false;  // ZMIENNY_CZ: worked in lettered shifts
};

/// The group `code` (padded to two characters) of PKGRUPY, opened through
/// `tables` unless open there; nothing when the group does not exist.
std::optional<CalendarGroup> FindCalendarGroup(common::Tables& tables, std::string_view code);

}  // namespace kestrel::worktime
