// The data of the monthly schedule of an employee: the calendar of the
// employee's group, the template shifts of the group (PKSZMIA), the shift
// letter of a day (PKHARZM) and the employee's own hours of a day
// (PKINGPR).
//
// Dates are stored texts "YYYYMMDD". Lookups and writes move the record of
// the area they use; writes lock the record through the table layer, which
// abandons when a lock or a write cannot be done.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/segments.h"

namespace kestrel::worktime {

/// The tables of the schedule, opened through `tables` (each under its own
/// name, closing an area open under it) with their index files, the first
/// controlling: PKGRUPY1, PKKALEN1, PKSZMIA1, PKHARZM1 with PKHARZM2,
/// PKINGPR1.
struct ScheduleTables {
    explicit ScheduleTables(common::Tables& tables);
    /// The same tables taken as the run holds them open when it does (a
    /// formula function evaluated under the schedule dialog), each ordered
    /// by its first index file.
    struct Shared {};
    ScheduleTables(common::Tables& tables, Shared);

    common::Tables& tables;
    dbf::WorkArea& grupy;
    dbf::WorkArea& kalen;
    dbf::WorkArea& szmia;
    dbf::WorkArea& harzm;
    dbf::WorkArea& ingpr;
};

/// The group `code` (padded to two characters); nullopt when PKGRUPY lacks it.
std::optional<CalendarGroup> FindGroup(ScheduleTables& t, std::string_view code);

/// The day codes of a month of the group's calendar (PKKALEN, MC_01 …
/// MC_12), one character per day of the month (" " a working day, "N", "S",
/// "W" free days); nullopt when the calendar of that year and group is missing.
std::optional<std::string> CalendarDays(ScheduleTables& t, int year, std::string_view group,
                                        int month);

/// The template shift `shift` (" " for the one shift of a fixed-time group)
/// of the group; nullopt when PKSZMIA lacks it.
std::optional<SegmentRecord> TemplateShift(ScheduleTables& t, std::string_view group, char shift);

/// The shift letter of the employee on a day (PKHARZM); ' ' when none is set.
char ShiftOf(ScheduleTables& t, std::string_view employee, std::string_view date);

/// Sets the shift letter of the employee on a day, with the employee's
/// group; a blank letter removes the day's record.
void SetShift(ScheduleTables& t, std::string_view employee, std::string_view date,
              std::string_view group, char shift);

/// The employee's own schedule of a day (PKINGPR).
struct IndividualDay {
    bool free = false;  // WOLNE_: a free day, the hours do not count
    SegmentRecord segments;
};

/// The employee's own schedule of the day; nullopt when the day follows the
/// template.
std::optional<IndividualDay> ReadIndividualDay(ScheduleTables& t, std::string_view employee,
                                               std::string_view date);

/// Writes the employee's own schedule of the day: the record of the day is
/// rewritten, or one is made (reusing a deleted record of the key).
void WriteIndividualDay(ScheduleTables& t, std::string_view employee, std::string_view date,
                        const IndividualDay& day);

/// Returns the day to the template: deletes its record; false when it had none.
bool DeleteIndividualDay(ScheduleTables& t, std::string_view employee, std::string_view date);

/// Deletes the employee's own schedule of every day of the month; returns
/// how many days had one.
int DeleteIndividualMonth(ScheduleTables& t, std::string_view employee, int year, int month);

}  // namespace kestrel::worktime
