#include "payroll/data/function_checks.h"

#include "payroll/data/payroll_records.h"
#include "platform/base/text.h"

namespace kestrel::payroll {
namespace {

// What the formula engine says of a definition with this name and these
// parameters (an engine of its own: nothing is defined anywhere else).
formula::DefineResult TryDefinition(std::string_view name, std::string_view params) {
    formula::Runtime scratch;
    formula::Error error;
    return scratch.DefineFunction(name, params, "0", &error);
}

}  // namespace

std::string FunctionNameProblem(common::Tables& tables, const formula::Runtime& engine,
                                std::string_view name) {
    const std::string trimmed = base::Trim(name);
    if (TryDefinition(trimmed, "") == formula::DefineResult::kBadName)
        return tables.rt().Text("Błędna nazwa funkcji");
    if (engine.HasFunction(trimmed)) return tables.rt().Text("Istnieje funkcja o takiej nazwie");
    if (HasKey(tables, "PKFUNC", "PKFUNC1", base::AsciiUpper(trimmed), 10))
        return tables.rt().Text("Istnieje definicja o takiej nazwie");
    return {};
}

std::string ParameterListProblem(common::Runtime& rt, std::string_view params) {
    if (TryDefinition("F", params) == formula::DefineResult::kBadParameters)
        return rt.Text("Błędna lista parametrów");
    return {};
}

std::string SelectionSetProblem(common::Tables& tables, std::string_view symbol) {
    if (HasKey(tables, "PKZEST", "PKZEST1", base::Cp852Upper(base::Trim(symbol)), 4))
        return tables.rt().Text("Istnieje zestaw o takim symbolu");
    return {};
}

}  // namespace kestrel::payroll
