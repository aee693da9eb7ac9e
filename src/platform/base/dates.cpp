#include "platform/base/dates.h"

#include <cstdint>

namespace kestrel::base {
namespace {

// Reads exactly `n` digits at `p`; -1 when any is not a digit.
int Digits(std::string_view s, size_t p, size_t n) {
    if (p + n > s.size()) return -1;
    int v = 0;
    for (size_t i = p; i < p + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// The last `n` decimal digits of `value` (taken as non-negative).
void PutDigits(char* out, int value, int n) {
    if (value < 0) value = -value;
    for (int i = n - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

bool BlankDateText(std::string_view s) {
    for (char c : s) {
        if (c != ' ' && c != '-' && c != '.' && c != '/') return false;
    }
    return true;
}

// Months counted from year 0: year * 12 + month - 1.
constexpr int64_t kFirstMonth = 1 * 12;
constexpr int64_t kLastMonth = 9999 * 12 + 11;

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

int32_t JulianDay(const Date& d) {
    if (!IsValidDate(d)) return 0;
    const int a = (14 - d.month) / 12;
    const int y = d.year + 4800 - a;
    const int m = d.month + 12 * a - 3;
    return d.day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

Date DateOfJulianDay(int32_t julian) {
    // 1721426 is 0001-01-01, 5373484 9999-12-31.
    if (julian < 1721426 || julian > 5373484) return Date{};
    const int64_t a = int64_t{julian} + 32044;
    const int64_t b = (4 * a + 3) / 146097;
    const int64_t c = a - 146097 * b / 4;
    const int64_t d = (4 * c + 3) / 1461;
    const int64_t e = c - 1461 * d / 4;
    const int64_t m = (5 * e + 2) / 153;
    Date out;
    out.day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    out.month = static_cast<int>(m + 3 - 12 * (m / 10));
    out.year = static_cast<int>(100 * b + d - 4800 + m / 10);
    return out;
}

std::string DbfDateText(const Date& d) {
    if (d.empty()) return {};
    // Written out rather than through snprintf: index keys ask for this for
    // every record.
    char buf[8];
    PutDigits(buf, d.year, 4);
    PutDigits(buf + 4, d.month, 2);
    PutDigits(buf + 6, d.day, 2);
    return std::string(buf, 8);
}

Date DateOfDbfText(std::string_view s) {
    if (s.size() != 8) return Date{};
    const int y = Digits(s, 0, 4), m = Digits(s, 4, 2), d = Digits(s, 6, 2);
    if (y <= 0 || m < 0 || d < 0) return Date{};
    return Date{y, m, d};
}

std::string DateText(const Date& d) {
    if (d.empty()) return "    -  -  ";
    char buf[10];
    PutDigits(buf, d.year, 4);
    buf[4] = '-';
    PutDigits(buf + 5, d.month, 2);
    buf[7] = '-';
    PutDigits(buf + 8, d.day, 2);
    return std::string(buf, 10);
}

Date ParseDateText(std::string_view text) {
    if (BlankDateText(text)) return Date{};
    const Date d{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2)};
    return IsValidDate(d) ? d : Date{};
}

Date AddDays(const Date& d, int n) {
    const int32_t j = JulianDay(d);
    const int64_t later = int64_t{j} + n;
    if (j == 0 || later < 1 || later > INT32_MAX) return Date{};
    return DateOfJulianDay(static_cast<int32_t>(later));
}

YearMonth AddMonths(YearMonth ym, int n) {
    // Counted from month 0 of year 0, floored, so that going back across
    // January works as well as going forward across December.
    const int64_t total = int64_t{ym.year} * 12 + (ym.month - 1) + n;
    int64_t year = total / 12, month = total % 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    return YearMonth{static_cast<int>(year), static_cast<int>(month + 1)};
}

Date AddMonths(const Date& d, int n) {
    if (!IsValidDate(d)) return Date{};
    const int64_t total = int64_t{d.year} * 12 + (d.month - 1) + n;
    if (total < kFirstMonth || total > kLastMonth) return Date{};
    const YearMonth ym = AddMonths(YearMonth{d.year, d.month}, n);
    const int last = DaysInMonth(ym.year, ym.month);
    return Date{ym.year, ym.month, d.day < last ? d.day : last};
}

Date AddYears(const Date& d, int n) {
    if (n > 10000 || n < -10000) return Date{};
    return AddMonths(d, 12 * n);
}

}  // namespace kestrel::base
