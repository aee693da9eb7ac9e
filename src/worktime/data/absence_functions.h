// The absence functions of the formula language and the hours per day of
// an employee, over the absence lines of PKNIEOB.
//
//   ILNBNAR(nr, code[, second])  quantities of the year up to the month
//   SUMAGODZ2(code[, back])      second quantities of a month's lines
//   ILDCNB(codes, n)             days of a continuous absence after day n
//   ILNBDPR(codes[, back[, same[, a4[, a5]]]])  absence on working days
//   NAZNIEOB(code)               the name of an absence code
//
// "The current employee" and the settlement month are those of the
// AbsenceContext the formula host fills when it loads an employee. Lines
// are read through the indexes that begin with the employee, so a walk
// back over earlier months reads only that employee's lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"
#include "platform/formula/runtime.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

/// Whom the absence functions count for; set by FormulaHost::LoadEmployee().
struct AbsenceContext {
    std::string employee;  // NR_PRAC, six characters
    SettlementMonth month;
};

/// QRMILGP: hours per day of `employee` in `month`. Disability degree "2"
/// or "3" (TYTUL_STNP): 7, or 8 with a standing allowance "ORZ " in force
/// with a non-zero value; everybody else 8, or 7.5833333333 (7 h 35 min)
/// with "AGP " in force with a non-zero value. An allowance is in force
/// when it is not time-limited or its month range contains `month`.
double HoursPerDay(common::Runtime& rt, common::Tables& tables, std::string_view employee,
                   const SettlementMonth& month);

/// The working-time fraction ETAT_L / ETAT_M; 1 when either part is zero
/// (a person without a fraction counts as full time, never as a division
/// by zero).
double WorkingFraction(double numerator, double denominator);

/// PKNIEOB opened through `tables` (unless open there) with the indexes by
/// entry month + employee (PKNIEOB1) and employee + calendar month
/// (PKNIEOB8).
dbf::WorkArea& AbsenceLines(common::Tables& tables);

/// Calls `each` with every line (not deleted) of `employee` entered in
/// `month`, in line order.
void ForEachLineOfMonth(common::Tables& tables, std::string_view employee,
                        const SettlementMonth& month,
                        const std::function<void(const dbf::Record&)>& each);

/// Registers the five functions with `engine`; they read the tables of
/// `tables` for the employee and month of `context`, which must outlive
/// every evaluation.
void RegisterAbsenceFunctions(common::Runtime& rt, common::Tables& tables, formula::Runtime& engine,
                              const AbsenceContext& context);

}  // namespace kestrel::worktime
