#include "payroll/data/payroll_functions.h"

#include "payroll/data/account_functions.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/tax_functions.h"

namespace kestrel::payroll {

void RegisterPayrollFunctions(PayrollHost& host) {
    RegisterTaxFunctions(host.rt(), host.engine());
    RegisterSumFunctions(host);
    RegisterEmploymentFunctions(host);
    RegisterAccountFunctions(host.engine());
}

}  // namespace kestrel::payroll
