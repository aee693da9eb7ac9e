#include "platform/base/rounding.h"

#include <cmath>

namespace kestrel::base {

double YRound(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    const double f = std::pow(10.0, decimals);
    const double scaled = x * f + (x >= 0 ? 0.50001 : -0.50001);
    return std::trunc(scaled) / f;
}

double YInt(double x) {
    if (!std::isfinite(x)) return x;
    return std::trunc(x >= 0 ? x + 0.00001 : x - 0.00001);
}

}  // namespace kestrel::base
