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

}  // namespace kestrel::tools
