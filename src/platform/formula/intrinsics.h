// The number functions the evaluator computes inline when all arguments are
// numbers (payroll formulas call them in nearly every line). The built-in
// functions use the same code, so both paths give the same result; anything
// but numbers goes through the built-in function and its errors.
#pragma once

#include <algorithm>
#include <cmath>

#include "platform/base/rounding.h"
#include "platform/formula/value.h"

namespace kestrel::formula {

enum class Intrinsic : uint8_t { kNone, kInt, kAbs, kMax, kMin, kYRound, kYInt };

/// Which intrinsic the built-in `name` (upper case) called with `argc`
/// arguments is; kNone when it is not one.
Intrinsic IntrinsicOf(const char* name, int argc);

/// Computes intrinsic `k` of x (and y when argc is 2, all numbers) into x.
/// `V` is a Value or the fast evaluator's register copy of one.
template <class V>
[[gnu::always_inline]] inline void ComputeIntrinsic(Intrinsic k, V& x, const V& y, int argc) {
    switch (k) {
        case Intrinsic::kInt:
            x.SetNumber(std::trunc(x.number()));
            break;
        case Intrinsic::kAbs:
            x.SetNumber(std::fabs(x.number()), x.decimals(), x.width());
            break;
        case Intrinsic::kMax:
            if (!(x.number() >= y.number())) x = y;
            break;
        case Intrinsic::kMin:
            if (!(x.number() <= y.number())) x = y;
            break;
        case Intrinsic::kYRound: {
            const double n = argc > 1 ? std::trunc(y.number()) : 2;
            const int d = static_cast<int>(std::clamp(std::isnan(n) ? 2.0 : n, -20.0, 15.0));
            const double r = base::YRound(x.number(), d);
            x.SetNumber(r == 0 ? 0 : r, std::max(d, 0));
            break;
        }
        case Intrinsic::kYInt: {
            const double r = base::YInt(x.number());
            x.SetNumber(r == 0 ? 0 : r);
            break;
        }
        case Intrinsic::kNone:
            break;
    }
}

/// Computes intrinsic `k` into args[0] from args[0..argc), all numbers.
inline void ComputeIntrinsic(Intrinsic k, Value* args, int argc) {
    ComputeIntrinsic(k, args[0], args[argc > 1 ? 1 : 0], argc);
}

}  // namespace kestrel::formula
