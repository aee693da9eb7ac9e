// The checks of a user function's name and parameters (menu 8.5) and of a
// selection set's symbol (menu 8.9), without a screen.
#pragma once

#include <string>
#include <string_view>

#include "common/tables/table_layer.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll {

/// A new user function's name (FUN_): "" when it can be defined; otherwise,
/// CP852, in this order: "Błędna nazwa funkcji" (not a letter followed by
/// up to nine letters or digits), "Istnieje funkcja o takiej nazwie" (a
/// built-in function of the formula language or a function registered with
/// `engine` — the payroll library — has the name, or abbreviates to it),
/// "Istnieje definicja o takiej nazwie" (PKFUNC has it, in any case).
std::string FunctionNameProblem(common::Tables& tables, const formula::Runtime& engine,
                                std::string_view name);

/// A parameter list (PAR_): "" when it is empty or comma-separated names,
/// else "Błędna lista parametrów" (CP852).
std::string ParameterListProblem(common::Runtime& rt, std::string_view params);

/// A new selection set's symbol (ZESTAW_): "" when PKZEST has no set of
/// that symbol in any case, else "Istnieje zestaw o takim symbolu" (CP852).
std::string SelectionSetProblem(common::Tables& tables, std::string_view symbol);

}  // namespace kestrel::payroll
