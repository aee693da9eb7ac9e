// The age rules of the zeroing arrays TBZK55M60 and TBZ26.
#include "payroll/data/recalculation.h"

namespace kestrel::payroll {

bool OverRetirementAge(char sex, std::string_view birth, int year, int month) {
    const int limit = sex == 'M' ? 60 : sex == 'K' ? 55 : -1;
    if (limit < 0) return false;
    const base::Date born = base::DateOfDbfText(birth);
    if (born.empty() || !base::IsValidDate(born)) return false;
    // The day before the birth date decides the month: a man born on the
    // first of a month has finished his years in the month before.
    const base::Date before = base::AddDays(born, -1);
    if (before.empty()) return false;
    const int years = year - before.year;
    return years > limit || (years == limit && month > before.month);
}

bool UnderTwentySix(std::string_view birth, const base::Date& d) {
    if (d.empty() || d.year > 2050) return false;
    if (d.year < 2019 || (d.year == 2019 && d.month < 8)) return false;
    const base::Date born = base::DateOfDbfText(birth);
    if (born.empty() || !base::IsValidDate(born) || born.year + 13 > d.year) return false;
    const base::Date birthday = base::AddYears(born, 26);
    return base::JulianDay(birthday) > base::JulianDay(d);
}

}  // namespace kestrel::payroll
