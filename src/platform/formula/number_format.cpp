#include "platform/formula/number_format.h"

#include <cmath>
#include <cstdio>

#include "platform/formula/date.h"
#include "platform/picture/picture.h"

namespace kestrel::formula {

std::string FormatFixed(double x, int decimals) {
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
