// The help texts of the payroll formula functions: what the formula
// editor's window "Dostępne funkcje" (F1) lists, one line a function.
#pragma once

#include <span>

namespace kestrel::payroll {

struct FunctionHelp {
    const char* name;         // as formulas call it, upper case
    const char* arguments;    // "m; [i]": brackets mark optional arguments
    const char* description;  // UTF-8, one line of at most kHelpWidth characters
};

/// The widest description the help window shows whole.
inline constexpr int kHelpWidth = 44;

/// The functions of the payroll library, then the functions of the other
/// subsystems that formulas call, in the order the window lists them.
std::span<const FunctionHelp> PayrollFunctionHelp();

}  // namespace kestrel::payroll
