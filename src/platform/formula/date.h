// Calendar dates as Julian day numbers (2000-01-01 is 2451545; 0 is the
// empty date), and their text forms. Dates are shown and entered as
// YYYY-MM-DD throughout the system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::formula {

/// Julian day of a proleptic Gregorian date; 0 when the date does not exist
/// or the year is outside 1..9999.
int32_t JulianFromYmd(int year, int month, int day);

/// Year, month and day of a Julian day; all 0 for the empty date and for
/// days outside the years 1..9999.
void YmdFromJulian(int32_t julian, int* year, int* month, int* day);

/// Day of the week, 1 = Sunday ... 7 = Saturday; 0 for the empty date.
int DayOfWeek(int32_t julian);

/// "YYYYMMDD"; eight blanks for the empty date.
std::string Dtos(int32_t julian);

/// "YYYY-MM-DD"; "    -  -  " for the empty date.
std::string Dtoc(int32_t julian);

/// Reads "YYYY-MM-DD" (the separators may be any non-digit); the empty date
/// when the text is blank or not a valid date.
int32_t Ctod(std::string_view text);

/// Reads "YYYYMMDD"; the empty date when blank or invalid.
int32_t Stod(std::string_view text);

}  // namespace kestrel::formula
