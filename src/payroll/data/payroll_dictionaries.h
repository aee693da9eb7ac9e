// The payroll dictionaries of menu 8 described as data, for the common
// maintenance dialog (common/dictionary/): income types (8.2), list symbols
// (8.3), payroll components (8.4), user functions (8.5), selection sets
// (8.9) and optional components (8.A). Their further checks are the data
// functions of component_checks.h and function_checks.h, wired in by the
// screens (payroll/dictionaries.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/dictionary/dictionary.h"

namespace kestrel::payroll {

/// Every payroll dictionary of menu 8, in menu order.
const std::vector<common::Dictionary>& PayrollDictionaries();

/// The dictionary of menu entry `menu` ("8.4"), or nullptr.
const common::Dictionary* FindPayrollDictionary(std::string_view menu);

/// The positions of PIT-11 (version 29) an income type may name in
/// LP_PIT11Q, blank first.
const std::vector<std::string>& Pit11Positions();

/// The rows of PIT-4R an income type may name in LP_PIT4RN, blank first:
/// "1" employment, "2", "3" and "4" the other sections of the tax advances.
const std::vector<std::string>& Pit4rRows();

}  // namespace kestrel::payroll
