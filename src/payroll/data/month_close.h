// Closing the old month and opening the new one (4.7), without a screen:
// the checks, the new month's control values, the seniority allowances and
// the absences of the new month. The screen of menu 4.7 and
// `kestrel-tool payroll close-month` run it through a MonthCloseDialog that
// asks the questions and shows the messages.
//
// Everything that may refuse is checked before anything is written: the
// open lists, the month chosen, the insurance flag, the positions of the
// old month's lists not yet transferred to the tax records, and the
// seniority dates. Then the writes, in this order:
//   1. the seniority allowances (each employee's date and percentage in
//      one record write; planning again finds the changed ones no longer
//      due, so a close run again after a crash does not raise them twice);
//   2. the control record: the new year and month with the statutory
//      values, in one write under its lock; until this write the old month
//      stands and the close can simply be run again;
//   3. the generated and computed absences of the new month, which any
//      later run (or the absence entry) rebuilds the same way.
// The loan-fund balances are not carried into the new month: this version
// has no loan-fund module yet.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/seniority.h"
#include "payroll/data/statutory_values.h"
#include "platform/base/dates.h"

namespace kestrel::payroll {

/// What the close reads of the control record (the first record of PKSTER).
struct ControlRecord {
    base::YearMonth month;
    bool insurance_done = false;   // AKT_ZUS
    bool loan_fund_done = false;   // AKT_KZP
    bool ppk_done = false;         // AKT_PPK
    int seniority_step = 0;        // KROK_DOD_S
    double seniority_percent = 0;  // PR_DOD_S
};

/// Reads the control record; abandons as ReadSettlementMonth does when it
/// is missing or its month is out of range.
ControlRecord ReadControlRecord(common::Runtime& rt, common::Tables& tables);

/// The month after `m` (December is followed by January of the next year).
base::YearMonth NextMonth(base::YearMonth m);

/// "YYYY.MM".
std::string MonthText(base::YearMonth m);

/// Step 1: "Istn.aktywna lista płac - przerwanie" (CP852) when a visible
/// list of PKLISTY is open; "" otherwise (also for a company without
/// PKLISTY).
std::string CheckNoOpenList(common::Runtime& rt, common::Tables& tables);

/// The questions and messages of the close. Texts are CP852.
class MonthCloseDialog {
  public:
    virtual ~MonthCloseDialog() = default;
    /// A question answered t/n; true for yes. `note` (when not empty) is
    /// shown on the message half beside it.
    virtual bool Ask(std::string_view question, std::string_view note = {}) = 0;
    /// A warning the operator acknowledges.
    virtual void Warn(std::string_view message) = 0;
    /// A month opened out of sequence with the loan fund: the warning's
    /// lines, then "Kontynuować?" (default n) and, on yes, the operator's
    /// password. True when both were given.
    virtual bool ConfirmOutOfSequence(const std::vector<std::string>& lines) = 0;
    /// The heading of the stage now running.
    virtual void Stage(std::string_view heading) = 0;
    /// The seniority allowances were changed: the count message, then
    /// "Drukować raport?" offering the report (lines before and after).
    virtual void SeniorityDone(std::string_view count_text,
                               const std::vector<std::string>& report) = 0;
};

enum class MonthChoice {
    kAccepted,  // the month may be closed into `chosen`
    kRefused,   // "Ten sam symbol miesiąca" (refusal holds the message)
    kAskAgain,  // the operator did not confirm the unusual month
};

struct ChoiceResult {
    MonthChoice choice = MonthChoice::kAccepted;
    std::string refusal;  // CP852
};

/// Step 2 and 3 for the month `chosen` after `current`: the same month is
/// refused; a later month than the next one with the loan fund (NAGLKWP)
/// needs ConfirmOutOfSequence; any other month than the next one asks
/// ""Niestandardowa" zmiana" / "Czy poprawny nowy symbol?" (shown as a
/// warning, then asked).
ChoiceResult ChooseMonth(common::Runtime& rt, base::YearMonth current, base::YearMonth chosen,
                         MonthCloseDialog& dialog);

enum class CloseOutcome {
    kDone,       // the new month is open
    kRefused,    // a check refused; nothing was written
    kCancelled,  // the operator said no; nothing was written
};

struct CloseResult {
    CloseOutcome outcome = CloseOutcome::kDone;
    std::string message;                        // the refusal, CP852
    int seniority_changes = 0;                  // allowances changed
    std::vector<std::string> absence_messages;  // "NR_PRAC: message" per employee
};

/// Steps 4 to 9 into month `chosen` (accepted by ChooseMonth, with no open
/// list): the checks, "Zamknąć bieżący miesiąc?", the writes in the order
/// above, "Koniec procedury" as the last stage. `rows` are the statutory
/// values (ShippedStatutoryValues()).
CloseResult CloseMonth(common::Runtime& rt, common::Tables& tables, base::YearMonth chosen,
                       const std::vector<StatutoryRow>& rows, MonthCloseDialog& dialog);

/// The whole close into `chosen` as kestrel-tool runs it: CheckNoOpenList,
/// ChooseMonth (the operator not confirming the month cancels), CloseMonth.
CloseResult RunMonthClose(common::Runtime& rt, common::Tables& tables, base::YearMonth chosen,
                          const std::vector<StatutoryRow>& rows, MonthCloseDialog& dialog);

/// The checks of steps 4 and 6 alone. Step 4: "Brak aktualiz. modułu ZUS
/// wykonaj 6.2." refuses; with NAGLKWP "UWAGA: Brak aktualizacji modułu
/// KZP" and with NAGLPPK20 "UWAGA: Brak aktualizacji modułu PPK" are
/// warnings; contributions of PKJSKLA of the old month still to be sent
/// (STATUS_ "1") ask "Istnieją nieprzetworzone dokumenty PPK" /
/// "Kontynuować ?" (a company without PKJSKLA has none).
CloseResult CheckSettled(common::Runtime& rt, common::Tables& tables, const ControlRecord& control,
                         MonthCloseDialog& dialog);

/// Step 6: on every list of the old month (ROK_LST, MC_LST) that goes to
/// the tax records (GENER_DOCH), every visible position of a component with
/// an income type (TYTUL_WYP not blank) must be transferred (AKT_DOCH);
/// the first that is not gives "Poz. NIE przepisana do modułu podatk. " +
/// the list (ListCaption) + " " + the employee's number. "" when all are.
std::string CheckListsTransferred(common::Runtime& rt, common::Tables& tables,
                                  base::YearMonth old_month);

/// Writes the new month and its statutory values into the control record
/// under its lock, in one commit. A failed write abandons with "Błąd
/// zapisu: PKSTER"; a field the table lacks is skipped.
void WriteNewMonth(common::Runtime& rt, common::Tables& tables, base::YearMonth month,
                   const std::vector<std::pair<std::string, double>>& values);

}  // namespace kestrel::payroll
