#include "payroll/data/recalculation.h"

#include <algorithm>

#include "common/session/abandon.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/recalc_state.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "tax/data/tax_scale.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

const std::vector<std::string> kPlaceIndexes = {"PKPLACE1", "PKPLACE2", "PKPLACE3",
                                                "PKPLACE4", "PKPLACE5", "PKPLACE6"};
const std::vector<std::string> kCzasIndexes = {"PKCZAS1", "PKCZAS2", "PKCZAS3", "PKCZAS4"};
const std::vector<std::string> kPracIndexes = {"PKPRAC1", "PKPRAC4"};

bool OfListKind(dbf::WorkArea& prac, int f_legal, bool legal) {
    return (f_legal >= 0 && prac.record().GetLogical(f_legal)) == legal;
}

// The selection set's formula, compiled over the run's namespace.
bool CompileSet(Recalculation::State& s, const std::string& set, formula::Program* p,
                formula::Error* error) {
    dbf::WorkArea& zest = worktime::OpenOnce(s.tables, "PKZEST", {"PKZEST1"});
    const dbf::KeepPosition keep(zest);
    worktime::OrderBy(zest, "PKZEST1");
    std::string text;
    if (zest.Seek(base::Padded(base::AsciiUpper(set), 4)).ok() && zest.found())
        zest.ReadMemo(zest.FieldIndex("WZOR_"), &text);
    return s.host.engine().Compile(text, p, error);
}

}  // namespace

Recalculation::Recalculation(common::Runtime& rt, common::Tables& tables, const PayrollList& list,
                             RecalcObserver* observer)
    : state_(std::make_unique<State>(rt, tables, list, observer)) {}

Recalculation::~Recalculation() = default;

std::string Recalculation::Check() {
    State& s = *state_;
    common::Runtime& rt = s.rt;
    // The tax scale of the payment month (of the list month when the list
    // has no payment date yet).
    const base::Date paid = base::DateOfDbfText(s.list.paid);
    const int year = paid.empty() ? std::atoi(s.list.year.c_str()) : paid.year;
    const int month = paid.empty() ? std::atoi(s.list.month.c_str()) : paid.month;
    try {
        tax::Qrmtabela(rt, year, month);
    } catch (const common::Abandon& refused) {
        return refused.message();
    }
    if (!FindListSymbol(s.tables, s.list.symbol, &s.symbol))
        return rt.Text("Błędny symbol listy płac");
    s.legal = s.symbol.legal_person;
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, s.tables);
    if (m.year != std::atoi(s.list.year.c_str()) || m.month != std::atoi(s.list.month.c_str()))
        return rt.Text("Rok/Miesiac niezgodne z PKSTER");
    if (!ValorisationIndexOk(s.tables)) return rt.Text("Błędny indeks PKWALOR");
    for (const std::string& warning : DuplicatedCodes(rt, s.tables)) s.watch().Warn(warning);
    s.checked = true;
    return {};
}

void Recalculation::OpenTables(bool exclusive) {
    State& s = *state_;
    s.lock_employees = s.rt.config().Logical("NAGLBLK");
    const bool was_exclusive = s.tables.exclusive();
    s.tables.set_exclusive(exclusive);
    try {
        s.tables.Open("PKPLACE", kPlaceIndexes);
        s.tables.Open("PKCZAS", kCzasIndexes);
        s.tables.Open("PKPRAC", kPracIndexes);
    } catch (...) {
        s.tables.set_exclusive(was_exclusive);
        throw;
    }
    s.tables.set_exclusive(was_exclusive);
    if (!s.lock_employees) {
        // Algorithms may not write the register: it is read only. (Opened
        // writable first, so that missing index files are built.)
        const bool was_read_only = s.rt.SetReadOnly(true);
        try {
            s.tables.Open("PKPRAC", kPracIndexes);
        } catch (...) {
            s.rt.SetReadOnly(was_read_only);
            throw;
        }
        s.rt.SetReadOnly(was_read_only);
    }
    s.opened = true;
}

std::string Recalculation::CheckScope(const RecalcRequest& request) {
    State& s = *state_;
    if (request.scope == RecalcScope::kDepartment) {
        const std::string department = base::Padded(request.department, 4);
        if (!HasKey(s.tables, "PKDZIAL", "PKDZIAL1", department, 4))
            return s.rt.Text("Błędny dział");
        dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", kPracIndexes);
        const dbf::KeepPosition keep(prac);
        worktime::OrderBy(prac, "PKPRAC4");
        const int f_dept = prac.FieldIndex("DZIAL_"), f_legal = prac.FieldIndex("OS_PRAWNA");
        for (base::Status st = prac.Seek(department); st.ok() && prac.found() && !prac.eof();
             st = prac.Skip(1)) {
            if (prac.record().Raw(f_dept) != department) break;
            if (!prac.deleted() && OfListKind(prac, f_legal, s.legal)) return {};
        }
        return s.rt.Text(s.legal ? "Brak os.prawnych w tym dziale"
                                 : "Brak pracowników w tym dziale");
    }
    if (request.scope == RecalcScope::kSet &&
        !HasKey(s.tables, "PKZEST", "PKZEST1", base::AsciiUpper(base::Trim(request.set)), 4))
        return s.rt.Text("Błędny zestaw");
    return {};
}

