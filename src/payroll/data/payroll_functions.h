// The payroll function library: the functions payroll formulas call beside
// the engine's own and working time's. Each group registers itself here;
// every function reads the host's current employee, list and context, and
// leaves the work areas as it found them (AreasAsFound).
#pragma once

namespace kestrel::payroll {

class PayrollHost;

/// Registers every group with the host's engine (the host's constructor
/// calls it).
void RegisterPayrollFunctions(PayrollHost& host);

/// The groups, each in its own file.
void RegisterSumFunctions(PayrollHost& host);  // component sums and tax-record sums
void RegisterEmploymentFunctions(
    PayrollHost& host);  // pay records, calendars, loans, PPK, attributes

}  // namespace kestrel::payroll
