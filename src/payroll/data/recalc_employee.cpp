// One employee of a recalculation: his contexts loaded by the host, the
// computed attendance components, then every payroll component in
// calculation order, each applied, refreshed, computed, zeroed by the age
// rules and stored.
#include <cmath>
#include <cstdio>

#include "common/checks/scramble.h"
#include "common/session/abandon.h"
#include "payroll/data/recalc_state.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

// The last month whose lists keep the components of TBZK55M60.
constexpr int kOverAgeFrom = 2009 * 12 + 6;

char FirstChar(const dbf::Record& r, int field) {
    if (field < 0) return ' ';
    const std::string_view raw = r.Raw(field);
    return raw.empty() ? ' ' : raw[0];
}

std::string DateOf(const dbf::Record& r, int field) {
    if (field < 0) return "";
    std::string d = r.GetDate(field);
    return base::IsBlank(d) ? std::string() : d;
}

void ReadAttendance(Recalculation::State& s) {
    dbf::WorkArea& rob = worktime::OpenOnce(s.tables, "PKROB", {"PKROB1", "PKROB2"});
    const dbf::KeepPosition keep(rob);
    worktime::OrderBy(rob, "PKROB2");
    const int f_code = rob.FieldIndex("KOD_OB"), f_type = rob.FieldIndex("TYP_"),
              f_formula = rob.FieldIndex("ALGORYTM_");
    for (base::Status st = rob.GoTop(); st.ok() && !rob.eof(); st = rob.Skip(1)) {
        if (rob.deleted() || base::AsciiUpper(FirstChar(rob.record(), f_type)) != 'A') continue;
        RecalcAttendance a;
        a.code = base::TrimRight(rob.record().GetString(f_code));
        std::string text;
        rob.ReadMemo(f_formula, &text);
        a.compiled = s.host.engine().Compile(text, &a.program, &a.error);
        s.attendance.push_back(std::move(a));
    }
}

// The employee's positions on this list: which components have one, which
// of those are blocked, their amounts, and whether each already stands as
// a store or a refresh would leave it. One seek.
void ReadListPositions(Recalculation::State& s, const std::string& number) {
    std::fill(s.present.begin(), s.present.end(), 0);
    std::fill(s.blocked.begin(), s.blocked.end(), 0);
    dbf::WorkArea& a = s.positions->area();
    worktime::OrderBy(a, "PKPLACE1");
    const dbf::Record& r = a.record();
    const int f_nr = a.FieldIndex("NR_PRAC"), f_sym = a.FieldIndex("SKLADN_PL"),
              f_num = a.FieldIndex("NR_LST"), f_year = a.FieldIndex("ROK_LST"),
              f_type = a.FieldIndex("TYP_LST"), f_block = a.FieldIndex("NIE_ALG"),
              f_kw = a.FieldIndex("KWOTA_"), f_paid = a.FieldIndex("DATA_WYP"),
              f_month = a.FieldIndex("MC_LST"), f_ded = a.FieldIndex("POTRAC_"),
              f_off = a.FieldIndex("POZA_LISTA"), f_tax = a.FieldIndex("AKT_DOCH");
    std::string paid = s.list.paid;
    paid.resize(8, ' ');
    for (base::Status st = a.Seek(Positions::Key(s.list, number), true); st.ok() && !a.eof();
         st = a.Skip(1)) {
        if (r.Raw(f_nr) != number || r.Raw(f_year) != s.list.year ||
            r.Raw(f_type) != s.list.symbol || static_cast<int>(r.GetNumber(f_num)) != s.list.number)
            break;
        if (a.deleted()) continue;
        auto it = s.by_symbol.find(std::string(r.Raw(f_sym)));
        if (it == s.by_symbol.end()) continue;
        const size_t i = static_cast<size_t>(it->second);
        const Component& c = *s.components[i].c;
        if (s.present[i] != 0) {
            s.current[i] = 0;  // a second record of the key: the store removes it
            continue;
        }
        s.present[i] = 1;
        s.blocked[i] = r.GetLogical(f_block) ? 1 : 0;
        s.amount[i] = r.GetNumber(f_kw);
        s.current[i] = r.Raw(f_paid) == paid && r.Raw(f_month) == s.list.month &&
                       r.GetLogical(f_ded) == c.deduction && r.GetLogical(f_off) == c.off_list &&
                       !r.GetLogical(f_tax);
    }
}

