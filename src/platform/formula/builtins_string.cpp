// String functions.
#include <algorithm>
#include <cctype>

#include "platform/base/text.h"
#include "platform/formula/builtins_util.h"
#include "platform/formula/date.h"
#include "platform/formula/number_format.h"
#include "platform/formula/transform.h"

namespace kestrel::formula {
namespace {

// padr/padl/padc take numbers and dates as their printed form.
bool PadSource(const Value& v, std::string* out) {
    switch (v.type()) {
        case Type::kString:
            *out = v.str();
            return true;
        case Type::kNumber: {
            *out = base::TrimLeft(StrDefault(v));
            return true;
        }
        case Type::kDate:
            *out = Dtoc(v.julian());
            return true;
        default:
            return false;
    }
}

enum class Pad { kRight, kLeft, kCenter };

bool PadFn(Call& c, Pad how) {
    std::string s;
    long long n = 0;
    if (!IntArg(c, 1, 0, &n) || c.Arg(1).IsNil()) return c.ArgError(1000);
    if (!PadSource(c.Arg(0), &s)) {
        c.result = Value::String("");
        return true;
    }
    char fill = ' ';
    if (c.Arg(2).IsString() && !c.Arg(2).str().empty()) fill = c.Arg(2).str()[0];
    if (n <= 0) return ReturnString(c, "");
    if (n > static_cast<long long>(kMaxString))
        return ReturnString(c, std::string(kMaxString + 1, ' '));
    const size_t len = static_cast<size_t>(n);
    if (s.size() >= len) {
        // Too long: all three keep the first n characters.
        return ReturnString(c, s.substr(0, len));
    }
    const size_t gap = len - s.size();
    switch (how) {
        case Pad::kRight:
            return ReturnString(c, s + std::string(gap, fill));
        case Pad::kLeft:
            return ReturnString(c, std::string(gap, fill) + s);
        case Pad::kCenter:
            return ReturnString(c,
                                std::string(gap / 2, fill) + s + std::string(gap - gap / 2, fill));
    }
    return false;
}

}  // namespace

namespace {

// The text of str(n, width, decimals); false after the argument error.
bool StrText(Call& c, std::string* out) {
    const Value& n = c.Arg(0);
    if (!n.IsNumber()) return c.ArgError(1099);
    long long width = 0, dec = 0;
    if (!IntArg(c, 1, 0, &width) || !IntArg(c, 2, -1, &dec)) return c.ArgError(1099);
    if (c.Arg(1).IsNil() || width < 1) {
        if (dec < 0) {
            *out = StrDefault(n);
            return true;
        }
        const int d = static_cast<int>(std::min(dec, 15LL));
        *out = FormatNumber(n.number(), IntegerWidth(n) + (d > 0 ? d + 1 : 0), d);
        return true;
    }
    if (width > 255) width = 255;
    const int d = static_cast<int>(std::clamp(dec, 0LL, 15LL));
    *out = FormatNumber(n.number(), static_cast<int>(width), d);
    return true;
}

}  // namespace

bool FnStr(Call& c) {
    std::string s;
    return StrText(c, &s) && ReturnString(c, std::move(s));
}

bool FnStrZero(Call& c) {
    std::string s;
    if (!StrText(c, &s)) return false;
    ZeroPad(&s);
    return ReturnString(c, std::move(s));
}

bool FnVal(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1098);
    const std::string& s = c.Arg(0).str();
    size_t p = 0;
    while (p < s.size() && s[p] == ' ') ++p;
    bool negative = false;
    if (p < s.size() && (s[p] == '-' || s[p] == '+')) negative = s[p++] == '-';
    double v = 0;
    std::string digits;
    while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) digits += s[p++];
    int dec = 0;
    if (p < s.size() && s[p] == '.') {
        digits += s[p++];
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) {
            digits += s[p++];
            ++dec;
        }
    }
    if (!digits.empty() && digits != "." && digits.size() < 300)
        v = std::strtod(digits.c_str(), nullptr);
    c.result = Value::Number(negative ? -v : v, dec);
    return true;
}

bool FnSubstr(Call& c) {
    long long start = 0, count = 0;
    if (!c.Arg(0).IsString() || !c.Arg(1).IsNumber()) return c.ArgError(1110);
    const std::string& s = c.Arg(0).str();
    const long long len = static_cast<long long>(s.size());
    if (!IntArg(c, 1, 1, &start) || !IntArg(c, 2, len, &count)) return c.ArgError(1110);
    if (start < 0)
        start = std::max(0LL, len + start);
    else if (start > 0)
        --start;
    if (start >= len || count <= 0) return ReturnString(c, "");
    return ReturnString(
        c, s.substr(static_cast<size_t>(start), static_cast<size_t>(std::min(count, len - start))));
}

bool FnLeft(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsString() || !c.Arg(1).IsNumber() || !IntArg(c, 1, 0, &n))
        return c.ArgError(1124);
    const std::string& s = c.Arg(0).str();
    if (n <= 0) return ReturnString(c, "");
    return ReturnString(c, s.substr(0, static_cast<size_t>(std::min<long long>(n, s.size()))));
}

bool FnRight(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsString() || !c.Arg(1).IsNumber() || !IntArg(c, 1, 0, &n))
        return c.ArgError(1125);
    const std::string& s = c.Arg(0).str();
    if (n <= 0) return ReturnString(c, "");
    const size_t k = static_cast<size_t>(std::min<long long>(n, s.size()));
    return ReturnString(c, s.substr(s.size() - k));
}

