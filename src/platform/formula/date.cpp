#include "platform/formula/date.h"

#include "platform/base/dates.h"

namespace kestrel::formula {

int32_t JulianFromYmd(int year, int month, int day) {
    return base::JulianDay(base::Date{year, month, day});
}

void YmdFromJulian(int32_t julian, int* year, int* month, int* day) {
    const base::Date d = base::DateOfJulianDay(julian);
    *year = d.year;
    *month = d.month;
    *day = d.day;
}

int DayOfWeek(int32_t julian) {
    if (julian <= 0) return 0;
    return static_cast<int>((int64_t{julian} + 1) % 7) + 1;
}

std::string Dtos(int32_t julian) {
    const base::Date d = base::DateOfJulianDay(julian);
    return d.empty() ? std::string(8, ' ') : base::DbfDateText(d);
}

std::string Dtoc(int32_t julian) {
    return base::DateText(base::DateOfJulianDay(julian));
}

int32_t Ctod(std::string_view text) {
    return base::JulianDay(base::ParseDateText(text));
}

int32_t Stod(std::string_view text) {
    return base::JulianDay(base::DateOfDbfText(text.substr(0, 8)));
}

}  // namespace kestrel::formula
