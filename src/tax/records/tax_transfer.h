// The transfer of the month's closed payroll lists to the income records of
// PKDOCH (7.2) and its emergency undo (7.7).
//
// The transfer takes, for the system month of PKSTER, the lists of that
// list month marked GENER_DOCH and already closed, and for every employee
// of such a list sums the amounts of his positions into one record per
// income kind: the component's TYTUL_WYP names the kind, its NAZWA_POLA the
// field the amount goes to. In 2022 (and 2023, unless a list of the month
// paid in 2023 already carries a second component of a pair) the pairs of
// components below follow their own rule: the second is only marked, the
// first adds to PODATEK_ of the second's kind.
//
// An employee's records of a list are computed whole, from all his
// positions on the list, before anything is written, and written as values,
// not added to what is there; only then are his positions marked AKT_DOCH.
// A run stopped anywhere (a kill, a refusal) and run again therefore gives
// the records one uninterrupted run gives: an employee whose positions are
// all marked is done and left alone, any other is computed again whole.
//
// The undo clears the marks first and then deletes the month's automatic
// records (by list year and month), so that a stop between the two leaves
// unmarked positions with records the next transfer rewrites. Hand-entered
// records (AUTOMAT_ false) are never touched.
//
// Messages are CP852; a failed write abandons with "Błąd zapisu: " and the
// table.
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::tax {

/// What the screen shows while the transfer goes.
class TransferObserver {
  public:
    virtual ~TransferObserver() = default;
    /// "Nr/Typ listy płac:", "Pracownik:", "Składnik płacowy:", "Tytuł wypłaty:".
    virtual void Position(const payroll::PayrollList& list, const std::string& employee,
                          const std::string& symbol, const std::string& income_kind) {
        (void)list, (void)employee, (void)symbol, (void)income_kind;
    }
};

/// The lists of the system month (ROK_LST and MC_LST) marked GENER_DOCH, open
/// ones included, in the order of PKLISTY1.
std::vector<payroll::PayrollList> ListsOfTheMonth(common::Runtime& rt, common::Tables& tables);

struct TransferOutcome {
    std::string message;  // the refusal that stopped the run; "" when it completed
    int records = 0;      // records created or recalled ("Ilość przepisanych rekordów: ")
    int employees = 0;    // employees whose positions were transferred
};

/// The transfer (after "Przepisać dane z list płac?"). "Brak list płac do
/// przepisania" when the month has no list to transfer; it stops at the
/// first "Błędny "TYTUL_WYP" w PKSPL", "Błędny "NAZWA_POLA" w PKSPL" or
/// "Istnieje taka pozycja w PKDOCH" (a hand-entered record of the key),
/// leaving the employees done so far transferred.
TransferOutcome Transfer(common::Runtime& rt, common::Tables& tables,
                         TransferObserver* observer = nullptr);

struct UndoPreview {
    std::string refusal;  // "Brak autom. przepisyw. list płac"; "" otherwise
    int automatic = 0;    // automatic records of the month the undo deletes
    int corrected = 0;    // of those, records whose amounts differ from their positions'
};

/// What the undo would delete, told before "Wykonać anulację?".
UndoPreview PreviewUndo(common::Runtime& rt, common::Tables& tables);

/// The undo: the marks of the positions of the month's lists cleared, then
/// the automatic records of the list year and month deleted; the count of
/// deleted records.
int Undo(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::tax
