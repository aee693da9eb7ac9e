// A small payroll setup of the demo company: two list symbols and a handful
// of components (base pay from the register, an entered bonus, gross pay,
// the employee's contributions, a simplified tax advance and the amount
// paid out), so that a payroll month can be opened and computed on the demo
// employees. The rates are round illustrations, not the statutory setup.
#pragma once

#include <string>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::tools {

/// Fills PKSLST and PKSPL of the company directory `dir` when they are
/// empty; tables with rows are left alone.
base::Status AddDemoPayrollSetup(const std::string& dir, const base::Clock& clock);

/// One payroll month computed on the demo employees: a list of symbol "A"
/// opened for the month of the control record, paid on its last day, and
/// recalculated, so that its positions can be reviewed (4.6). The list is
/// left open. Nothing is done when the company has lists already, nor for
/// a month without the demo's tax scale.
base::Status AddDemoPayrollMonth(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::tools
