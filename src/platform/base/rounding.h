// The two rounding routines on which all money arithmetic rests.
//
// Both work on binary doubles the way the stored formulas always have: a
// margin of 0.00001 absorbs representation errors, so 2.345 (stored as
// 2.34499999...) still rounds up. Every part of the system that rounds money
// calls these; nothing else may round amounts its own way.
#pragma once

namespace kestrel::base {

/// Rounds half away from zero to `decimals` places: the integer part
/// (towards zero) of x*10^n + 0.50001 for x >= 0, of x*10^n - 0.50001 for
/// x < 0, divided by 10^n. 2.345 -> 2.35, -2.345 -> -2.35, 2.34499 -> 2.34,
/// 0.00499 -> 0.00. Negative `decimals` round to tens, hundreds ...
double YRound(double x, int decimals = 2);

/// Truncates towards zero with a margin: integer part of x + 0.00001 for
/// x >= 0 and of x - 0.00001 for x < 0. 2.999999 -> 3, 2.5 -> 2.
double YInt(double x);

}  // namespace kestrel::base
