// The recalculation of a payroll list (4.5), and of one employee of it (the
// F9 key of the component entry, 4.4).
//
// For every employee of the scope the run takes the month's working time
// and absences, computes the attendance components that have algorithms,
// then walks the payroll components in calculation order and stores each
// employee's amounts as list positions of PKPLACE. The engine knows no
// statutory rate: contributions, tax and net pay are components whose
// algorithms call the function library.
//
//   Recalculation run(rt, tables, list, &observer);
//   if (std::string m = run.Check(); !m.empty()) { show(m); return; }
//   run.OpenTables(exclusive);
//   if (std::string m = run.CheckScope(request); !m.empty()) { show(m); ... }
//   RecalcOutcome done = run.Run(request);
//
// There is no transaction: an interrupted or failed run leaves the employees
// visited so far recomputed and the rest unchanged, and can be run again.
// Deleted records are reused for the same key, so reruns do not grow the
// tables. Messages are CP852.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_records.h"
#include "platform/base/dates.h"

namespace kestrel::payroll {

/// Which employees a run computes.
enum class RecalcScope { kWhole = 1, kDepartment = 2, kSet = 3 };

struct RecalcRequest {
    RecalcScope scope = RecalcScope::kWhole;
    std::string department;  // scope 2: the department's code (4 characters)
    std::string set;         // scope 3: the selection set of PKZEST (4 characters)
};

/// What the screen, or the command line, shows and answers while a run goes.
/// Every method has a silent default.
class RecalcObserver {
  public:
    virtual ~RecalcObserver() = default;
    /// A warning the operator acknowledges; the run goes on (a duplicated
    /// code of the namespace).
    virtual void Warn(const std::string& message) { (void)message; }
    /// "Błędna definicja funkcji " / "Błędna nazwa funkcji " and the name:
    /// true goes on, false (Esc) stops the run.
    virtual bool FunctionError(const std::string& message) {
        (void)message;
        return true;
    }
    /// The employee being computed: his number, or his name in scope 2.
    virtual void Employee(const std::string& shown) { (void)shown; }
    /// The attendance component being computed ("" clears the row).
    virtual void Attendance(const std::string& code) { (void)code; }
    /// The payroll component being computed.
    virtual void Component(const std::string& symbol) { (void)symbol; }
    /// Asked before each employee: true ends the run (Esc pressed and the
    /// operator answered "t" to "Przerwać przeliczanie?").
    virtual bool Interrupted() { return false; }
};

struct RecalcOutcome {
    std::string message;       // the message that ended the run; "" when it completed
    bool interrupted = false;  // the operator ended it
    int employees = 0;         // employees computed
    int positions_written = 0;
    int positions_deleted = 0;
};

class Recalculation {
  public:
    /// A run over `list` (an open list). `observer` may be nullptr.
    Recalculation(common::Runtime& rt, common::Tables& tables, const PayrollList& list,
                  RecalcObserver* observer);
    ~Recalculation();
    Recalculation(const Recalculation&) = delete;
    Recalculation& operator=(const Recalculation&) = delete;

    /// The checks before the question: the tax scale of the payment month
    /// (its own four messages), the list symbol, the month of PKSTER ("Rok/
    /// Miesiac niezgodne z PKSTER"), the valorisation index ("Błędny indeks
    /// PKWALOR"), the duplicated codes of the namespace (warnings through
    /// the observer). "" when the run may go on, else the message that stops
    /// it.
    std::string Check();

    /// Opens PKPLACE and PKCZAS (and PKPRAC when NAGLBLK locks employee
    /// records) exclusively or shared; without NAGLBLK the register is read
    /// only.
    void OpenTables(bool exclusive);

    /// The department or set of the request: "Błędny dział", "Brak
    /// pracowników w tym dziale" ("Brak os.prawnych w tym dziale" on a list
    /// for legal persons), "Błędny zestaw"; "" when it is fine.
    std::string CheckScope(const RecalcRequest& request);

    /// The run over the scope (after Check and OpenTables): the month's
    /// flags cleared (not on a list for legal persons), the employees of
    /// the list kind in employee-number order (scope 2: the department's, in
    /// its order), first those without a dismissal date, then the others.
    /// A whole-list run first deletes the list's positions of numbers with
    /// no register record of the list kind and the month's attendance
    /// records of numbers the register lacks; it never deletes anything of
    /// an employee of the list kind but what his own computation decides
    /// (and all his positions when he is not of the list's algorithm
    /// group). An error of a formula, "Błędna wartość algorytmu" and
    /// "Błędny symbol listy płac" (the list closed meanwhile) end the run
    /// with the message; a code that cannot be a variable and IL_MC_WST out
    /// of range abandon (common::Abandon).
    RecalcOutcome Run(const RecalcRequest& request);

    /// One employee as the run computes him (from the loading of his
    /// contexts to his last component), for the component entry's F9; the
    /// run is prepared on the first call (after Check).
    RecalcOutcome ComputeEmployee(std::string_view number);

    /// The formula host of the run, prepared by the first Run or
    /// ComputeEmployee: the component entry's analysis evaluates one
    /// component over the employee it has loaded.
    PayrollHost& host();

    /// What the run keeps between its steps; defined for the files of the
    /// recalculation only (recalc_state.h).
    struct State;

  private:
    std::unique_ptr<State> state_;
};

/// The age rule of TBZK55M60 for payment year `year` and month `month`:
/// take the day before the birth date (YYYYMMDD), its year b and month bm; a
/// man ("M") qualifies when year - b > 60, or = 60 and month > bm; a woman
/// ("K") when year - b > 55, or = 55 and month > bm. No birth date or
/// another sex code: false.
bool OverRetirementAge(char sex, std::string_view birth, int year, int month);

/// The age rule of TBZ26: under 26 at date `d`: never before August 2019 or
/// after 2050; not when the birth date is empty or the birth year plus 13 is
/// greater than the year of `d`; otherwise when the 26th birthday (29
/// February becoming 28 February in a common year) is later than `d`.
bool UnderTwentySix(std::string_view birth, const base::Date& d);

}  // namespace kestrel::payroll
