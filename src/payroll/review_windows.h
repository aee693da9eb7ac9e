// The windows of the review of list positions (4.6) that sum up the
// current employee's positions: F3 the payable components of the list, F4
// every component of the list, F9 the payable components of the month.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "payroll/data/position_review.h"

namespace kestrel::payroll {

enum class SummaryKind {
    kPayableOfList,   // F3: "Składniki "do wypłaty" z listy płac", "RAZEM:"
    kAllOfList,       // F4: "Wszystkie składniki z listy płac", "KWOTA WYPŁATY:"
    kPayableOfMonth,  // F9: "Składniki "do wypłaty" za miesiąc", "RAZEM:"
};

/// Shows `summary` in a window over the work area until Esc: the heading of
/// `kind`, `caption` (CP852: the list or month and the employee) under it,
/// the lines ("###" after a deduction in F3 and F9; F4 two positions a line
/// with "##" after auxiliary amounts and deductions) and the total. The
/// screen is restored afterwards.
void ShowSummary(common::Runtime& rt, SummaryKind kind, const std::string& caption,
                 const Summary& summary);

/// An amount as the review shows it: 14 characters, decimal comma.
std::string AmountText(double amount);

}  // namespace kestrel::payroll
