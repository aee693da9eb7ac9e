// Small helpers shared by the builtins_*.cpp files.
#pragma once

#include <cmath>
#include <string>

#include "platform/formula/builtins.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {

/// Argument i as a whole number (truncated), or `fallback` when not given
/// (NIL). False when it is given and is not a number.
inline bool IntArg(const Call& c, int i, long long fallback, long long* out) {
    const Value& v = c.Arg(i);
    if (v.IsNil()) {
        *out = fallback;
        return true;
    }
    if (!v.IsNumber()) return false;
    const double d = v.number();
    if (!std::isfinite(d))
        *out = d > 0 ? (1LL << 40) : -(1LL << 40);
    else if (d > 1e12)
        *out = 1LL << 40;
    else if (d < -1e12)
        *out = -(1LL << 40);
    else
        *out = static_cast<long long>(std::trunc(d));
    return true;
}

/// Sets the call's result to a string, failing with "String overflow" when
/// it is longer than kMaxString.
inline bool ReturnString(Call& c, std::string s) {
    if (s.size() > kMaxString) return c.Fail(Error::Other("String overflow", 1234));
    c.result = Value::TakeString(std::move(s));
    return true;
}

}  // namespace kestrel::formula
