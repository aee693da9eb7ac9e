// The rules of a working-day calendar: day codes, the length of a month,
// Easter and the public holidays, the preset of a new calendar and the
// working days of a month.
//
// A calendar holds one character per day of each month of a year:
// " " working day, "N" Sunday, "S" public holiday, "W" other free day.
// Calendars exist for the years 1993-2099 only; in that range a year is a
// leap year exactly when it is divisible by 4.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/dates.h"

namespace kestrel::worktime {

inline constexpr char kWorkingDay = ' ';
inline constexpr char kSunday = 'N';
inline constexpr char kHoliday = 'S';
inline constexpr char kFreeDay = 'W';

inline constexpr int kFirstCalendarYear = 1993;
inline constexpr int kLastCalendarYear = 2099;

/// True for the four day codes (upper case only).
bool IsDayCode(char c);

/// The year lies in 1993-2099.
bool IsCalendarYear(int year);

/// Divisible by 4 (exact for the calendar years).
bool IsCalendarLeapYear(int year);

/// Days of `month` (1-12) of `year` by the calendar's leap-year rule; 0 for
/// a month outside 1-12.
int CalendarMonthLength(int year, int month);

/// Easter Sunday of `year` (a calendar year): with a = Y mod 19,
/// b = Y mod 4, c = Y mod 7, d = (19a + 24) mod 30,
/// e = (2b + 4c + 6d + 5) mod 7 it falls d + e days after 22 March, a week
/// earlier when d > 27 and e = 6.
base::Date EasterSunday(int year);

/// The public holidays of `year` in date order: 1 and 6 January, Easter
/// Sunday and Monday, 1 and 3 May, Corpus Christi (Easter + 60 days),
/// 15 August, 1 and 11 November, 25 and 26 December, and from 2025 on also
/// 24 December (a statutory holiday since then).
std::vector<base::Date> PublicHolidays(int year);

/// One year of a group: the codes of every day, each month exactly as long
/// as the month.
struct Calendar {
    int year = 0;
    std::string group;  // two characters
    std::array<std::string, 12> months;

    /// The code of day `day` of `month` (1-based); 0 outside the month.
    char Day(int month, int day) const;
    /// Sets a day that exists; other positions are left alone.
    void SetDay(int month, int day, char code);
    bool operator==(const Calendar&) const = default;
};

/// The calendar of a new year for `group`: each day a public holiday "S",
/// else a Sunday "N", else a Saturday "W", else a working day.
Calendar PresetCalendar(int year, std::string_view group);

/// The number of working days (blank positions) of a month's codes.
int WorkingDays(std::string_view month_codes);

/// 0 Sunday, 1 Monday ... 6 Saturday.
int DayOfWeek(const base::Date& d);

}  // namespace kestrel::worktime