// Applies() of every component for the employee, made once per algorithm
// group and hire month.
const std::vector<char>& Applicable(Recalculation::State& s, const RecalcEmployee& e) {
    std::string key(1, e.group);
    key += e.hired.substr(0, std::min<size_t>(6, e.hired.size()));
    auto it = s.applicable.find(key);
    if (it != s.applicable.end()) return it->second;
    EmployeeFacts facts;
    facts.group = e.group;
    facts.hired = e.hired;
    std::vector<char> applies(s.components.size());
    for (size_t i = 0; i < s.components.size(); ++i)
        applies[i] = Applies(*s.components[i].c, s.list_facts, facts) ? 1 : 0;
    return s.applicable.emplace(key, std::move(applies)).first->second;
}

// The computed attendance components (kind "A" of PKROB), stored to PKCZAS.
std::string ComputeAttendance(Recalculation::State& s, const RecalcEmployee& e) {
    RecalcObserver& watch = s.watch();
    for (RecalcAttendance& a : s.attendance) {
        watch.Attendance(a.code);
        if (!a.compiled) return a.error.Message();
        formula::Value v;
        formula::Error error;
        if (!s.host.engine().EvaluateAs(a.program, formula::Type::kNumber, &v, &error))
            return error.Message();
        const double hours = base::YRound(v.number(), 2);
        s.host.SetQuantity(a.code, hours);
        if (hours == 0)
            s.lines->DeleteCode(e.number, a.code);
        else
            s.lines->Write(e.number, a.code, "", e.calendar, hours, true);
    }
    if (!s.attendance.empty()) watch.Attendance("");
    return {};
}

// Releases the employee's register record when he is done.
struct EmployeeLock {
    dbf::WorkArea* prac = nullptr;
    ~EmployeeLock() {
        if (prac != nullptr) prac->Unlock();
    }
};

}  // namespace

RecalcEmployee ReadRecalcEmployee(dbf::WorkArea& prac, bool with_name) {
    const dbf::Record& r = prac.record();
    RecalcEmployee e;
    e.number = r.GetString(prac.FieldIndex("NR_PRAC"));
    e.hired = DateOf(r, prac.FieldIndex("DATA_ZATR"));
    e.dismissed = !DateOf(r, prac.FieldIndex("DATA_ZWOLN")).empty();
    e.group = FirstChar(r, prac.FieldIndex("GRUPA_ALG"));
    e.sex = base::AsciiUpper(FirstChar(r, prac.FieldIndex("PLEC_")));
    e.birth = DateOf(r, prac.FieldIndex("DATA_URODZ"));
    const int f_pdof = prac.FieldIndex("PDOF_26");
    e.young_exemption = f_pdof >= 0 && r.GetLogical(f_pdof);
    const int f_cal = prac.FieldIndex("GRUPA_KAL");
    if (f_cal >= 0) e.calendar = r.GetString(f_cal);
    e.shown = base::TrimRight(e.number);
    if (with_name) {
        const std::string surname = base::TrimRight(
            common::Unscramble(common::ScrambleKind::kName, r.Raw(prac.FieldIndex("NAZWX_"))));
        const std::string names = base::TrimRight(
            common::Unscramble(common::ScrambleKind::kName, r.Raw(prac.FieldIndex("IMIEX_"))));
        e.shown = names.empty() ? surname : surname + " " + names;
    }
    return e;
}

