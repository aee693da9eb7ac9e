#include "platform/formula/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/formula/date.h"
#include "platform/picture/picture.h"

namespace kestrel::formula {

std::string FormatFixed(double x, int decimals) {
    // Whole numbers (list numbers, years, counters in index keys) need no
    // rounding: their digits directly, as picture::FormatFixed prints them.
    const double a = std::fabs(x);
    if (a < 1e15 && a == std::trunc(a)) {
        const int dec = std::clamp(decimals, 0, 15);
        char buf[40];
        char* p = buf;
        if (x < 0 && a != 0) *p++ = '-';
        p = std::to_chars(p, buf + 20, static_cast<long long>(a)).ptr;
        if (dec > 0) {
            *p++ = '.';
            for (int i = 0; i < dec; ++i) *p++ = '0';
        }
        return std::string(buf, p);
    }
    return picture::FormatFixed(x, decimals);
}

std::string FormatNumber(double x, int width, int decimals) {
    if (width < 1) width = 1;
    if (!std::isfinite(x)) return std::string(width, '*');
    std::string s = FormatFixed(x, decimals);
    if (static_cast<int>(s.size()) > width) return std::string(width, '*');
    return std::string(width - s.size(), ' ') + s;
}

void ZeroPad(std::string* s) {
    const bool negative = s->find('-') != std::string::npos;
    for (char& ch : *s) {
        if (ch == ' ' || ch == '-') ch = '0';
    }
    if (negative && !s->empty() && (*s)[0] != '*') (*s)[0] = '-';
}

int IntegerWidth(const Value& v) {
    if (v.width() > 0) return v.width();
    const double d = v.number();
    return (d >= 1e10 || d <= -1e9) ? 20 : 10;
}

std::string StrDefault(const Value& v) {
    const int dec = v.decimals();
    return FormatNumber(v.number(), IntegerWidth(v) + (dec > 0 ? dec + 1 : 0), dec);
}

namespace {

std::string CanonicalAt(const Value& v, int depth);

}  // namespace

std::string Canonical(const Value& v) {
    return CanonicalAt(v, 0);
}

namespace {

std::string CanonicalAt(const Value& v, int depth) {
    switch (v.type()) {
        case Type::kNil:
            return "NIL";
        case Type::kNumber:
            if (!std::isfinite(v.number())) return StrDefault(v);
            return FormatFixed(v.number(), v.decimals());
        case Type::kString:
            return "\"" + v.str() + "\"";
        case Type::kDate:
            return Dtoc(v.julian());
        case Type::kLogical:
            return v.logical() ? ".T." : ".F.";
        case Type::kArray: {
            std::string out = "{";
            bool first = true;
            for (const Value& item : v.items()) {
                if (!first) out += ", ";
                first = false;
                // Arrays that contain themselves print their inner occurrences as {...}.
                out += item.IsArray() && depth >= 16 ? "{...}" : CanonicalAt(item, depth + 1);
            }
            return out + "}";
        }
    }
    return std::string();
}

}  // namespace

}  // namespace kestrel::formula
