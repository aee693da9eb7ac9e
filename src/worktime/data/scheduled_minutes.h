// The nominal minutes of an employee's days by the schedule: the
// employee's own hours of a day (a free day counts nothing), else on a
// working day of the calendar the day's shift (groups of variable time)
// or the group's one shift. Shared by ILNBDPR and the quantity proposed
// by the absence entry.
#pragma once

#include <string_view>

#include "worktime/data/monthly_schedule.h"

namespace kestrel::worktime {

enum class ScheduleFault {
    kNone,
    kNoShift,          // a variable-time group's day without its shift (PKHARZM)
    kNoTemplate,       // the shift's template is missing (PKSZMIA)
    kBadOwnTime,       // the employee's own hours of the day are not valid (PKINGPR)
    kBadTemplateTime,  // the template shift's hours are not valid (PKSZMIA)
};

/// The message of a fault (UTF-8), without the date in front.
const char* ScheduleFaultText(ScheduleFault fault);

struct ScheduledMinutes {
    double minutes = 0;
    ScheduleFault fault = ScheduleFault::kNone;
    int day = 0;  // the day of the fault
};

/// The nominal minutes of days `from`-`to` of `month` of `year` whose
/// calendar codes are `day_codes` (one per day), for the employee of group
/// `group` (`variable`: worked in lettered shifts); stops at the first
/// fault. `counted(day)` false passes a day over.
template <typename Counted>
ScheduledMinutes NominalMinutes(ScheduleTables& t, std::string_view employee,
                                std::string_view group, bool variable, int year, int month,
                                std::string_view day_codes, int from, int to, Counted counted);

/// One day of NominalMinutes: adds the day's minutes to `*out`; false (with
/// the fault set) when the schedule of the day is missing.
bool AddDayMinutes(ScheduleTables& t, std::string_view employee, std::string_view group,
                   bool variable, int year, int month, int day, std::string_view day_codes,
                   ScheduledMinutes* out);

template <typename Counted>
ScheduledMinutes NominalMinutes(ScheduleTables& t, std::string_view employee,
                                std::string_view group, bool variable, int year, int month,
                                std::string_view day_codes, int from, int to, Counted counted) {
    ScheduledMinutes m;
    for (int day = from; day <= to; ++day) {
        if (!counted(day)) continue;
        if (!AddDayMinutes(t, employee, group, variable, year, month, day, day_codes, &m)) break;
    }
    return m;
}

}  // namespace kestrel::worktime
