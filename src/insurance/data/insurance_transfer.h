// The monthly transfer of the payroll to the insurance records (6.2).
//
// For the system month of PKSTER the transfer withdraws the month's records
// that are not locked (NIE_AKT_62) and builds them again, employee by
// employee and title by title, from the payroll lists paid in the month,
// the working time and absences of the month and the employee register:
// every value comes from the formula of its field in the algorithm table of
// the title group (PKASKLD, PKAPDST, PKAOKRN, PKAZASL, PKASKWN, PKAWYNG).
//
// AKT_ZUS is cleared (and NIE_SPR set) and committed before anything else
// is written, and set again only when the transfer ends complete, so a run
// stopped anywhere leaves the month marked as not transferred; a rerun
// gives the records one uninterrupted run gives.
//
// The run, after the question: the namespace of the payroll formulas (every
// code 0, the user functions of PKFUNC compiled); AKT_ZUS cleared and
// NIE_SPR set, committed; the month withdrawn (QRMANULRMC): with NAGLWPPM
// and a list of the month paid in the previous month, the previous month's
// PKSKLAD records that are neither locked nor marked WYP_MC_P, then every
// record of the month that is not locked, of PKSKLAD, PKZASIL (by list
// month), PKKSKWN (with NAGLWPPM first the previous month's WYP_MC_P
// ones), PKWYNAG (its second-pass fields zeroed), PKPODST and PKOKRES;
// each employee of the register that is not a legal person with his
// titles; then AKT_ZUS set, the print files TEMP*.PRT of the data
// directory deleted. A record found again by its key reuses its record
// (a deleted one is recalled with KOREKTA_ and NIE_AKT_62 cleared); a
// record locked by NIE_AKT_62 is never touched, in any table or pass.
//
// An employee's titles (insurance_titles.h) are taken in turn; a title
// group already handled is skipped (except "12"). The payroll variables are
// the namespace of the recalculation (payroll_host.h) loaded for the month
// (allowances, extended values, hours of PKCZAS, days of PKNIEOB), with the
// component variables holding, for each step, the sums of the employee's
// items it names:
//   PKSKLAD  items paid in the month (and, for the previous month's record
//            with WYP_MC_P, those paid in the previous month); during these
//            formulas NAGLMINPR6, NAGLPR25 and NAGLZPCH are forced to false,
//            true, false for months after 2007 and put back afterwards;
//   PKPODST  items of the lists paid in the month that belong to the tax
//            year, one record per year (groups other than "12" and "22");
//   PKOKRES  items paid in the month, for WARUNEK_ (empty: no periods);
//   PKZASIL  a component row: the items of the one list of the month that
//            paid the component, one line per such list, declared in its
//            payment month; an absence row: the items of the lists of the
//            month, with the absence's PKNIEOB record current. An absence
//            is served when its code is marked DEKL_ZUS in PKRNB and the
//            code's TYT_PODM_P is blank or the title group;
//   PKKSKWN  items paid in the month;
//   PKWYNAG  items of the lists of the month (first pass), then those of
//            each list of the month in payment-date order (second pass,
//            added).
// A former employee (dismissed before the month) is declared under "3000"
// plus his two codes for titles of groups "01" and "04", by the algorithms
// of his own group.
//
// Messages are CP852.
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/base/dates.h"

namespace kestrel::insurance {

/// What the screen shows while the transfer goes, and whether the operator
/// wants it stopped.
class TransferObserver {
  public:
    virtual ~TransferObserver() = default;
    /// "Pracownik:" and "Tytuł ubezpieczenia:" (the six-character title).
    virtual void Employee(const std::string& employee, const std::string& title) {
        (void)employee, (void)title;
    }
    /// Asked between employees: true when Esc was pressed and "Przerwać
    /// przepisywanie?" answered yes.
    virtual bool Interrupted() { return false; }
    /// Asked while the month is withdrawn: true when Esc was pressed (the
    /// transfer ends at once, with a tone).
    virtual bool EscapePressed() { return false; }
    /// "Błędna definicja funkcji " / "Błędna nazwa funkcji " and the name
    /// in double quotes: true goes on (the function stays unbound), false
    /// (Esc) ends the transfer.
    virtual bool FunctionError(const std::string& message) {
        (void)message;
        return true;
    }
};

/// What the warning screen says before "Dekretować?".
struct TransferPreview {
    int year = 0;  // the month of PKSTER
    int month = 0;
    /// Records of the month corrected by hand (KOREKTA_) and not locked,
    /// which the transfer will replace.
    int corrected_unlocked = 0;
};

/// Counts the records of the month (PKSKLAD, PKKSKWN, PKWYNAG, PKPODST,
/// PKOKRES by their month, PKZASIL by list month) that are visible,
/// corrected and not locked. Tables the company lacks count none.
TransferPreview PreviewTransfer(common::Runtime& rt, common::Tables& tables);

struct TransferOutcome {
    /// The message that stopped the run ("Zdublowany tytuł ubezpieczenia",
    /// a formula's error line, ...); "" when it ran to the end.
    std::string message;
    bool completed = false;         // AKT_ZUS set
    bool interrupted = false;       // stopped by the operator
    bool check_algorithms = false;  // PKASPRZ has rows: 6.A.2 is due
    int employees = 0;
    int records = 0;  // records written, all target tables
};

/// The transfer (after "Dekretować?" was answered yes). A refusal of the
/// table layer (common::Abandon) ends it with its message too. The operator
/// needs right mask 4: the screen asks before it calls this.
TransferOutcome Transfer(common::Runtime& rt, common::Tables& tables,
                         TransferObserver* observer = nullptr);

/// The months the annual health settlement of an April transfer reads:
/// January to December of the previous year and January of `year`; none
/// in another month. In April the transfer opens PKRZDRO (when the company
/// has it) with these months prepared.
std::vector<base::YearMonth> HealthSettlementMonths(int year, int month);

}  // namespace kestrel::insurance
