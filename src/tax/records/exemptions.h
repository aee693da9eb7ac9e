// The tax exemptions granted to employees (PKZPRAC): NR_PRAC, the date
// granted DATA_LIM and the amount LIMIT_POD. An employee may have several
// in a year; the payroll's SUMAPRZZW sums those of the payment year granted
// before the payment date, so a record counts from its date on and a
// deleted one no more.
//
// Records are kept for the current year only: the settlement year of
// PKSTER. Messages are UTF-8; a failed write abandons with "Błąd zapisu:
// PKZPRAC".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/base/dates.h"

namespace kestrel::tax {

struct Exemption {
    std::string employee;  // NR_PRAC
    base::Date granted;    // DATA_LIM
    double amount = 0;     // LIMIT_POD
    uint32_t recno = 0;    // the record in PKZPRAC (0: not stored)
};

/// The current year: the settlement year of PKSTER (abandons as
/// worktime::ReadSettlementMonth does when PKSTER has none).
int ExemptionYear(common::Runtime& rt, common::Tables& tables);

/// The visible exemptions of `year`, of employee `employee` only when it is
/// not empty, in the order of PKZPRAC1 (employee, then date).
std::vector<Exemption> ExemptionsOf(common::Tables& tables, int year,
                                    const std::string& employee = {});

/// Why a new exemption of `year` is refused ("" when it may be stored):
/// "Data spoza roku " + year for a date that is empty or of another year,
/// "Kwota musi być większa od zera" for an amount not above 0 (or not
/// fitting LIMIT_POD, N 9.2: "Kwota za duża").
std::string ExemptionRefusal(int year, const base::Date& granted, double amount);

/// Stores a new exemption (a deleted record reused, else a new one) and
/// gives its record number; the refusal, when there is one, is returned in
/// *refusal and nothing is written.
uint32_t AddExemption(common::Tables& tables, int year, const Exemption& e, std::string* refusal);

/// Deletes the exemption stored in record `recno` of PKZPRAC.
void DeleteExemption(common::Tables& tables, uint32_t recno);

}  // namespace kestrel::tax
