#include "platform/base/dates.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::base {
namespace {

TEST(Dates, CalendarRules) {
    const struct {
        int year, month, days;
    } months[] = {
        {2024, 2, 29}, {2023, 2, 28},  {1900, 2, 28}, {2000, 2, 29}, {2026, 1, 31},
        {2026, 4, 30}, {2026, 12, 31}, {2026, 0, 0},  {2026, 13, 0},
    };
    for (const auto& m : months)
        EXPECT_EQ(DaysInMonth(m.year, m.month), m.days) << m.year << "-" << m.month;

    const Date valid[] = {{1, 1, 1}, {2024, 2, 29}, {2000, 2, 29}, {9999, 12, 31}};
    const Date invalid[] = {{0, 1, 1},     {10000, 1, 1}, {2023, 2, 29}, {1900, 2, 29},
                            {2026, 4, 31}, {2026, 13, 1}, {2026, 0, 10}, {2026, 5, 0}};
    for (const Date& d : valid) EXPECT_TRUE(IsValidDate(d)) << DateText(d);
    for (const Date& d : invalid) EXPECT_FALSE(IsValidDate(d)) << DateText(d);
}

TEST(Dates, JulianDays) {
    const struct {
        Date date;
        int32_t julian;
    } cases[] = {
        {{2000, 1, 1}, 2451545}, {{1, 1, 1}, 1721426},     {{9999, 12, 31}, 5373484},
        {{1970, 1, 1}, 2440588}, {{2024, 2, 29}, 2460370}, {{2025, 12, 31}, 2461041},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JulianDay(c.date), c.julian) << DateText(c.date);
        EXPECT_EQ(DateOfJulianDay(c.julian), c.date) << c.julian;
    }
    // The empty date and dates that do not exist have no day.
    EXPECT_EQ(JulianDay(Date{}), 0);
    EXPECT_EQ(JulianDay(Date{2023, 2, 29}), 0);
    EXPECT_EQ(JulianDay(Date{2026, 13, 1}), 0);
    // Days outside the years 1-9999 have no date.
    EXPECT_TRUE(DateOfJulianDay(0).empty());
    EXPECT_TRUE(DateOfJulianDay(-5).empty());
    EXPECT_TRUE(DateOfJulianDay(1721425).empty());
    EXPECT_TRUE(DateOfJulianDay(5373485).empty());
    // Every day of four centuries there and back, each the day after the last.
    Date before = DateOfJulianDay(JulianDay({1899, 12, 31}));
    for (int32_t j = JulianDay({1900, 1, 1}); j <= JulianDay({2300, 12, 31}); ++j) {
        const Date d = DateOfJulianDay(j);
        ASSERT_TRUE(IsValidDate(d)) << j;
        ASSERT_EQ(JulianDay(d), j);
        const bool next_day = d.day == before.day + 1 && d.month == before.month;
        const bool next_month = d.day == 1 && before.day == DaysInMonth(before.year, before.month);
        ASSERT_TRUE(next_day || next_month) << DateText(before) << " " << DateText(d);
        before = d;
    }
}

TEST(Dates, StoredForm) {
    const struct {
        std::string_view text;
        Date date;
    } read[] = {
        {"20260315", {2026, 3, 15}},
        {"00010101", {1, 1, 1}},
        // Not checked against the calendar: a wrong stored date stays visible.
        {"20230230", {2023, 2, 30}},
        {"", {}},
        {"        ", {}},
        {"2026031", {}},
        {"202603155", {}},
        {"2026-3-1", {}},
        {"2026 315", {}},
        {"00000000", {}},
        {"00000315", {}},
    };
    for (const auto& c : read) EXPECT_EQ(DateOfDbfText(c.text), c.date) << c.text;

    EXPECT_EQ(DbfDateText(Date{2026, 3, 5}), "20260305");
    EXPECT_EQ(DbfDateText(Date{1, 1, 1}), "00010101");
    EXPECT_EQ(DbfDateText(Date{}), "");
}

TEST(Dates, ShownForm) {
    EXPECT_EQ(DateText(Date{2026, 3, 5}), "2026-03-05");
    EXPECT_EQ(DateText(Date{987, 12, 31}), "0987-12-31");
    EXPECT_EQ(DateText(Date{}), "    -  -  ");

    const struct {
        std::string_view text;
        Date date;
    } read[] = {
        {"2026-03-05", {2026, 3, 5}},
        {"2026.03.05", {2026, 3, 5}},
        {"2024/02/29", {2024, 2, 29}},
        {"    -  -  ", {}},
        {"", {}},
        {"2023-02-29", {}},
        {"2026-3-5", {}},
        {"20260305", {}},
        {"2026-03-0x", {}},
    };
    for (const auto& c : read) EXPECT_EQ(ParseDateText(c.text), c.date) << c.text;
}

