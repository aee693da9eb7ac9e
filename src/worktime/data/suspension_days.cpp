#include "worktime/data/suspension_days.h"

namespace kestrel::worktime {
namespace {

int MonthNumber(int year, int month) {
    return year * 12 + month - 1;
}

}  // namespace

std::optional<DayRange> SuspendedDays(const base::Date& start, const base::Date& last, int year,
                                      int month) {
    const int length = base::DaysInMonth(year, month);
    if (start.empty() || length == 0) return std::nullopt;
    if (!last.empty() && base::JulianDay(last) < base::JulianDay(start)) return std::nullopt;
    const int wanted = MonthNumber(year, month);
    const int began = MonthNumber(start.year, start.month);
    if (began > wanted) return std::nullopt;
    DayRange days{1, length};
    if (began == wanted) days.from = start.day;
    if (!last.empty()) {
        const int ended = MonthNumber(last.year, last.month);
        if (ended < wanted) return std::nullopt;
        if (ended == wanted) days.to = last.day;
    }
    return days;
}

}  // namespace kestrel::worktime
