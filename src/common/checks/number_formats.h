// The number formats of print-outs (QRMPIC…), QRMSTRS and QRMSTRZ.
//
// Every format uses the European picture: a decimal comma and full stops
// between thousands. Most print zero as blanks, "---" and three blanks, so
// that columns of zeros read as dashes. A value too wide for the grouped
// picture drops the separators (in the "A" formats a trailing blank keeps
// the width). When a value does not fit the picture its range chooses but
// fits a wider picture of the same format — a negative amount just at a
// switch point, or an amount that reaches the switch point only by rounding
// to cents — the wider picture prints it; only a value too wide for every
// picture of its format prints as asterisks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::common {

enum class NumberFormat {
    k0,
    k1,
    k2,
    k2A,
    k2B,
    k2C,
    k2D,
    k2E,
    k3,
    k3A,
    k4,
    k5,
    k5A,
    k5B,
    k6,
    k6A,
    k6B,
    k7,
    k7A,
    k7B,
    k8,
    k8A,
    k8B,
    k9,
    k10,
    k10A,
    k11,
    k11A,
    k11B,
    k11C,
    k12,
    k13,
};

/// QRMPIC…: `x` in the format. `dash` is what the routines' missing second
/// argument meant: QRMPIC1, QRMPIC3A and QRMPIC4 print zero as dashes only
/// with it, and through the picture without it; the other formats ignore it.
std::string Qrmpic(NumberFormat format, double x, bool dash = true);

/// The format of a routine name ("QRMPIC5A", any case); nothing when unknown.
std::optional<NumberFormat> NumberFormatByName(std::string_view name);

/// QRMSTRS: blanks of `width` for 0, else the number rounded to a whole
/// number, right-aligned in `width` (asterisks when it does not fit).
std::string Qrmstrs(double x, int width);

/// QRMSTRZ: the number rounded to a whole number with leading zeros to
/// `width` ("-05" for -5 in 3); asterisks when it does not fit.
std::string Qrmstrz(double x, int width);

}  // namespace kestrel::common
