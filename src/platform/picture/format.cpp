#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/base/text.h"
#include "platform/picture/picture.h"

namespace kestrel::picture {
namespace {

using base::AsciiUpper;

bool IsDigitPos(char c) {
    return c == '9' || c == '#';
}

bool IsTextPos(char c) {
    const char u = AsciiUpper(c);
    return u == 'X' || u == '9' || u == '#' || u == 'A' || u == 'N' || u == 'L' || u == 'Y' ||
           u == '!';
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
    // A zero integer part before decimals is written only when it has room.
    long leftmost = -1;
    for (long i = static_cast<long>(int_part.size()) - 1; i >= 0; --i) {
        const char c = int_part[static_cast<size_t>(i)];
        if (IsDigitPos(c)) {
            if (k >= 0) {
                res[static_cast<size_t>(i)] = idigits[static_cast<size_t>(k--)];
                leftmost = i;
            } else {
                res[static_cast<size_t>(i)] = ' ';
            }
        } else if (c == ',') {
            res[static_cast<size_t>(i)] = k >= 0 ? ',' : ' ';
        }
    }
    if (k >= 0) return false;
    if (negative) {
        long at = (leftmost < 0 ? static_cast<long>(int_part.size()) : leftmost) - 1;
        while (at >= 0 && res[static_cast<size_t>(at)] != ' ') --at;
        if (at < 0) return false;
        res[static_cast<size_t>(at)] = '-';
    }
    size_t f = 0;
    for (size_t i = 0; i < frac_part.size(); ++i) {
        if (IsDigitPos(frac_part[i])) res[point + 1 + i] = f < fdigits.size() ? fdigits[f++] : '0';
    }
    *out = res;
    return true;
}

}  // namespace

Picture Parse(std::string_view text) {
    Picture p;
    if (text.empty() || text[0] != '@') {
        p.tmpl = std::string(text);
        return p;
    }
    const size_t end = text.find(' ');
    const std::string_view f = text.substr(1, end == std::string_view::npos ? text.npos : end - 1);
    for (size_t i = 0; i < f.size(); ++i) {
        switch (AsciiUpper(f[i])) {
            case 'E':
                p.decimal_comma = true;
                break;
            case 'R':
                p.insert_literals = true;
                break;
            case '!':
                p.upper = true;
                break;
            case 'K':
                p.clear_on_key = true;
                break;
            case 'Z':
                p.zero_blank = true;
                break;
            case 'B':
                p.left_justify = true;
                break;
            case 'X':
                p.debit_mark = true;
                break;
            case 'C':
                p.credit_mark = true;
                break;
            case 'D':
                p.date = true;
                break;
            case 'S': {
                int n = 0;
                while (i + 1 < f.size() && f[i + 1] >= '0' && f[i + 1] <= '9' && n < 1000)
                    n = n * 10 + (f[++i] - '0');
                p.scroll_width = n;
                break;
            }
            default:
                break;
        }
    }
    if (end != std::string_view::npos) p.tmpl = std::string(text.substr(end + 1));
    if (p.date && p.tmpl.empty()) p.tmpl = "9999-99-99";
    return p;
}

const CaseTable& PlainUpper() {
    static const CaseTable table = [] {
        CaseTable t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] =
                static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
        return t;
    }();
    return table;
}

std::string FormatFixed(double x, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    const double a = std::fabs(x);
    char buf[400];
    if (!(a < 1e15)) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        return buf;
    }
    // The value as a decimal of 15 significant digits (what the double
    // stands for: 2.345 and 1.005, not the binary fractions just below
    // them), then rounded half away from zero at `decimals` places.
    int int_digits = 1;
    for (double p = 10; p <= a && int_digits < 16; p *= 10) ++int_digits;
    const int frac = std::max(15 - int_digits, decimals + 1);
    std::snprintf(buf, sizeof buf, "%.*f", frac, a);
    std::string s = buf;
    const size_t point = s.find('.');
    std::string digits = s.substr(0, point) + s.substr(point + 1, static_cast<size_t>(decimals));
    const bool up = s[point + 1 + static_cast<size_t>(decimals)] >= '5';
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
            digits[static_cast<size_t>(i--)] = '0';
        if (i < 0)
            digits.insert(0, 1, '1');
        else
            ++digits[static_cast<size_t>(i)];
    }
    const size_t int_len = digits.size() - static_cast<size_t>(decimals);
    std::string out = digits.substr(0, int_len);
    if (decimals > 0) out += "." + digits.substr(int_len);
    const bool zero = out.find_first_not_of("0.") == std::string::npos;
    if (x < 0 && !zero) out.insert(0, 1, '-');
    return out;
}

std::string NumberTemplate(int width, int decimals) {
    if (width < 1) width = 1;
    if (decimals <= 0 || decimals + 2 > width) return std::string(static_cast<size_t>(width), '9');
    return std::string(static_cast<size_t>(width - decimals - 1), '9') + "." +
           std::string(static_cast<size_t>(decimals), '9');
}

std::string FormatNumber(double x, const Picture& p, int width, int decimals) {
    const bool marked = p.debit_mark || p.credit_mark;
    const double shown = marked ? std::fabs(x) : x;
    std::string out;
    if (p.tmpl.empty()) {
        if (width < 1) width = 1;
        out = std::isfinite(shown) ? FormatFixed(shown, decimals) : std::string();
        if (out.empty() || static_cast<int>(out.size()) > width)
            out = std::string(static_cast<size_t>(width), '*');
        else
            out = std::string(static_cast<size_t>(width) - out.size(), ' ') + out;
    } else if (!FillTemplate(shown, p.tmpl, &out)) {
        out = std::string(p.tmpl.size(), '*');
        if (const size_t dot = p.tmpl.find('.'); dot != std::string::npos) out[dot] = '.';
    }
    if (p.zero_blank && x == 0) out = std::string(out.size(), ' ');
    if (p.decimal_comma) SwapSeparators(out);
    if (p.left_justify) LeftJustify(out);
    if (marked && !(p.zero_blank && x == 0)) {
        // The mark keeps the width: three blanks when it does not apply.
        if (p.debit_mark && x < 0)
            out += " DB";
        else if (p.credit_mark && x > 0)
            out += " CR";
        else
            out += "   ";
    } else if (marked) {
        out += "   ";
    }
    return out;
}

std::string FormatText(std::string_view text, const Picture& p, const CaseTable& upper) {
    auto up = [&](char c) { return static_cast<char>(upper[static_cast<unsigned char>(c)]); };
    std::string out;
    if (p.tmpl.empty()) {
        out = std::string(text);
        if (p.upper)
            for (char& c : out) c = up(c);
    } else {
        size_t j = 0;
        for (char t : p.tmpl) {
            if (IsTextPos(t)) {
                char c = j < text.size() ? text[j] : ' ';
                ++j;
                if (t == '!' || p.upper) c = up(c);
                out += c;
            } else {
                out += t;
                if (!p.insert_literals) ++j;
            }
        }
    }
    if (p.left_justify) LeftJustify(out);
    return out;
}

std::string FormatDate(const Date& d) {
    return base::DateText(d);
}

std::string FormatLogical(bool v, const Picture& p, char yes, char no) {
    if (!p.tmpl.empty() && AsciiUpper(p.tmpl[0]) == 'Y') return v ? "Y" : "N";
    return std::string(1, v ? yes : no);
}

}  // namespace kestrel::picture
