// The payroll formula host: the working-time host with the payroll
// components in front of its namespace, and the contexts a component's
// algorithm sees.
//
// The namespace, in slot order: the components of PKSPL (by symbol), the
// optional components of PKOSPL, the attendance components of PKROB, the
// absence codes of PKRNB (each with its "YTB" list), the allowance types of
// PKSRDOD, the extended-structure keys of PKUMTR; then the user functions of
// PKFUNC are compiled (a name that already is a variable stays one). It is
// declared and the functions compiled once, by PrepareRun().
//
// A context is a vector of values in slot order. A component's algorithm sees
// "A0" (this list's amounts) unless its ZAKR_MC_LS asks for monthly totals:
// then "A"+n followed by "L" (lists whose list month is n months before this
// list's month, IL_MC_WST = n) or by "W" (by payment month, MC_WYP_LST). A
// context of earlier months also reads the positions moved to the annual
// archive of its year (by payment month: of its year and the year before,
// a December list paid in January) when the archive is there. A0,
// AL and AW are kept live while an employee is computed; the other contexts
// are built on first use and kept for the rest of the employee. Switching
// binds another vector to the engine's slots; nothing is copied but the
// slots that belong to no context (optional components, absence lists,
// extended keys), which carry over. A recalculation drives it:
//
//   PayrollHost host(rt, tables);
//   for (const std::string& m : host.PrepareRun()) show(m);
//   host.SetList(list);
//   for (each employee) {
//       host.LoadEmployee(number);
//       for (const Component& c : host.components_by_order()) {
//           if (!applies) { host.SetAmount(c.symbol, 0); continue; }
//           double v;
//           if (!host.EvaluateComponent(c, &v, &error)) report(error.Message());
//           host.SetAmount(c.symbol, v);
//       }
//   }
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "payroll/data/function_support.h"
#include "payroll/data/payroll_records.h"
#include "worktime/data/formula_host.h"

namespace kestrel::payroll {

/// A year and month, with the arithmetic the contexts need.
struct YearMonth {
    int year = 0;
    int month = 0;

    /// `n` months before (n may be negative), with the year wrapping.
    YearMonth Back(int n) const;
    int Index() const { return year * 12 + month - 1; }
};

/// "YYYYMM", or six blanks for a month without a year (a list without a
/// payment date: the key of an empty date in the indexes of PKPLACE).
std::string Yyyymm(YearMonth m);

/// Where a context's amounts come from.
struct ContextId {
    int months_back = 0;  // 0..25
    char by = '0';        // '0' this list (A0), 'L' list month, 'W' payment month

    /// "A0", "AL" ... "ZL", "AW" ... "ZW".
    std::string Name() const;
    bool operator==(const ContextId&) const = default;
};

/// The context of a component's algorithm. A monthly context with IL_MC_WST
/// outside 0..25 abandons with "Błędna wartość pola IL_MC_WST (" + the value
/// in 2 characters + ")".
ContextId ContextOf(common::Runtime& rt, const Component& c);

class PayrollHost : public worktime::FormulaHost {
  public:
    PayrollHost(common::Runtime& rt, common::Tables& tables);
    ~PayrollHost() override;

    /// Prepare(), then the bodies of TBZK55M60 and TBZ26 evaluated once to
    /// their arrays of component symbols (an error, or a value that is not
    /// an array, leaves the array empty). Those two records are never bound
    /// as user functions. Returns the messages of Prepare(). Called once.
    std::vector<std::string> PrepareRun();

    /// The components of PKSPL by symbol (the namespace order) and by
    /// calculation order (SEKW_OBL), read once by PrepareRun().
    const std::vector<Component>& components() const { return components_; }
    const std::vector<Component>& components_by_order() const { return by_order_; }

    /// The arrays of TBZK55M60 and TBZ26: their text elements upper-cased and
    /// padded to four characters.
    const std::vector<std::string>& zeroed_over_age() const { return over_age_; }
    const std::vector<std::string>& zeroed_under_26() const { return under_26_; }
    /// Whether `symbols` (one of the two above) names component `symbol`.
    static bool Names(const std::vector<std::string>& symbols, std::string_view symbol);

    /// The list computed from now on (its key, list month and payment
    /// month); PKLISTY's current record is not moved.
    void SetList(const PayrollList& list);
    const PayrollList& list() const { return list_; }
    YearMonth list_month() const { return list_month_; }
    YearMonth payment_month() const { return payment_month_; }

    /// Loads one employee for the list: every variable back to its empty
    /// value; the allowances valid in the list month, the extended values
    /// and the month's absences and attendance (PKNIEOB, PKCZAS) in A0, AL
    /// and AW; then the employee's positions of PKPLACE, except the
    /// algorithmic unblocked ones of this list (kind "A", NIE_ALG false),
    /// whose values this run computes: those of the list month are added to
    /// AL, those of the payment month to AW, and those of this list set A0.
    /// The employee's record of PKPRAC becomes current. The context is A0;
    /// the contexts of earlier months are forgotten.
    void LoadEmployee(std::string_view number);
    const std::string& employee() const { return employee_; }
    /// Every variable its empty value and each list a new empty array, with
    /// no employee and no list read: what the save test evaluates over.
    void LoadEmpty();