TEST(Dates, AddDays) {
    EXPECT_EQ(AddDays({2026, 12, 31}, 1), (Date{2027, 1, 1}));
    EXPECT_EQ(AddDays({2024, 2, 28}, 1), (Date{2024, 2, 29}));
    EXPECT_EQ(AddDays({2023, 2, 28}, 1), (Date{2023, 3, 1}));
    EXPECT_EQ(AddDays({2026, 3, 1}, -1), (Date{2026, 2, 28}));
    EXPECT_EQ(AddDays({2026, 3, 1}, 0), (Date{2026, 3, 1}));
    EXPECT_TRUE(AddDays(Date{}, 1).empty());
    EXPECT_TRUE(AddDays({9999, 12, 31}, 1).empty());
    EXPECT_TRUE(AddDays({1, 1, 1}, -1).empty());
    EXPECT_TRUE(AddDays({2026, 1, 1}, INT32_MAX).empty());
    EXPECT_TRUE(AddDays({2026, 1, 1}, INT32_MIN).empty());
}

TEST(Dates, MonthArithmeticWrapsTheYear) {
    const struct {
        YearMonth from;
        int n;
        YearMonth to;
    } cases[] = {
        {{2026, 1}, 0, {2026, 1}},    {{2026, 11}, 1, {2026, 12}}, {{2026, 12}, 1, {2027, 1}},
        {{2026, 1}, -1, {2025, 12}},  {{2026, 1}, -12, {2025, 1}}, {{2026, 1}, -13, {2024, 12}},
        {{2026, 6}, 30, {2028, 12}},  {{2026, 6}, 31, {2029, 1}},  {{2026, 3}, -27, {2023, 12}},
        {{2026, 12}, 24, {2028, 12}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddMonths(c.from, c.n), c.to) << c.from.year << "/" << c.from.month << " " << c.n;
}

TEST(Dates, AddMonthsAndYearsKeepTheDayWhereTheMonthHasIt) {
    const struct {
        Date from;
        int months;
        Date to;
    } by_months[] = {
        {{2026, 1, 15}, 1, {2026, 2, 15}},    {{2026, 1, 31}, 1, {2026, 2, 28}},
        {{2024, 1, 31}, 1, {2024, 2, 29}},    {{2026, 3, 31}, 1, {2026, 4, 30}},
        {{2026, 3, 31}, -1, {2026, 2, 28}},   {{2026, 12, 31}, 2, {2027, 2, 28}},
        {{2026, 5, 31}, -17, {2024, 12, 31}},
    };
    for (const auto& c : by_months)
        EXPECT_EQ(AddMonths(c.from, c.months), c.to) << DateText(c.from) << " " << c.months;

    const struct {
        Date from;
        int years;
        Date to;
    } by_years[] = {
        {{2024, 2, 29}, 1, {2025, 2, 28}},  {{2024, 2, 29}, 4, {2028, 2, 29}},
        {{2024, 2, 29}, -1, {2023, 2, 28}}, {{2000, 2, 29}, 100, {2100, 2, 28}},
        {{2026, 3, 15}, 10, {2036, 3, 15}}, {{2026, 12, 31}, -26, {2000, 12, 31}},
        {{2023, 2, 28}, 1, {2024, 2, 28}},
    };
    for (const auto& c : by_years)
        EXPECT_EQ(AddYears(c.from, c.years), c.to) << DateText(c.from) << " " << c.years;

    EXPECT_TRUE(AddMonths(Date{}, 1).empty());
    EXPECT_TRUE(AddYears(Date{}, 1).empty());
    EXPECT_TRUE(AddYears({2023, 2, 29}, 1).empty());  // no such date to start from
    EXPECT_TRUE(AddYears({9999, 1, 1}, 1).empty());
    EXPECT_TRUE(AddMonths({1, 1, 31}, -1).empty());
    EXPECT_EQ(AddMonths({9999, 11, 30}, 1), (Date{9999, 12, 30}));
    EXPECT_TRUE(AddYears({2026, 1, 1}, INT32_MAX).empty());
}

}  // namespace
}  // namespace kestrel::base
