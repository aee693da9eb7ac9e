// Numbers as the xBase family prints them.
#pragma once

#include <string>

#include "platform/formula/value.h"

namespace kestrel::formula {

/// Decimals of division, exponentiation and the other results that carry
/// no decimals of their own (SET DECIMALS of the family; always 2 here).
inline constexpr int kSetDecimals = 2;

/// |x| rounded half away from zero to `decimals` places, as digits with a
/// decimal point ("1234.50"); a leading '-' when x < 0 and the rounded value
/// is not zero. The rounding scales by 10^(decimals+1) first, so that 2.345
/// prints as 2.35.
std::string FormatFixed(double x, int decimals);

/// str(x, width, decimals): right-aligned in `width`; `width` asterisks when
/// it does not fit or x is not finite.
std::string FormatNumber(double x, int width, int decimals);

/// strzero() from the text of str(): blanks and the minus sign become
/// zeros, and a negative number gets its sign back in front.
void ZeroPad(std::string* s);

/// Width of the integer part of a number value: its own, or the default
/// (10, or 20 for magnitudes of 10^10 and more).
int IntegerWidth(const Value& v);

/// str(v) without a width: integer width plus decimals.
std::string StrDefault(const Value& v);

/// The canonical one-line form of a value: numbers with their decimals,
/// strings in double quotes, dates YYYY-MM-DD, .T./.F., NIL, arrays in braces.
std::string Canonical(const Value& v);

}  // namespace kestrel::formula
