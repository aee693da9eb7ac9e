#include "insurance/data/employment_periods.h"

#include <gtest/gtest.h>

namespace kestrel::insurance {
namespace {

base::Date D(int y, int m, int d) {
    return {y, m, d};
}

PeriodFacts March(double l, double m) {
    PeriodFacts f;
    f.year = 2026;
    f.month = 3;
    f.hired = D(2020, 1, 1);
    f.numerator = l;
    f.denominator = m;
    return f;
}

TEST(EmploymentPeriods, RunsOfDaysWithOneFraction) {
    struct Case {
        const char* what;
        PeriodFacts facts;
        std::vector<EmploymentPeriod> periods;
    };
    PeriodFacts changed = March(1, 1);
    changed.changes = {{false, D(2026, 3, 15), 2}};  // half time until the 15th
    PeriodFacts both = March(3, 4);
    both.changes = {{true, D(2026, 3, 9), 1},
                    {false, D(2026, 3, 9), 2},
                    {true, D(2026, 2, 28), 7}};  // a change of February does not count
    PeriodFacts hired = March(1, 1);
    hired.hired = D(2026, 3, 10);
    hired.dismissed = D(2026, 3, 20);
    PeriodFacts absent = March(1, 1);
    absent.absences = {{5, 6}, {31, 31}};
    PeriodFacts third = March(1, 3);
    const Case cases[] = {
        {"whole month", March(1, 1), {{D(2026, 3, 1), D(2026, 3, 31), 100}}},
        {"working time changed on the 16th",
         changed,
         {{D(2026, 3, 1), D(2026, 3, 15), 50}, {D(2026, 3, 16), D(2026, 3, 31), 100}}},
        {"both parts changed",
         both,
         {{D(2026, 3, 1), D(2026, 3, 9), 50}, {D(2026, 3, 10), D(2026, 3, 31), 75}}},
        {"hired and dismissed within the month", hired, {{D(2026, 3, 10), D(2026, 3, 20), 100}}},
        {"absences interrupt",
         absent,
         {{D(2026, 3, 1), D(2026, 3, 4), 100}, {D(2026, 3, 7), D(2026, 3, 30), 100}}},
        {"a third rounds to 33", third, {{D(2026, 3, 1), D(2026, 3, 31), 33}}},
        {"a zero denominator is not employed", March(1, 0), {}},
        {"a zero numerator is not employed", March(0, 1), {}},
        {"above 999 is not employed", March(11, 1), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(EmploymentPeriods(c.facts), c.periods) << c.what;
}

}  // namespace
}  // namespace kestrel::insurance
