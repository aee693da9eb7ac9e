// The sums of components and of the tax records.
#include "payroll/data/payroll_functions.h"
#include "payroll/data/payroll_host.h"

namespace kestrel::payroll {

void RegisterSumFunctions(PayrollHost& /*host*/) {}

}  // namespace kestrel::payroll
