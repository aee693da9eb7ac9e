#include "payroll/data/payroll_functions.h"

#include "payroll/data/payroll_host.h"

namespace kestrel::payroll {

void RegisterPayrollFunctions(PayrollHost& host) {
    RegisterSumFunctions(host);
    RegisterEmploymentFunctions(host);
}

}  // namespace kestrel::payroll
