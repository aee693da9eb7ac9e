// The host functions working-time formulas may call besides the built-ins
// and the user functions: the one place where they are registered with the
// engine of a FormulaHost (the schedule functions and those that follow).
#pragma once

#include "common/tables/table_layer.h"
#include "platform/formula/runtime.h"
#include "worktime/data/absence_functions.h"

namespace kestrel::worktime {

/// Registers every working-time host function with `engine`; called by
/// each FormulaHost before anything is compiled. The functions read their
/// tables through `tables`; the absence functions count for the employee
/// and month of `absences`, which the host keeps up to date.
void RegisterHostFunctions(common::Runtime& rt, common::Tables& tables, formula::Runtime& engine,
                           const AbsenceContext& absences);

}  // namespace kestrel::worktime