bool FnPadR(Call& c) {
    return PadFn(c, Pad::kRight);
}
bool FnPadL(Call& c) {
    return PadFn(c, Pad::kLeft);
}
bool FnPadC(Call& c) {
    return PadFn(c, Pad::kCenter);
}

bool FnTrim(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1100);
    return ReturnString(c, base::TrimRight(c.Arg(0).str()));
}

bool FnLTrim(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1101);
    return ReturnString(c, base::TrimLeft(c.Arg(0).str()));
}

bool FnAllTrim(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(2022);
    return ReturnString(c, base::Trim(c.Arg(0).str()));
}

bool FnUpper(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1102);
    return ReturnString(c, base::AsciiUpper(c.Arg(0).str()));
}

bool FnLower(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1103);
    return ReturnString(c, base::AsciiLower(c.Arg(0).str()));
}

bool FnLen(Call& c) {
    const Value& v = c.Arg(0);
    if (v.IsString())
        c.result = Value::Number(static_cast<double>(v.str().size()));
    else if (v.IsArray())
        c.result = Value::Number(static_cast<double>(v.items().size()));
    else
        return c.ArgError(1111);
    return true;
}

bool FnAt(Call& c) {
    if (!c.Arg(0).IsString() || !c.Arg(1).IsString()) return c.ArgError(1108);
    const std::string& needle = c.Arg(0).str();
    const size_t p = needle.empty() ? std::string::npos : c.Arg(1).str().find(needle);
    c.result = Value::Number(p == std::string::npos ? 0 : static_cast<double>(p + 1));
    return true;
}

bool FnRat(Call& c) {
    if (!c.Arg(0).IsString() || !c.Arg(1).IsString()) {
        c.result = Value::Number(0);
        return true;
    }
    const std::string& needle = c.Arg(0).str();
    const size_t p = needle.empty() ? std::string::npos : c.Arg(1).str().rfind(needle);
    c.result = Value::Number(p == std::string::npos ? 0 : static_cast<double>(p + 1));
    return true;
}

bool FnStuff(Call& c) {
    long long start = 0, del = 0;
    if (!c.Arg(0).IsString() || !IntArg(c, 1, 0, &start) || !IntArg(c, 2, 0, &del)) {
        return ReturnString(c, "");
    }
    const std::string& s = c.Arg(0).str();
    const std::string ins = c.Arg(3).IsString() ? c.Arg(3).str() : std::string();
    const long long len = static_cast<long long>(s.size());
    start = std::clamp(start - 1, 0LL, len);
    del = std::clamp(del, 0LL, len - start);
    return ReturnString(c, s.substr(0, start) + ins + s.substr(start + del));
}

bool FnReplicate(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsString() || !c.Arg(1).IsNumber() || !IntArg(c, 1, 0, &n))
        return c.ArgError(1106);
    const std::string& s = c.Arg(0).str();
    if (n <= 0 || s.empty()) return ReturnString(c, "");
    if (static_cast<double>(n) * s.size() > kMaxString)
        return c.Fail(Error::Other("String overflow", 1234));
    std::string out;
    out.reserve(s.size() * n);
    for (long long i = 0; i < n; ++i) out += s;
    return ReturnString(c, out);
}

bool FnSpace(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsNumber() || !IntArg(c, 0, 0, &n)) return c.ArgError(1105);
    if (n <= 0) return ReturnString(c, "");
    if (n > static_cast<long long>(kMaxString))
        return c.Fail(Error::Other("String overflow", 1234));
    return ReturnString(c, std::string(static_cast<size_t>(n), ' '));
}

bool FnChr(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsNumber() || !IntArg(c, 0, 0, &n)) return c.ArgError(1104);
    return ReturnString(c, std::string(1, static_cast<char>(static_cast<unsigned char>(n & 0xFF))));
}

bool FnAsc(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1107);
    const std::string& s = c.Arg(0).str();
    c.result = Value::Number(s.empty() ? 0 : static_cast<unsigned char>(s[0]));
    return true;
}

bool FnTransform(Call& c) {
    if (!c.Arg(1).IsString()) return c.ArgError(1122);
    std::string out;
    if (!TransformValue(c.Arg(0), c.Arg(1).str(), &out)) return c.ArgError(1122);
    return ReturnString(c, out);
}

bool FnEmpty(Call& c) {
    const Value& v = c.Arg(0);
    bool empty = true;
    switch (v.type()) {
        case Type::kNil:
            break;
        case Type::kNumber:
            empty = v.number() == 0;
            break;
        case Type::kString:
            for (char ch : v.str()) {
                if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') empty = false;
            }
            break;
        case Type::kDate:
            empty = v.julian() == 0;
            break;
        case Type::kLogical:
            empty = !v.logical();
            break;
        case Type::kArray:
            empty = v.items().empty();
            break;
    }
    c.result = Value::Logical(empty);
    return true;
}

bool FnValType(Call& c) {
    c.result = Value::String(std::string(1, c.Arg(0).TypeLetter()));
    return true;
}

bool FnType(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1121);
    c.result = Value::String(c.rt.TypeOf(c.Arg(0).str()));
    return true;
}

}  // namespace kestrel::formula
