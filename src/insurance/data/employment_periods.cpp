#include "insurance/data/employment_periods.h"

#include <cmath>

#include "platform/base/rounding.h"

namespace kestrel::insurance {
namespace {

// The value of one fraction part on `day`: the earliest change of the
// month dated on or after the day, else the register's value.
double InForce(const PeriodFacts& f, bool numerator, int32_t day) {
    double value = numerator ? f.numerator : f.denominator;
    int32_t best = INT32_MAX;
    for (const FractionChange& c : f.changes) {
        if (c.numerator != numerator || c.until.empty()) continue;
        if (c.until.year != f.year || c.until.month != f.month) continue;
        const int32_t until = base::JulianDay(c.until);
        if (until >= day && until < best) {
            best = until;
            value = c.value;
        }
    }
    return value;
}

}  // namespace

std::vector<EmploymentPeriod> EmploymentPeriods(const PeriodFacts& f) {
    std::vector<EmploymentPeriod> out;
    const int days = base::DaysInMonth(f.year, f.month);
    const int32_t hired = f.hired.empty() ? INT32_MIN : base::JulianDay(f.hired);
    const int32_t dismissed = f.dismissed.empty() ? INT32_MAX : base::JulianDay(f.dismissed);
    for (int d = 1; d <= days; ++d) {
        const base::Date date{f.year, f.month, d};
        const int32_t day = base::JulianDay(date);
        int value = 0;
        bool employed = hired <= day && day <= dismissed;
        for (const AbsenceDays& a : f.absences)
            if (a.first <= d && d <= a.last) employed = false;
        if (employed) {
            const double m = InForce(f, false, day);
            const double share = m == 0 ? 0 : base::YRound(InForce(f, true, day) / m, 2) * 100;
            value = static_cast<int>(std::lround(share));
            if (value <= 0 || value > 999) employed = false;
        }
        if (!employed) continue;
        if (!out.empty() && out.back().value == value &&
            base::JulianDay(out.back().to) + 1 == day) {
            out.back().to = date;
        } else {
            out.push_back({date, date, value});
        }
    }
    return out;
}

}  // namespace kestrel::insurance
