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
// Messages are CP852.
#pragma once

#include <string>

#include "common/tables/table_layer.h"

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
};

/// What the warning screen says before "Dekretować?".
struct TransferPreview {
    int year = 0;  // the month of PKSTER
    int month = 0;
    /// Records of the month corrected by hand (KOREKTA_) and not locked,
    /// which the transfer will replace.
    int corrected_unlocked = 0;
};

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

/// The transfer (after "Dekretować?" was answered yes).
TransferOutcome Transfer(common::Runtime& rt, common::Tables& tables,
                         TransferObserver* observer = nullptr);

}  // namespace kestrel::insurance
