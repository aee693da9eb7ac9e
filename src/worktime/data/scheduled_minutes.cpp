#include "worktime/data/scheduled_minutes.h"

#include <cstdio>
#include <string>

#include "worktime/data/calendar_rules.h"

namespace kestrel::worktime {

bool AddDayMinutes(ScheduleTables& t, std::string_view employee, std::string_view group,
                   bool variable, int year, int month, int day, std::string_view day_codes,
                   ScheduledMinutes* out) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", year, month, day);
    if (const std::optional<IndividualDay> own = ReadIndividualDay(t, employee, date)) {
        if (own->free) return true;
        const SegmentTime time = MeasureSegments(own->segments);
        if (!time.valid) {
            out->fault = ScheduleFault::kBadOwnTime;
            out->day = day;
            return false;
        }
        out->minutes += time.nominal;
        return true;
    }
    if (static_cast<size_t>(day) > day_codes.size() ||
        day_codes[static_cast<size_t>(day - 1)] != kWorkingDay)
        return true;
    char shift = ' ';
    if (variable) {
        shift = ShiftOf(t, employee, date);
        if (shift == ' ') {
            out->fault = ScheduleFault::kNoShift;
            out->day = day;
            return false;
        }
    }
    const std::optional<SegmentRecord> pattern = TemplateShift(t, group, shift);
    if (!pattern) {
        out->fault = ScheduleFault::kNoTemplate;
        out->day = day;
        return false;
    }
    const SegmentTime time = MeasureSegments(*pattern);
    if (!time.valid) {
        out->fault = ScheduleFault::kBadTemplateTime;
        out->day = day;
        return false;
    }
    out->minutes += time.nominal;
    return true;
}

const char* ScheduleFaultText(ScheduleFault fault) {
    switch (fault) {
        case ScheduleFault::kNone:
            return "";
        case ScheduleFault::kNoShift:
            return "Brak zdefiniowanej \"zmiany\" (PKHARZM)";
        case ScheduleFault::kNoTemplate:
            return "Brak wzorca czasu pracy (PKSZMIA)";
        case ScheduleFault::kBadOwnTime:
            return "Błędny czas pracy (PKINGPR)";
        case ScheduleFault::kBadTemplateTime:
            return "Błędny czas pracy (PKSZMIA)";
    }
    return "";
}

}  // namespace kestrel::worktime
