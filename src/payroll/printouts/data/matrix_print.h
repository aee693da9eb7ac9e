// The print-matrix engine: one engine for every printout laid out by a
// matrix of PKNTBW/PKTBW (the payroll list, the monthly and period
// summaries, the register, the pay of a period, the cost accounts).
//
//   MatrixRun run(rt, tables, &observer);
//   MatrixRequest r{.matrix = "LP", .type = '1', .lists = {list}};
//   if (std::string m = run.Prepare(r); !m.empty()) { show(m); return; }
//   MatrixPrinted p = run.Print(out);   // into a print file
//
// Prepare() reads and checks the matrix ("Brak definicji tabulogramu",
// "Błędna struktura zbioru PKTBW", "Błędny typ tabulogramu"), prepares the
// payroll formula host (the namespace and the user functions: a function
// that does not compile goes to the observer), compiles every formula of
// the matrix ("Błędna definicja tabulogramu" when one does not compile, or
// WZOR_START does not evaluate, or the matrix has no cells) and evaluates
// WZOR_START once. Then it collects the positions of the requested lists
// whose symbols TYP_LISTY admits (blank: every list). For every employee
// with positions, in number order, every variable starts at its empty value
// (working time, absences, allowances as the host loads them for the list
// month) and then every component takes the employee's sum over the admitted
// lists, 0 when he has none: nothing of the employee before him is seen.
// Only then WARUNEK_ is evaluated (a value that is not logical: "Błędna
// wartość warunku") and the cells of those kept. The employees are sorted
// by the request's sort; with IL_ZNAKOW (or the request's levels) the first
// characters of the sort key form the summing levels. Formula errors stop with the words of the
// formula language. Messages are CP852.
//
// Print() writes the summary (layout Z: a row of headings, each employee's
// block with its "Lp.", a subtotal on every change of level named
// NAZWA_SUMY, the final "RAZEM:" line) or the payslips (layout P: each
// employee's block under its own heading, headings above values), with the
// page headers of the printing service (narrow up to 80 columns, wide up to
// 136). SUMA_ columns are added; with WZOR_SUMY (matrix types 3 and 6) the
// total line evaluates the cell's formula over the summed components.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"
#include "payroll/printouts/data/matrix_definition.h"
#include "platform/formula/value.h"
#include "printing/data/print_output.h"

