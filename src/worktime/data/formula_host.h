// The formula host of working time: the variables every formula of an
// employee sees (working-time codes, absence codes with their lists,
// allowance symbols, extended-structure keys) and the user functions of
// PKFUNC, over one formula engine.
//
// The names are declared and the user functions compiled once, by
// Prepare(); the values live in one vector bound to the engine's slots and
// are refilled for each employee by LoadEmployee(), so formulas compiled
// after Prepare() stay valid for the whole run:
//
//   FormulaHost host(rt, tables);
//   for (const std::string& m : host.Prepare()) show(m);  // function errors
//   formula::Program p;
//   host.engine().Compile(text, &p, &err);
//   host.LoadEmployee("000123", month);
//   host.engine().Evaluate(p, &v, &err);
//
// Payroll extends it: DeclareMore() declares its own symbols (components)
// before the user functions are compiled, LoadMore() fills them for each
// employee, and the Declare... members are open to it. Host functions (the
// schedule functions and others) are registered by RegisterHostFunctions()
// of host_functions.h, which the constructor calls.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/dbf/formula_host.h"
#include "platform/formula/runtime.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

class FormulaHost {
  public:
    FormulaHost(common::Runtime& rt, common::Tables& tables);
    virtual ~FormulaHost();
    FormulaHost(const FormulaHost&) = delete;
    FormulaHost& operator=(const FormulaHost&) = delete;

    /// Whether the company has `table` (open, or its file in the data
    /// directory). Whether the file is there is looked up once for the
    /// host's lifetime (one run): formulas ask for every employee.
    bool TableExists(std::string_view table) const;

    formula::Runtime& engine() { return engine_; }
    common::Runtime& rt() { return rt_; }
    common::Tables& tables() { return tables_; }

    /// Declares the namespace (DeclareFirst(), PKROB and PKRNB codes, the
    /// "YTB" list of each absence code, PKSRDOD symbols, then DeclareMore(), then the
    /// extended-structure keys when PKUMTR has fields), compiles the user
    /// functions of PKFUNC and binds the value vector. Returns the messages
    /// of user functions that could not be bound ("Błędna definicja
    /// funkcji "/"Błędna nazwa funkcji " + the name in double quotes), in
    /// CP852; those functions stay unbound. A symbol that cannot be a
    /// variable abandons with "Błędny kod: " + the symbol in double quotes +
    /// " w zbiorze " + the table (a key of PKUMTR: "Błędny klucz: " + the key
    /// in double quotes + " w PKUMTR"). Called once.
    std::vector<std::string> Prepare();

    /// Refills the variables for one employee: every symbol back to its
    /// empty value, each absence list a new empty array, the employee's
    /// standing allowances of PKDOD valid in `month`, the extended values of
    /// PKUPRC, the absence lines of PKNIEOB entered in `month` (each code
    /// the sum of ILOSC_ of its lines, its "YTB" list one entry per line:
    /// quantity, first day, last day, percentage, statistical number,
    /// calendar year, calendar month, second quantity), then LoadMore().
    /// The absence functions count for this employee and month from now
    /// on. Nothing is declared or compiled again.
    void LoadEmployee(std::string_view number, const SettlementMonth& month);
    /// Puts the variables back to what LoadEmployee() loaded (whatever
    /// formulas assigned since is gone), without reading a table: a dialog
    /// loads the employee when it is chosen and resets before each run.
    void Reset();

    /// Slot of a declared variable, or -1.
    int Find(std::string_view name) { return engine_.slots().Find(name); }
    formula::Value& value(int slot) { return values_[static_cast<size_t>(slot)]; }
    const formula::Value& value(int slot) const { return values_[static_cast<size_t>(slot)]; }
    /// The employee's values in slot order (payroll builds further context
    /// vectors of the same layout and binds them in turn).
    std::vector<formula::Value>& values() { return values_; }
    /// Binds values() again after another vector was bound.
    void BindValues() { engine_.BindSlots(values_.data(), values_.size()); }
    bool prepared() const { return prepared_; }

  protected:
    /// Declares `symbol` (trailing blanks cut) with the empty value `empty`;
    /// abandons with the "Błędny kod" message naming `table` when it cannot
    /// be a variable. Declaring a name twice keeps its first slot.
    int Declare(std::string_view symbol, std::string_view table, formula::Value empty);
    /// Declares a variable that holds a new empty array for each employee.
    int DeclareList(std::string_view name, std::string_view table);
    /// Declares every value of `field` of `table` (opened with `index`) with
    /// the value 0; `list_prefix` non-empty also declares prefix + symbol as
    /// a list. A table the company lacks declares nothing.
    void DeclareSymbolsOf(std::string_view table, std::string_view index, std::string_view field,
                          std::string_view list_prefix = {});

    /// The empty value of a slot (what LoadEmployee() starts from; NIL for
    /// a list, which each employee gets as a new empty array).
    const formula::Value& empty_value(int slot) const {
        return defaults_[static_cast<size_t>(slot)];
    }

    /// Hooks for the payroll host: symbols that come before the working-time
    /// codes, more symbols after the allowances (both before the user
    /// functions are compiled), whether a PKFUNC record is bound as a user
    /// function at all, and the values of the symbols for each employee.
    virtual void DeclareFirst() {}
    virtual void DeclareMore() {}
    virtual bool BindsFunction(std::string_view /*name*/) const { return true; }
    virtual void LoadMore(std::string_view /*number*/, const SettlementMonth& /*month*/) {}

  private:
    mutable std::map<std::string, bool, std::less<>> on_disk_;  // TableExists
    struct ExtendedField;
    struct ExtendedGroup;

    void DefineUserFunctions(std::vector<std::string>* messages);
    void DeclareExtendedKeys();
    void LoadAllowances(std::string_view number, const SettlementMonth& month);
    void LoadExtended(std::string_view number);
    void LoadAbsences(std::string_view number, const SettlementMonth& month);
    /// `to` (a new array) gets the entries of `from`, array entries copied.
    void CopyEntries(const formula::Value& from, formula::Value* to);

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkspaceHost table_host_;
    formula::Runtime engine_;
    std::vector<formula::Value> defaults_;  // the empty value of each slot
    std::vector<formula::Value> values_;    // bound to the slots
    std::vector<formula::Value> employee_;  // as LoadEmployee() left them
    std::vector<int> list_slots_;           // new empty array per employee
    std::vector<ExtendedField> extended_;   // PKUMTR fields that are variables
    dbf::WorkArea* dod_ = nullptr;          // PKDOD, when the company has it
    dbf::WorkArea* uprc_ = nullptr;         // PKUPRC, with extended fields
    AbsenceContext absences_;               // whom the absence functions count for
    bool nieob_ = false;                    // the company has PKNIEOB
    bool prepared_ = false;
};

/// Whether `name` can be a variable of the formula language: a letter
/// followed by letters, digits or "_".
bool IsVariableName(std::string_view name);

}  // namespace kestrel::worktime
