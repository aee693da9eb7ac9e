#include "worktime/data/calendar_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::worktime {
namespace {

std::string Dates(const std::vector<base::Date>& days) {
    std::string out;
    for (const base::Date& d : days) out += base::DateText(d) + " ";
    return out;
}

// Easter Sunday as the church calendars publish it. 2049 and 2076 are the
// two years of 1993-2099 where the week taken back matters (d > 27, e = 6).
TEST(CalendarRules, EasterSundayOfPublishedYears) {
    const struct {
        int year;
        base::Date easter;
    } cases[] = {
        {1993, {1993, 4, 11}}, {2019, {2019, 4, 21}}, {2024, {2024, 3, 31}}, {2025, {2025, 4, 20}},
        {2026, {2026, 4, 5}},  {2049, {2049, 4, 18}}, {2076, {2076, 4, 19}}, {2099, {2099, 4, 12}},
    };
    for (const auto& k : cases)
        EXPECT_EQ(base::DateText(EasterSunday(k.year)), base::DateText(k.easter)) << k.year;
}

// The public holidays act with the amendment in force from 1 February 2025
// (Christmas Eve added); the movable feasts from the Easter dates above.
TEST(CalendarRules, PublicHolidaysOfAYearInDateOrder) {
    const struct {
        int year;
        const char* days;
    } cases[] = {
        {2019,
         "2019-01-01 2019-01-06 2019-04-21 2019-04-22 2019-05-01 2019-05-03 2019-06-20 "
         "2019-08-15 2019-11-01 2019-11-11 2019-12-25 2019-12-26 "},
        {2024,
         "2024-01-01 2024-01-06 2024-03-31 2024-04-01 2024-05-01 2024-05-03 2024-05-30 "
         "2024-08-15 2024-11-01 2024-11-11 2024-12-25 2024-12-26 "},
        {2025,
         "2025-01-01 2025-01-06 2025-04-20 2025-04-21 2025-05-01 2025-05-03 2025-06-19 "
         "2025-08-15 2025-11-01 2025-11-11 2025-12-24 2025-12-25 2025-12-26 "},
        {2026,
         "2026-01-01 2026-01-06 2026-04-05 2026-04-06 2026-05-01 2026-05-03 2026-06-04 "
         "2026-08-15 2026-11-01 2026-11-11 2026-12-24 2026-12-25 2026-12-26 "},
    };
    for (const auto& k : cases) EXPECT_EQ(Dates(PublicHolidays(k.year)), k.days) << k.year;
}

TEST(CalendarRules, MonthLengthsAndLeapYearsByFour) {
    EXPECT_EQ(CalendarMonthLength(2024, 2), 29);
    EXPECT_EQ(CalendarMonthLength(2025, 2), 28);
    EXPECT_EQ(CalendarMonthLength(2000, 2), 29);
    EXPECT_EQ(CalendarMonthLength(2026, 4), 30);
    EXPECT_EQ(CalendarMonthLength(2026, 12), 31);
    EXPECT_EQ(CalendarMonthLength(2026, 0), 0);
    EXPECT_EQ(CalendarMonthLength(2026, 13), 0);
    EXPECT_TRUE(IsCalendarYear(1993));
    EXPECT_TRUE(IsCalendarYear(2099));
    EXPECT_FALSE(IsCalendarYear(1992));
    EXPECT_FALSE(IsCalendarYear(2100));
}

// Day codes checked against a wall calendar: 1 February 2024 was a Thursday,
// 1 February 2025 a Saturday, 1 December 2025 a Monday.
TEST(CalendarRules, PresetMonthsAndTheirWorkingDays) {
    const struct {
        int year, month;
        const char* codes;
        int working;
    } cases[] = {
        {2024, 2, "  WN     WN     WN     WN    ", 21},
        {2025, 2, "WN     WN     WN     WN     ", 20},
        {2025, 12, "     WN     WN     WN  SSSWN   ", 20},
        {2024, 12, "N     WN     WN     WN  SS WN  ", 20},
        {2024, 5, "S SWN     WN     WN     WN   S ", 20},
        {2026, 1, "S WN S   WN     WN     WN     W", 20},
    };
    for (const auto& k : cases) {
        const Calendar cal = PresetCalendar(k.year, "01");
        const std::string& codes = cal.months[static_cast<size_t>(k.month - 1)];
        EXPECT_EQ(codes, k.codes) << k.year << "-" << k.month;
        EXPECT_EQ(WorkingDays(codes), k.working) << k.year << "-" << k.month;
    }
}

TEST(CalendarRules, EveryPresetMonthIsAsLongAsTheMonthAndUsesDayCodesOnly) {
    for (int year : {2024, 2025, 2026, 2027}) {
        const Calendar cal = PresetCalendar(year, "1");
        EXPECT_EQ(cal.group, "1 ");
        int working = 0;
        for (int m = 1; m <= 12; ++m) {
            const std::string& codes = cal.months[static_cast<size_t>(m - 1)];
            EXPECT_EQ(static_cast<int>(codes.size()), CalendarMonthLength(year, m));
            for (char c : codes) EXPECT_TRUE(IsDayCode(c)) << year << "-" << m;
            working += WorkingDays(codes);
        }
        // Counted day by day with another date library.
        const int expected = year == 2024 ? 252 : year == 2025 ? 251 : 253;
        EXPECT_EQ(working, expected) << year;
    }
}

TEST(CalendarRules, DaysOutsideAMonthAreNeitherReadNorWritten) {
    Calendar cal = PresetCalendar(2025, "01");
    const Calendar before = cal;
    cal.SetDay(2, 29, kHoliday);
    cal.SetDay(4, 31, kHoliday);
    cal.SetDay(13, 1, kHoliday);
    EXPECT_EQ(cal, before);
    EXPECT_EQ(cal.Day(2, 29), 0);
    EXPECT_EQ(cal.Day(2, 28), kWorkingDay);  // a Friday
    EXPECT_EQ(cal.Day(2, 23), kSunday);
}

}  // namespace
}  // namespace kestrel::worktime
