#include "platform/formula/date.h"

#include <cstdio>

namespace kestrel::formula {
namespace {

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

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

bool Blank(std::string_view s) {
    for (char c : s) {
        if (c != ' ' && c != '-' && c != '.' && c != '/') return false;
    }
    return true;
}

}  // namespace

int32_t JulianFromYmd(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return 0;
    const int a = (14 - month) / 12;
    const int y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

void YmdFromJulian(int32_t julian, int* year, int* month, int* day) {
    if (julian <= 0) {
        *year = *month = *day = 0;
        return;
    }
    const int64_t a = int64_t{julian} + 32044;
    const int64_t b = (4 * a + 3) / 146097;
    const int64_t c = a - 146097 * b / 4;
    const int64_t d = (4 * c + 3) / 1461;
    const int64_t e = c - 1461 * d / 4;
    const int64_t m = (5 * e + 2) / 153;
    *day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    *month = static_cast<int>(m + 3 - 12 * (m / 10));
    *year = static_cast<int>(100 * b + d - 4800 + m / 10);
}

int DayOfWeek(int32_t julian) {
    if (julian <= 0) return 0;
    return static_cast<int>((int64_t{julian} + 1) % 7) + 1;
}

namespace {

// `value` (0 <= value < 10^n) as n digits with leading zeros.
void PutDigits(char* out, int value, int n) {
    for (int i = n - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

std::string Dtos(int32_t julian) {
    int y, m, d;
    YmdFromJulian(julian, &y, &m, &d);
    if (julian <= 0 || y < 0 || y > 9999) return "        ";
    // "%04d%02d%02d" of the parts, written out (index keys call this for
    // every record).
    char buf[8];
    PutDigits(buf, y, 4);
    PutDigits(buf + 4, m, 2);
    PutDigits(buf + 6, d, 2);
    return std::string(buf, 8);
}

std::string Dtoc(int32_t julian) {
    int y, m, d;
    YmdFromJulian(julian, &y, &m, &d);
    if (julian <= 0 || y < 0 || y > 9999) return "    -  -  ";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

int32_t Ctod(std::string_view text) {
    if (Blank(text)) return 0;
    const int y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
    if (y < 0 || m < 0 || d < 0) return 0;
    return JulianFromYmd(y, m, d);
}

int32_t Stod(std::string_view text) {
    const int y = Digits(text, 0, 4), m = Digits(text, 4, 2), d = Digits(text, 6, 2);
    if (y < 0 || m < 0 || d < 0) return 0;
    return JulianFromYmd(y, m, d);
}

}  // namespace kestrel::formula
