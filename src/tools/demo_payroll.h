// The payroll of the demo company: the shipped payroll setup (the table
// layer filled the company's payroll tables with it) completed by the
// standard functions of the formula updater, and one payroll month opened
// and computed on the demo employees.
#pragma once

#include <string>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::tools {

/// Runs the formula updater in the company directory `dir`: the standard
/// functions due, and the setup records the company lacks.
base::Status AddDemoPayrollSetup(const std::string& dir, const base::Clock& clock);

/// One payroll month computed on the demo employees: a list of symbol "A"
/// opened for the month of the control record, paid on its last day, and
/// recalculated, so that its positions can be reviewed (4.6). The list is
/// left open. Nothing is done when the company has lists already, nor for
/// a month without the demo's tax scale.
base::Status AddDemoPayrollMonth(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::tools