bool PrepareRun(Recalculation::State& s) {
    if (s.prepared) return true;
    for (const std::string& m : s.host.PrepareRun())
        if (!s.watch().FunctionError(m)) return false;
    s.host.SetList(s.list);
    s.positions = std::make_unique<Positions>(s.rt, s.tables);
    const YearMonth month = s.host.list_month();
    s.lines = std::make_unique<worktime::TimeLines>(
        s.rt, s.tables, worktime::SettlementMonth{month.year, month.month});

    s.list_facts.symbol = s.symbol;
    s.list_facts.year = s.list.year;
    s.list_facts.month = s.list.month;
    const YearMonth paid = s.host.payment_month();
    s.zeroing_over_age = paid.year > 0 && paid.Index() > kOverAgeFrom;
    s.paid = base::DateOfDbfText(s.list.paid);

    const std::vector<Component>& order = s.host.components_by_order();
    s.components.clear();
    s.by_symbol.clear();
    for (const Component& c : order) {
        RecalcComponent rc;
        rc.c = &c;
        rc.shown = base::TrimRight(c.symbol);
        rc.computed = c.kind != 'K' && c.kind != 'I';
        rc.over_age = PayrollHost::Names(s.host.zeroed_over_age(), c.symbol);
        rc.under_26 = PayrollHost::Names(s.host.zeroed_under_26(), c.symbol);
        s.by_symbol.emplace(c.symbol, static_cast<int>(s.components.size()));
        s.components.push_back(rc);
    }
    s.present.assign(s.components.size(), 0);
    s.blocked.assign(s.components.size(), 0);
    s.current.assign(s.components.size(), 0);
    s.amount.assign(s.components.size(), 0);
    ReadAttendance(s);
    s.prepared = true;
    return true;
}

bool ListStillOpen(Recalculation::State& s) {
    // The list's record stays current: the standard functions read its
    // payment date through pklisty->data_wyp.
    dbf::WorkArea& a = worktime::OpenOnce(s.tables, "PKLISTY", {"PKLISTY1"});
    worktime::OrderBy(a, "PKLISTY1");
    const std::string key = s.list.Key();
    for (base::Status st = a.Seek(key); st.ok() && a.found() && !a.eof(); st = a.Skip()) {
        if (a.deleted()) continue;
        const PayrollList l = ReadList(a);
        if (l.Key() != key) break;
        return l.open;
    }
    return false;
}

std::string ComputeOne(Recalculation::State& s, const RecalcEmployee& e, bool loaded) {
    RecalcObserver& watch = s.watch();
    RecalcOutcome& out = *s.outcome;
    if (!ListStillOpen(s)) return s.rt.Text("Błędny symbol listy płac");

    EmployeeLock lock;
    if (s.lock_employees) {
        dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", {"PKPRAC1"});
        worktime::OrderBy(prac, "PKPRAC1");
        if (prac.Seek(e.number).ok() && prac.found()) {
            s.tables.RLock(prac);
            lock.prac = &prac;
        }
    }
    if (!loaded) s.host.LoadEmployee(e.number);
    if (std::string m = ComputeAttendance(s, e); !m.empty()) return m;

    ReadListPositions(s, e.number);
    const std::vector<char>& applies = Applicable(s, e);
    const bool over_age =
        s.zeroing_over_age && OverRetirementAge(e.sex, e.birth, s.host.payment_month().year,
                                                s.host.payment_month().month);
    const bool under_26 = e.young_exemption && UnderTwentySix(e.birth, s.paid);

    for (size_t i = 0; i < s.components.size(); ++i) {
        const RecalcComponent& rc = s.components[i];
        const Component& c = *rc.c;
        watch.Component(rc.shown);
        const bool present = s.present[i] != 0;
        if (!applies[i]) {
            // Not on this list for him: gone from the contexts and the list,
            // an entered amount too.
            s.host.SetAmount(c.symbol, 0);
            if (present) out.positions_deleted += s.positions->Delete(s.list, e.number, c.symbol);
            continue;
        }
        if (!rc.computed || s.blocked[i] != 0) {
            // Entered, piecework or blocked: its amount already stands in the
            // contexts; the position follows the list and the component.
            if (present && !s.current[i]) s.positions->Refresh(s.list, e.number, c);
            continue;
        }
        double v = 0;
        formula::Error error;
        if (!s.host.EvaluateComponent(c, &v, &error)) return error.Message();
        if ((over_age && rc.over_age) || (under_26 && rc.under_26)) v = 0;
        s.host.SetAmount(c.symbol, v);
        if (v != 0 && !c.memory_only) {
            // A rerun that gives the same amount leaves the record alone.
            if (present && s.current[i] && std::fabs(s.amount[i] - v) < 0.001)
                ++out.positions_written;
            else if (s.positions->Store(s.list, e.number, c, v))
                ++out.positions_written;
        } else if (present) {
            out.positions_deleted += s.positions->Delete(s.list, e.number, c.symbol);
        }
    }
    watch.Component("");
    ++out.employees;
    return {};
}

}  // namespace kestrel::payroll
