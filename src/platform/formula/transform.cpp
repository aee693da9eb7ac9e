#include "platform/formula/transform.h"

#include <cmath>

#include "platform/formula/date.h"
#include "platform/formula/number_format.h"

namespace kestrel::formula {
namespace {

struct Picture {
    std::string functions;  // upper case letters after '@'
    std::string tmpl;
};

Picture Split(std::string_view picture) {
    Picture p;
    if (!picture.empty() && picture[0] == '@') {
        size_t end = picture.find(' ');
        std::string_view f =
            picture.substr(1, end == std::string_view::npos ? picture.size() - 1 : end - 1);
        for (char c : f) p.functions += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (end != std::string_view::npos) p.tmpl = std::string(picture.substr(end + 1));
    } else {
        p.tmpl = std::string(picture);
    }
    return p;
}

bool Has(const Picture& p, char f) {
    return p.functions.find(f) != std::string::npos;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void SwapSeparators(std::string& s) {
    for (char& c : s) {
        if (c == '.')
            c = ',';
        else if (c == ',')
            c = '.';
    }
}

void LeftJustify(std::string& s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos || b == 0) return;
    s = s.substr(b) + std::string(b, ' ');
}

bool IsDigitPos(char c) {
    return c == '9' || c == '#';
}

// The number in the template; false when it does not fit.
bool FillTemplate(double x, const std::string& tmpl, std::string* out) {
    const size_t point = tmpl.find('.');
    const std::string int_part = tmpl.substr(0, point);
    const std::string frac_part = point == std::string::npos ? "" : tmpl.substr(point + 1);
    int decimals = 0;
    for (char c : frac_part) decimals += IsDigitPos(c) ? 1 : 0;
    if (!std::isfinite(x)) return false;
    const std::string digits = FormatFixed(std::fabs(x), decimals);
    const size_t dp = digits.find('.');
    const std::string idigits = digits.substr(0, dp);
    const std::string fdigits = dp == std::string::npos ? "" : digits.substr(dp + 1);
    const bool negative = x < 0 && digits.find_first_not_of("0.") != std::string::npos;

    std::string res = tmpl;
    long k = static_cast<long>(idigits.size()) - 1;
    long leftmost = -1;  // position of the leftmost digit written
    for (long i = static_cast<long>(int_part.size()) - 1; i >= 0; --i) {
        const char c = int_part[i];
        if (IsDigitPos(c)) {
            if (k >= 0) {
                res[i] = idigits[k--];
                leftmost = i;
            } else {
                res[i] = ' ';
            }
        } else if (c == ',') {
            res[i] = k >= 0 ? ',' : ' ';
        }
    }
    if (k >= 0) return false;
    if (negative) {
        long at = (leftmost < 0 ? static_cast<long>(int_part.size()) : leftmost) - 1;
        while (at >= 0 && res[at] != ' ') --at;
        if (at < 0) return false;
        res[at] = '-';
    }
    size_t f = 0;
    for (size_t i = 0; i < frac_part.size(); ++i) {
        if (IsDigitPos(frac_part[i])) res[point + 1 + i] = f < fdigits.size() ? fdigits[f++] : '0';
    }
    *out = res;
    return true;
}

}  // namespace

std::string TransformNumber(const Value& v, std::string_view picture) {
    const Picture p = Split(picture);
    const double x = v.number();
    std::string out;
    if (p.tmpl.empty()) {
        out = StrDefault(v);
    } else if (!FillTemplate(x, p.tmpl, &out)) {
        out = std::string(p.tmpl.size(), '*');
        if (const size_t dot = p.tmpl.find('.'); dot != std::string::npos) out[dot] = '.';
    }
    if (Has(p, 'Z') && x == 0) return std::string(out.size(), ' ');
    if (Has(p, 'E')) SwapSeparators(out);
    if (Has(p, 'B')) LeftJustify(out);
    return out;
}

std::string TransformString(std::string_view text, std::string_view picture) {
    const Picture p = Split(picture);
    const bool upper = Has(p, '!');
    std::string out;
    if (p.tmpl.empty()) {
        out = std::string(text);
        if (upper) {
            for (char& c : out) c = Upper(c);
        }
    } else {
        const bool insert = Has(p, 'R');
        size_t j = 0;
        for (char t : p.tmpl) {
            const char u = Upper(t);
            if (u == 'X' || u == '9' || u == '#' || u == 'A' || u == 'N' || u == 'L' || u == 'Y' ||
                u == '!') {
                char c = j < text.size() ? text[j] : ' ';
                ++j;
                if (u == '!' || upper) c = Upper(c);
                out += c;
            } else {
                out += t;
                if (!insert) ++j;
            }
        }
    }
    if (Has(p, 'B')) LeftJustify(out);
    return out;
}

bool TransformValue(const Value& v, std::string_view picture, std::string* out) {
    switch (v.type()) {
        case Type::kNumber:
            *out = TransformNumber(v, picture);
            return true;
        case Type::kString:
            *out = TransformString(v.str(), picture);
            return true;
        case Type::kDate:
            *out = Dtoc(v.julian());
            return true;
        case Type::kLogical: {
            const Picture p = Split(picture);
            const bool yn = !p.tmpl.empty() && Upper(p.tmpl[0]) == 'Y';
            *out = v.logical() ? (yn ? "Y" : "T") : (yn ? "N" : "F");
            return true;
        }
        case Type::kNil:
            out->clear();
            return true;
        case Type::kArray:
            return false;
    }
    return false;
}

}  // namespace kestrel::formula
