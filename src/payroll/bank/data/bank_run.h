// The run that writes the bank files of a payment (4.A.2): one text file
// per bank of PKWROR that takes a file, with a line per payment made by the
// bank's formulas.
//
//   BankRun run(rt, tables, list, &observer);
//   if (std::string m = run.Check(); !m.empty()) { show(m); return; }
//   for (const std::string& name : run.Existing()) ask "Kasować?", run.Delete(name)
//   BankOutcome done = run.Run();
//
// Every list of the same year, month and payment date as `list` takes part
// (all their positions are paid together). The employees of the register
// are visited in name order (PKPRAC2). For each employee every variable of
// the payroll namespace starts empty (every component 0: what a formula
// reads is never the previous employee's), then for each file the file's
// component holds the employee's amount before the condition is evaluated:
//
//   NAGLSLROR on: the sum of the employee's amounts of the
//   component over the lists; a sum above 0 is one line.
//   NAGLSLROR off (also when the configuration lacks it: the start-up
//   sets it false): one line per list whose amount is above 0, the variable
//   holding that list's amount while its line is made.
//
// Every amount written is added to the file's total. A line must be text
// and must show its amount with a decimal point ("1234.56"), a decimal
// comma ("1234,56") or in grosze ("123456"); the employee's lines are all
// made and checked before any of them is written. The trailer is the
// trailer formula's text, or "RAZEM " and the total with two decimals; an
// empty header or trailer is not written. Lines end in CR LF; the text is
// written as the formulas give it (CP852).
//
// While the run goes, the files are written under temporary names in the
// output directory ("~" + the file's name, replaced when left by an
// earlier run); only when every file of the run is complete are they
// renamed to their names. A run that fails or is interrupted deletes its
// temporary files: it never leaves a file under its final name that a
// bank could take for a whole payment.
//
// The formulas see what a recalculation's formulas see, with every
// namespace variable empty but the file's component; the register record
// of the employee (PKPRAC) and the list (PKLISTY: `list` itself) are the
// current records; the company's parameters are public variables (the
// ordering party of the shipped layout is NAGL73 and its account NAGL74).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/bank/data/bank_amounts.h"
#include "payroll/bank/data/bank_parameters.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll::bank {

/// What the screen (or the command line) shows and answers while a run
/// goes. Every method has a silent default.
class BankObserver {
  public:
    virtual ~BankObserver() = default;
    /// "Błędna definicja funkcji " / "Błędna nazwa funkcji " and the name:
    /// true goes on, false stops the run.
    virtual bool FunctionError(const std::string& message) {
        (void)message;
        return true;
    }
    /// The employee being visited (his number).
    virtual void Employee(const std::string& number) { (void)number; }
    /// Asked before each employee: true stops the run (Esc, and "t" to
    /// "Przerwać tworz. pliku?").
    virtual bool Interrupted() { return false; }
};

/// One file of a finished run.
struct BankFileResult {
    std::string name;   // the file's name in the output directory
    std::string path;   // its whole path
    int lines = 0;      // payment lines (header and trailer not counted)
    int64_t total = 0;  // grosze
};

struct BankOutcome {
    std::string message;       // CP852: what stopped the run; "" when it completed
    bool interrupted = false;  // the operator stopped it
    bool completed = false;    // every file written and renamed
    int employees = 0;         // employees visited
    std::vector<BankFileResult> files;
};

class BankRun {
  public:
    /// A run for the payment of `list`. `observer` may be nullptr.
    BankRun(common::Runtime& rt, common::Tables& tables, const PayrollList& list,
            BankObserver* observer);
    ~BankRun();
    BankRun(const BankRun&) = delete;
    BankRun& operator=(const BankRun&) = delete;

    /// The banks' checks (CheckFileBanks); "" when the run may go on.
    std::string Check();
    /// The files the run writes (after Check), by bank order.
    const std::vector<BankParameters>& files() const;
    /// The names among them that exist in the output directory already.
    std::vector<std::string> Existing() const;
    /// Deletes an existing file: "Błąd kasowania pliku: <name>" when it
    /// cannot be deleted, "" when it is gone.
    std::string Delete(const std::string& name) const;
    /// The lists that take part: `list` and every other list of its year,
    /// month and payment date, in the order of PKLISTY5.
    const std::vector<PayrollList>& lists() const;

    /// Writes the files (after Check). Refusals and formula errors end it
    /// with the message: "Błąd tworzenia pliku: <name>", "Błędna wartość
    /// nagłówka <name>", "Błędna wartość warunku <name>", "Błędna wartość
    /// wzoru <name>", "Błędny wzór <name>" (the line lacks its amount),
    /// "Błędny rekord końca <name>", "Błąd zapisu pliku: <name>", or the
    /// text of a formula's error.
    BankOutcome Run();

    struct State;

  private:
    std::unique_ptr<State> state_;
};

/// Whether `line` shows `grosze` in one of the three forms.
bool LineShowsAmount(std::string_view line, int64_t grosze);

/// "RAZEM " + the total with two decimals and a decimal point.
std::string DefaultTrailer(int64_t grosze);

}  // namespace kestrel::payroll::bank