namespace kestrel::payroll {

/// What the screen (or the command line) shows and answers while a
/// printout runs. Every method has a silent default.
class MatrixObserver {
  public:
    virtual ~MatrixObserver() = default;
    /// A line of progress ("Szukanie wskazanych typów list płac").
    virtual void Status(const std::string& message) { (void)message; }
    /// "Błędna definicja funkcji " / "Błędna nazwa funkcji " and the name:
    /// true goes on without the function, false stops the printout.
    virtual bool FunctionError(const std::string& message) {
        (void)message;
        return true;
    }
    /// The employee being read or printed.
    virtual void Employee(const std::string& number) { (void)number; }
    /// Asked between employees: true ends the printout (Esc and "t" to
    /// "Przerwać wydruk?").
    virtual bool Interrupted() { return false; }
};

/// The order of the employees.
enum class MatrixSort {
    kMatrix,      // the matrix's NR_IND (1 numbers, 2 names, 3 own key WZOR_)
    kNumber,      // employee numbers
    kName,        // surnames and first names
    kOwnKey,      // the matrix's own key WZOR_
    kBrigade,     // the brigade of the list month (PKBRYG), then the name
    kDepartment,  // DZIAL_, then the name
    kGroup,       // GRUPA_ALG, then the name
    kAccount,     // the cost account KONTO_KOSZ (12 characters), then the name
};

enum class MatrixLayout { kSummary, kPayslips };

struct MatrixRequest {
    std::string matrix;              // TBW_
    char type = '1';                 // the printout's matrix type
    std::vector<PayrollList> lists;  // the lists the printout covers
    /// Lists of annual archives the printout covers too, each source with
    /// the archive's PKPLACE (opened by the caller with all its index
    /// files): their positions are read there, those of `lists` in the
    /// working PKPLACE. No list may be given twice.
    struct ArchivedLists {
        std::vector<PayrollList> lists;
        dbf::WorkArea* place = nullptr;
    };
    std::vector<ArchivedLists> archived;
    MatrixSort sort = MatrixSort::kMatrix;
    MatrixLayout layout = MatrixLayout::kSummary;
    std::string subtitle;  // printed under the title (CP852)
    /// A matrix made by the program (a layout without matrix): used as it
    /// is instead of reading `matrix`; its type is not checked.
    const MatrixDefinition* definition = nullptr;
    /// A summing level of the printout's own (the department of a sort by
    /// departments): characters of the sort key, -1 for the matrix's
    /// IL_ZNAKOW; its name when the matrix's NAZWA_SUMY is blank.
    int level_chars = -1;
    std::string level_name;
    /// Several summing levels of the printout's own, each the characters
    /// of the sort key it takes, finest first (12 and 3: every account,
    /// then every synthetic account); when given they replace level_chars.
    /// On a change of a coarser level the finer ones are totalled first.
    std::vector<int> levels;
    /// The label of a total line of level `level` (an index into `levels`,
    /// 0 for the single level of level_chars) for the key's first
    /// characters `prefix`; unset: NAZWA_SUMY (or level_name), a blank, the
    /// trimmed prefix and ":". An empty label prints no total line.
    std::function<std::string(size_t level, const std::string& prefix)> level_label;
    /// Only the level and final totals, no employee's block.
    bool totals_only = false;
    /// The employees from `first_employee` to `last_employee` (numbers,
    /// both included; blank: no bound).
    std::string first_employee, last_employee;
};

/// One employee as the printout shows him.
struct MatrixEmployee {
    std::string number;
    std::string name;                   // surname and first name (CP852)
    std::string key;                    // the sort key
    std::vector<formula::Value> cells;  // the cells' values, as m.cells
    std::vector<double> amounts;        // the components' sums, as components
    double payable = 0;                 // what the lists pay him (PayableTotal)
};

struct MatrixPrinted {
    bool interrupted = false;
    std::string message;               // a formula error of a total line; "" otherwise
    int employees = 0;                 // employees printed
    std::vector<std::string> numbers;  // their numbers, in print order
};

class MatrixRun {
  public:
    MatrixRun(common::Runtime& rt, common::Tables& tables, MatrixObserver* observer);
    ~MatrixRun();
    MatrixRun(const MatrixRun&) = delete;
    MatrixRun& operator=(const MatrixRun&) = delete;

    /// Everything but the printing: "" when there is something to print,
    /// else the message that stops the printout ("Brak danych do wydruku"
    /// when the admitted lists hold no position, "Lista nie dotyczy żadnego
    /// pracownika" when the condition keeps nobody; interrupted() tells an
    /// operator's stop).
    std::string Prepare(const MatrixRequest& request);
    bool interrupted() const;

    const MatrixDefinition& matrix() const;
    /// The employees kept, in print order (after Prepare).
    const std::vector<MatrixEmployee>& employees() const;
    /// The lists the matrix admitted, of the requested ones (the archived
    /// ones first).
    const std::vector<PayrollList>& lists() const;

    /// Writes the printout through `out` (open), page headers included.
    MatrixPrinted Print(printing::PrintOutput& out);
    /// Writes the payslip of employees()[index] alone through `out` (open),
    /// as the first payslip of a printout of layout P: one document per
    /// employee. An index out of range writes nothing.
    void PrintPayslip(size_t index, printing::PrintOutput& out);

    struct State;

  private:
    std::unique_ptr<State> state_;
};

/// Whether TYP_LISTY `admitted` (symbols separated by commas; blank: all)
/// admits list symbol `symbol`.
bool AdmitsList(std::string_view admitted, std::string_view symbol);

/// Rows of a printed page before a new page is begun.
constexpr int kPageRows = 62;

}  // namespace kestrel::payroll
