#include "worktime/data/calendar_rules.h"

#include <algorithm>

namespace kestrel::worktime {

bool IsDayCode(char c) {
    return c == kWorkingDay || c == kSunday || c == kHoliday || c == kFreeDay;
}

bool IsCalendarYear(int year) {
    return year >= kFirstCalendarYear && year <= kLastCalendarYear;
}

bool IsCalendarLeapYear(int year) {
    return year % 4 == 0;
}

int CalendarMonthLength(int year, int month) {
    static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsCalendarLeapYear(year)) return 29;
    return kLengths[month - 1];
}

base::Date EasterSunday(int year) {
    const int a = year % 19, b = year % 4, c = year % 7;
    const int d = (19 * a + 24) % 30;
    const int e = (2 * b + 4 * c + 6 * d + 5) % 7;
    int days = d + e;
    if (d > 27 && e == 6) days -= 7;
    return base::AddDays(base::Date{year, 3, 22}, days);
}

std::vector<base::Date> PublicHolidays(int year) {
    const base::Date easter = EasterSunday(year);
    std::vector<base::Date> days = {
        {year, 1, 1},
        {year, 1, 6},
        easter,
        base::AddDays(easter, 1),
        {year, 5, 1},
        {year, 5, 3},
        base::AddDays(easter, 60),
        {year, 8, 15},
        {year, 11, 1},
        {year, 11, 11},
        {year, 12, 25},
        {year, 12, 26},
    };
    // Christmas Eve is a public holiday from 2025 on.
    if (year >= 2025) days.push_back({year, 12, 24});
    std::sort(days.begin(), days.end(), [](const base::Date& x, const base::Date& y) {
        return base::JulianDay(x) < base::JulianDay(y);
    });
    return days;
}

char Calendar::Day(int month, int day) const {
    if (month < 1 || month > 12) return 0;
    const std::string& m = months[static_cast<size_t>(month - 1)];
    if (day < 1 || day > static_cast<int>(m.size())) return 0;
    return m[static_cast<size_t>(day - 1)];
}

void Calendar::SetDay(int month, int day, char code) {
    if (month < 1 || month > 12) return;
    std::string& m = months[static_cast<size_t>(month - 1)];
    if (day < 1 || day > static_cast<int>(m.size())) return;
    m[static_cast<size_t>(day - 1)] = code;
}

int DayOfWeek(const base::Date& d) {
    // Julian day 0 would be a Monday: day + 1 counts from a Sunday.
    return static_cast<int>((base::JulianDay(d) + 1) % 7);
}

Calendar PresetCalendar(int year, std::string_view group) {
    Calendar cal;
    cal.year = year;
    cal.group = std::string(group);
    cal.group.resize(2, ' ');
    for (int m = 1; m <= 12; ++m) {
        std::string& codes = cal.months[static_cast<size_t>(m - 1)];
        codes.assign(static_cast<size_t>(CalendarMonthLength(year, m)), kWorkingDay);
        for (int d = 1; d <= static_cast<int>(codes.size()); ++d) {
            const int weekday = DayOfWeek({year, m, d});
            if (weekday == 0)
                codes[static_cast<size_t>(d - 1)] = kSunday;
            else if (weekday == 6)
                codes[static_cast<size_t>(d - 1)] = kFreeDay;
        }
    }
    for (const base::Date& h : PublicHolidays(year)) cal.SetDay(h.month, h.day, kHoliday);
    return cal;
}

int WorkingDays(std::string_view month_codes) {
    return static_cast<int>(std::count(month_codes.begin(), month_codes.end(), kWorkingDay));
}

}  // namespace kestrel::worktime
