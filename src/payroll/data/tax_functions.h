// The tax-scale functions of the payroll formulas.
//
//   STAWKAPOD(k)          the rate of the loaded tax scale for amount k
//   ULGAKS(brutto, month) the middle-class relief of the first months of 2022
//
// STAWKAPOD reads the scale QRMTABELA loaded into the public variables
// (tax/data/tax_scale.h), the scale of the payment month, which the
// recalculation loads before it evaluates. Argument errors are formula
// errors with the functions' own texts.
#pragma once

#include "common/session/runtime.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll {

/// ULGAKS for a cumulative gross `brutto` after `month` months (1-12): for
/// a month above 5 nothing; otherwise, with m the month, from 5701*m to
/// 8549*m (brutto*6.68/100 - 380.5*m)/0.17, above it up to 11141*m
/// (819.08*m - brutto*7.35/100)/0.17, else 0; rounded to grosze (YROUND).
double MiddleClassRelief(double brutto, int month);

/// Registers STAWKAPOD and ULGAKS with `engine`; their error texts are
/// converted by `rt`'s letter set. STAWKAPOD reads `engine`'s public
/// variables.
void RegisterTaxFunctions(common::Runtime& rt, formula::Runtime& engine);

}  // namespace kestrel::payroll
