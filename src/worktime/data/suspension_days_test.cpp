#include "worktime/data/suspension_days.h"

#include <gtest/gtest.h>

namespace kestrel::worktime {
namespace {

struct Case {
    const char* what;
    base::Date start, last;
    int year, month;
    std::optional<DayRange> days;
};

TEST(SuspendedDays, CoverTheMonthPartThatTheSuspensionLasts) {
    const Case cases[] = {
        // 20 March with last day 10 April: days 20-31, then 1-10.
        {"across a month end, first month",
         {2026, 3, 20},
         {2026, 4, 10},
         2026,
         3,
         DayRange{20, 31}},
        {"across a month end, second month",
         {2026, 3, 20},
         {2026, 4, 10},
         2026,
         4,
         DayRange{1, 10}},
        {"from the 10th of the month before to the 5th",
         {2026, 2, 10},
         {2026, 3, 5},
         2026,
         3,
         DayRange{1, 5}},
        {"still lasting, begun earlier", {2025, 11, 3}, {}, 2026, 2, DayRange{1, 28}},
        {"still lasting, begun in the month", {2026, 4, 30}, {}, 2026, 4, DayRange{30, 30}},
        {"within one month", {2026, 6, 2}, {2026, 6, 9}, 2026, 6, DayRange{2, 9}},
        {"one day", {2026, 6, 2}, {2026, 6, 2}, 2026, 6, DayRange{2, 2}},
        {"across a year end", {2025, 12, 15}, {2026, 1, 6}, 2026, 1, DayRange{1, 6}},
        {"leap February", {2024, 1, 1}, {}, 2024, 2, DayRange{1, 29}},
        {"begins after the month", {2026, 4, 1}, {}, 2026, 3, std::nullopt},
        {"ended the month before", {2026, 1, 5}, {2026, 2, 28}, 2026, 3, std::nullopt},
        {"last day before the start", {2026, 3, 20}, {2026, 3, 10}, 2026, 3, std::nullopt},
        {"no start", {}, {}, 2026, 3, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SuspendedDays(c.start, c.last, c.year, c.month), c.days) << c.what;
}

}  // namespace
}  // namespace kestrel::worktime
