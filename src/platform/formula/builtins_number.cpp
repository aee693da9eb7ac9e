// Number functions, YROUND and YINT.
#include <algorithm>

#include "platform/base/rounding.h"
#include "platform/formula/builtins_util.h"
#include "platform/formula/number_format.h"
#include "platform/formula/operators.h"

namespace kestrel::formula {
namespace {

bool Unary(Call& c, int number, double (*f)(double), int decimals) {
    if (!c.Arg(0).IsNumber()) return c.ArgError(number);
    c.result = Value::Number(f(c.Arg(0).number()), decimals);
    return true;
}

// round() of the family: half away from zero on the decimal digits.
double RoundHalfAway(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    if (decimals >= 0) {
        const double p = std::pow(10.0, decimals);
        const double t = std::floor((std::fabs(x) * p * 10 + 5) / 10);
        return std::copysign(t / p, x);
    }
    const double p = std::pow(10.0, -decimals);
    const double t = std::floor((std::fabs(x) / p * 10 + 5) / 10);
    return std::copysign(t * p, x);
}

}  // namespace

bool FnInt(Call& c) {
    return Unary(
        c, 1090, [](double x) { return std::trunc(x); }, 0);
}

bool FnRound(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsNumber() || !c.Arg(1).IsNumber() || !IntArg(c, 1, 0, &n))
        return c.ArgError(1094);
    const int d = static_cast<int>(std::clamp(n, -20LL, 15LL));
    double r = RoundHalfAway(c.Arg(0).number(), d);
    if (r == 0) r = 0;  // no negative zero
    c.result = Value::Number(r, std::max(d, 0));
    return true;
}

bool FnAbs(Call& c) {
    const Value& v = c.Arg(0);
    if (!v.IsNumber()) return c.ArgError(1089);
    c.result = Value::Number(std::fabs(v.number()), v.decimals(), v.width());
    return true;
}

namespace {

bool MinMax(Call& c, bool want_max, int number) {
    const Value& a = c.Arg(0);
    const Value& b = c.Arg(1);
    if (a.IsNumber() && b.IsNumber()) {
        const bool first = want_max ? a.number() >= b.number() : a.number() <= b.number();
        c.result = first ? a : b;
        return true;
    }
    if (a.IsDate() && b.IsDate()) {
        const bool first = want_max ? a.julian() >= b.julian() : a.julian() <= b.julian();
        c.result = first ? a : b;
        return true;
    }
    return c.ArgError(number);
}

}  // namespace

bool FnMax(Call& c) {
    return MinMax(c, true, 1093);
}
bool FnMin(Call& c) {
    return MinMax(c, false, 1092);
}

bool FnMod(Call& c) {
    if (!c.Arg(0).IsNumber() || !c.Arg(1).IsNumber()) return c.ArgError(1085);
    const double x = c.Arg(0).number(), y = c.Arg(1).number();
    if (y == 0) {  // division by zero gives 0
        c.result = Value::Number(0);
        return true;
    }
    double r = std::fmod(x, y);
    if (r != 0 && ((x > 0) != (y > 0))) r += y;
    c.result = Value::Number(r, std::max(c.Arg(0).decimals(), c.Arg(1).decimals()));
    return true;
}

bool FnSqrt(Call& c) {
    return Unary(
        c, 1097, [](double x) { return x > 0 ? std::sqrt(x) : 0.0; }, kSetDecimals);
}

bool FnExp(Call& c) {
    return Unary(
        c, 1096, [](double x) { return std::exp(x); }, kSetDecimals);
}

bool FnLog(Call& c) {
    return Unary(
        c, 1095, [](double x) { return std::log(x); }, kSetDecimals);
}

bool FnYRound(Call& c) {
    // Written in the language this would be int(x*10^n+0.50001)/10^n, so a
    // non-numeric argument fails the way that multiplication would.
    long long n = 2;
    if (!c.Arg(0).IsNumber()) return c.Fail(OperatorError(Op::kMul));
    if (!IntArg(c, 1, 2, &n)) return c.Fail(OperatorError(Op::kPow));
    const int d = static_cast<int>(std::clamp(n, -20LL, 15LL));
    double r = base::YRound(c.Arg(0).number(), d);
    if (r == 0) r = 0;
    c.result = Value::Number(r, std::max(d, 0));
    return true;
}

bool FnYInt(Call& c) {
    if (!c.Arg(0).IsNumber()) return c.Fail(OperatorError(Op::kAdd));
    double r = base::YInt(c.Arg(0).number());
    if (r == 0) r = 0;
    c.result = Value::Number(r);
    return true;
}

}  // namespace kestrel::formula
