// The functions of employment: monthly pay records, calendar days and hours,
// absences back in time, the working-time fraction, open lists, the loan
// fund, PPK rates and the writing of extended attributes.
#include "payroll/data/payroll_functions.h"
#include "payroll/data/payroll_host.h"

namespace kestrel::payroll {

void RegisterEmploymentFunctions(PayrollHost& /*host*/) {}

}  // namespace kestrel::payroll
