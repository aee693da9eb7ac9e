#include "platform/base/clock.h"

#include <cctype>
#include <cstdio>
#include <ctime>

#include "platform/base/dates.h"

namespace kestrel::base {
namespace {

// Reads exactly `width` digits at `pos`.
bool Digits(std::string_view s, size_t pos, size_t width, int* out) {
    if (pos + width > s.size()) return false;
    int v = 0;
    for (size_t i = pos; i < pos + width; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
        v = v * 10 + (s[i] - '0');
    }
    *out = v;
    return true;
}

}  // namespace

std::string LocalTime::DateText() const {
    return base::DateText(Date{year, month, day});
}

std::string LocalTime::TimeText() const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", hour % 100, minute % 100);
    return buf;
}

std::optional<LocalTime> ParseLocalTime(std::string_view s) {
    LocalTime t;
    if (!Digits(s, 0, 4, &t.year) || s.size() < 10 || s[4] != '-' || s[7] != '-' ||
        !Digits(s, 5, 2, &t.month) || !Digits(s, 8, 2, &t.day))
        return std::nullopt;
    if (!IsValidDate(t.year, t.month, t.day)) return std::nullopt;
    if (s.size() == 10) return t;
    if (s[10] != ' ' && s[10] != 'T') return std::nullopt;
    if (!Digits(s, 11, 2, &t.hour) || s.size() < 16 || s[13] != ':' || !Digits(s, 14, 2, &t.minute))
        return std::nullopt;
    if (s.size() == 19) {
        if (s[16] != ':' || !Digits(s, 17, 2, &t.second)) return std::nullopt;
    } else if (s.size() != 16) {
        return std::nullopt;
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return t;
}

LocalTime SystemClock::Now() const {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

}  // namespace kestrel::base
