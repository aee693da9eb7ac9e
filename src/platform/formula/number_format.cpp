#include "platform/formula/number_format.h"

#include <cmath>
#include <cstdio>

#include "platform/formula/date.h"

namespace kestrel::formula {

std::string FormatFixed(double x, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    const double a = std::fabs(x);
    double t = std::floor((a * std::pow(10.0, decimals + 1) + 5) / 10);
    char buf[400];
    if (!(t < 1e18)) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.0f", t);
    std::string digits = buf;
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    if (decimals > 0) digits.insert(digits.size() - decimals, 1, '.');
    if (x < 0 && t != 0) digits.insert(0, 1, '-');
    return digits;
}

std::string FormatNumber(double x, int width, int decimals) {
    if (width < 1) width = 1;
    if (!std::isfinite(x)) return std::string(width, '*');
    std::string s = FormatFixed(x, decimals);
    if (static_cast<int>(s.size()) > width) return std::string(width, '*');
    return std::string(width - s.size(), ' ') + s;
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
