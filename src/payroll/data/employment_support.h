// What the employment functions share inside the payroll data library: the
// current employee's register data, the system month and the raising of a
// function's own error text.
#pragma once

#include <string>
#include <string_view>

#include "payroll/data/payroll_host.h"
#include "platform/base/dates.h"
#include "platform/formula/runtime.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll::employment {

/// What the employment functions read of the current employee's record.
struct Person {
    bool found = false;
    std::string number;
    std::string group = "  ";   // GRUPA_KAL
    base::Date hired;           // DATA_ZATR
    base::Date dismissed;       // DATA_ZWOLN
    base::Date born;            // DATA_URODZ
    std::string sex;            // PLEC_ "M" or "K"
    std::string retirement;     // TYTUL_EMER
    bool legal_person = false;  // OS_PRAWNA
    bool non_staff = false;     // NIE_PRAC
    double etat_l = 0;
    double etat_m = 0;
    std::string identity;  // the clear PESEL, trimmed
};

/// The host's current employee, read through the register's number index
/// (PKPRAC left as found); not found without the register.
Person ReadPerson(PayrollHost& host);

/// The system month: ROK_ and MC_ of PKSTER.
worktime::SettlementMonth SystemMonth(PayrollHost& host);

/// `m` moved `n` months back (forward for a negative n).
worktime::SettlementMonth Back(const worktime::SettlementMonth& m, int n);

/// Whether the company has `table` (open, or its file in the data directory).
bool HasTable(PayrollHost& host, std::string_view table);

/// Fails the call with the function's own text (UTF-8).
bool Fail(PayrollHost& host, formula::Call& c, std::string_view utf8);

/// The working-time fraction ETAT_L / ETAT_M; a zero denominator gives 0,
/// as division does in formulas.
double Fraction(double l, double m);

/// a / b, 0 when b is 0.
double Divide(double a, double b);

/// ZAPRSTR(naz, wrt): writes the current employee's extended attribute.
bool WriteAttribute(PayrollHost& host, formula::Call& c);

/// Registers the calendar, absence and working-time fraction functions.
void RegisterCalendarFunctions(PayrollHost& host);

}  // namespace kestrel::payroll::employment