RecalcOutcome Recalculation::Run(const RecalcRequest& request) {
    State& s = *state_;
    RecalcOutcome out;
    s.outcome = &out;
    if (!s.checked) {
        out.message = Check();
        if (!out.message.empty()) return out;
    }
    if (!s.opened) OpenTables(s.tables.exclusive());
    if (!PrepareRun(s)) {
        out.interrupted = true;
        return out;
    }
    if (!s.legal) ClearMonthFlags(s.rt, s.tables);

    // The register once: the employees of the list kind in the order of the
    // scope, and (scope 1) every number the register knows.
    const bool by_department = request.scope == RecalcScope::kDepartment;
    const std::string department = base::Padded(request.department, 4);
    std::vector<RecalcEmployee> employees;
    std::vector<std::string> of_kind, registered;
    {
        dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", kPracIndexes);
        const dbf::KeepPosition keep(prac);
        worktime::OrderBy(prac, by_department ? "PKPRAC4" : "PKPRAC1");
        const int f_dept = prac.FieldIndex("DZIAL_"), f_legal = prac.FieldIndex("OS_PRAWNA"),
                  f_nr = prac.FieldIndex("NR_PRAC");
        base::Status st = by_department ? prac.Seek(department) : prac.GoTop();
        for (; st.ok() && !prac.eof(); st = prac.Skip(1)) {
            if (by_department && prac.record().Raw(f_dept) != department) break;
            if (prac.deleted()) continue;
            registered.push_back(prac.record().GetString(f_nr));
            if (!OfListKind(prac, f_legal, s.legal)) continue;
            employees.push_back(ReadRecalcEmployee(prac, by_department));
            of_kind.push_back(employees.back().number);
        }
    }

    formula::Program set_formula;
    if (request.scope == RecalcScope::kSet) {
        formula::Error error;
        if (!CompileSet(s, request.set, &set_formula, &error)) {
            out.message = error.Message();
            return out;
        }
    }
    if (request.scope == RecalcScope::kWhole) {
        std::sort(of_kind.begin(), of_kind.end());
        std::sort(registered.begin(), registered.end());
        out.positions_deleted += SweepOrphans(s, of_kind, registered);
    }

    RecalcObserver& watch = s.watch();
    const bool group_list = !s.legal && s.symbol.group != ' ';
    // The employed first, then the dismissed.
    for (const bool dismissed : {false, true}) {
        for (const RecalcEmployee& e : employees) {
            if (e.dismissed != dismissed) continue;
            if (request.scope == RecalcScope::kSet) {
                s.host.LoadEmployee(e.number);
                formula::Value chosen;
                formula::Error error;
                if (!s.host.engine().EvaluateAs(set_formula, formula::Type::kLogical, &chosen,
                                                &error)) {
                    out.message = error.Message();
                    return out;
                }
                if (!chosen.logical()) continue;
            }
            watch.Employee(e.shown);
            if (watch.Interrupted()) {
                out.interrupted = true;
                return out;
            }
            if (group_list && e.group != s.symbol.group) {
                // Not of the list's algorithm group: not computed; a whole
                // list loses his positions.
                if (request.scope == RecalcScope::kWhole)
                    out.positions_deleted += s.positions->DeleteEmployee(s.list, e.number);
                continue;
            }
            const bool loaded = request.scope == RecalcScope::kSet;
            out.message = ComputeOne(s, e, loaded);
            if (!out.message.empty()) return out;
        }
    }
    return out;
}

RecalcOutcome Recalculation::ComputeEmployee(std::string_view number) {
    State& s = *state_;
    RecalcOutcome out;
    s.outcome = &out;
    if (!s.checked) {
        out.message = Check();
        if (!out.message.empty()) return out;
    }
    if (!s.opened) {
        // The component entry has the tables open already.
        s.lock_employees = s.rt.config().Logical("NAGLBLK");
        s.opened = true;
    }
    if (!PrepareRun(s)) {
        out.interrupted = true;
        return out;
    }
    dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", kPracIndexes);
    RecalcEmployee e;
    {
        const dbf::KeepPosition keep(prac);
        worktime::OrderBy(prac, "PKPRAC1");
        if (!prac.Seek(base::Padded(number, 6)).ok() || !prac.found()) return out;
        e = ReadRecalcEmployee(prac, false);
    }
    if (!s.legal) ClearMonthFlags(s.rt, s.tables);
    if (!s.legal && s.symbol.group != ' ' && e.group != s.symbol.group) return out;
    out.message = ComputeOne(s, e, false);
    return out;
}

PayrollHost& Recalculation::host() {
    return state_->host;
}

}  // namespace kestrel::payroll
