// Calendar dates: the parts, Julian day numbers and the two text forms.
//
// Dates are proleptic Gregorian, years 1-9999. A date is stored in a table
// as "YYYYMMDD" (eight blanks when empty; the table layer hands it over as
// "" then) and shown and entered as "YYYY-MM-DD". The formula language
// counts dates in Julian days (2000-01-01 is 2451545; 0 is the empty date).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::base {

/// A calendar date; year 0 is the empty date.
struct Date {
    int year = 0, month = 0, day = 0;

    bool empty() const { return year == 0; }
    bool operator==(const Date&) const = default;
};

/// A month of a year.
struct YearMonth {
    int year = 0, month = 0;

    bool operator==(const YearMonth&) const = default;
};

bool IsLeapYear(int year);

/// 28-31; 0 when `month` is not 1-12.
int DaysInMonth(int year, int month);

/// True for a real date of the years 1-9999.
bool IsValidDate(int year, int month, int day);
inline bool IsValidDate(const Date& d) {
    return IsValidDate(d.year, d.month, d.day);
}

/// The Julian day of a date; 0 for the empty date and for one that does not
/// exist.
int32_t JulianDay(const Date& d);

/// The date of a Julian day; the empty date for 0 and below and past
/// 9999-12-31.
Date DateOfJulianDay(int32_t julian);

/// "YYYYMMDD" as stored in a table; "" for the empty date.
std::string DbfDateText(const Date& d);

/// The parts of a stored "YYYYMMDD" as they stand (not checked against the
/// calendar, so that a wrong stored date can be shown and corrected); the
/// empty date when the text is not eight digits or the year is 0000.
Date DateOfDbfText(std::string_view yyyymmdd);

/// "YYYY-MM-DD"; "    -  -  " for the empty date.
std::string DateText(const Date& d);

/// Reads "YYYY-MM-DD" (the characters between the parts are not looked at);
/// the empty date when the text is blank (blanks and the separators - . /
/// only) or no real date.
Date ParseDateText(std::string_view text);

/// The date `n` days later (earlier for a negative n); the empty date stays
/// empty, and so does a result outside the years 1-9999.
Date AddDays(const Date& d, int n);

/// The month `n` months later (earlier for a negative n), across the turn
/// of the year.
YearMonth AddMonths(YearMonth ym, int n);

/// The same day `n` months later; a day the month does not have becomes its
/// last day (31 March + 1 month is 30 April). The empty date stays empty, and
/// so does a result outside the years 1-9999.
Date AddMonths(const Date& d, int n);

/// The same day `n` years later; 29 February becomes 28 February in a common
/// year. The empty date stays empty, and so does a result outside the years
/// 1-9999.
Date AddYears(const Date& d, int n);

}  // namespace kestrel::base