    /// Makes `id` the current context (built first when it is a month-back
    /// context not yet built for this employee), and the record of PKWALOR
    /// of its list-based month the current one.
    void SwitchTo(const ContextId& id);
    void SwitchTo(const Component& c) { SwitchTo(ContextOf(rt(), c)); }
    const ContextId& context() const { return current_; }

    /// Gives component `symbol` its new value v on this list: with p its
    /// previous value in A0, AL and AW grow by v - p and A0 takes v; the
    /// contexts of earlier months do not change. A symbol that is not a
    /// component is ignored.
    void SetAmount(std::string_view symbol, double v);
    /// Gives attendance component `code` the quantity its algorithm
    /// computed: A0, AL and AW of the code take it (the contexts of earlier
    /// months do not change). A code that is not declared is ignored.
    void SetQuantity(std::string_view code, double v);
    /// The value of `name` in context `id` (built when needed), 0 when the
    /// name is not declared or holds no number.
    double Amount(const ContextId& id, std::string_view name);

    /// Switches to the component's context and evaluates its algorithm
    /// (compiled on its first use in the run): the value rounded by YROUND
    /// to two decimals, or false with the error (a value that is not a
    /// number: "Błędna wartość algorytmu").
    bool EvaluateComponent(const Component& c, double* value, formula::Error* error);
    /// The symbol (trailing blanks cut) of the component whose algorithm
    /// EvaluateComponent() is running, "" between evaluations.
    const std::string& computing() const { return computing_; }

    /// The same-identity groups of the register, built on first use and
    /// kept for the run.
    const PeselGroups& pesel_groups();

    /// The positions of `year` moved to the annual archive (ARCH<yyyy>/
    /// PKPLACE.DBF under the data directory), opened once for the run with
    /// its six indexes under the alias "PKPLA" + year; null when the archive
    /// has no PKPLACE (no positions, never an error). The current area and
    /// the selection stay as they were. The one opener of the archive: the
    /// month-back contexts and ZUSLIMIT read it.
    dbf::WorkArea* ArchivedPositions(int year);

    /// Month-back contexts built since PrepareRun().
    int contexts_built() const { return built_count_; }

  protected:
    void DeclareFirst() override;
    bool BindsFunction(std::string_view name) const override;
    void LoadMore(std::string_view number, const worktime::SettlementMonth& month) override;

  private:
    static constexpr int kContexts = 1 + 2 * 26;
    static int IndexOf(const ContextId& id);

    std::vector<formula::Value>& Vector(const ContextId& id);
    void Build(const ContextId& id, std::vector<formula::Value>* out);
    void AddPositions(std::string_view index, const std::string& key,
                      std::vector<formula::Value>* to, bool this_list_to_a0);
    void AddPositionsOf(dbf::WorkArea& place, std::string_view index, const std::string& key,
                        std::vector<formula::Value>* to, bool this_list_to_a0);
    void AddAttendance(std::string_view number, YearMonth month, std::vector<formula::Value>* to);
    void AddQuantities(std::string_view number, YearMonth month, std::vector<formula::Value>* to);
    void AddTo(std::vector<formula::Value>* to, int slot, double amount, int decimals);
    void EvaluateArrays();
    void MakeValorisationCurrent(YearMonth month);

    PayrollList list_;
    YearMonth list_month_;
    YearMonth payment_month_;
    std::string employee_;
    std::vector<Component> components_;
    std::vector<Component> by_order_;
    std::map<std::string, char> kind_of_;  // symbol (trimmed) -> TYP_
    std::vector<int> context_slots_;       // components, attendance, absences, allowances
    std::vector<int> shared_slots_;        // the rest: carried over on a switch
    std::vector<double> a0_;               // A0 amounts of the components, by slot
    std::array<std::vector<formula::Value>, kContexts> vectors_;  // [0] unused: A0 is values()
    std::array<bool, kContexts> built_{};
    ContextId current_;
    std::string computing_;
    int built_count_ = 0;
    std::vector<std::string> over_age_;
    std::vector<std::string> under_26_;
    std::map<std::string, std::unique_ptr<formula::Program>> programs_;  // by symbol
    bool have_place_ = false;
    bool have_czas_ = false;
    bool have_walor_ = false;
    // The valorisation record made current last: for the month (Index()),
    // in the opening (serial) and at the movement count of PKWALOR's area.
    struct Valorisation {
        int month = -1;
        uint32_t serial = 0;
        uint64_t moves = 0;
    } walor_;
    std::unique_ptr<PeselGroups> pesel_groups_;
    std::map<int, std::string> archive_alias_;  // year -> alias, "" when none
};

}  // namespace kestrel::payroll
