#include "payroll/data/piecework.h"

#include <map>

#include "common/session/abandon.h"
#include "payroll/data/applicability.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

constexpr const char* kCards = "PKAKORD";

// The records of the job cards of the list's month, by employee number.
std::map<std::string, std::vector<uint32_t>> CardsOfMonth(common::Runtime& rt,
                                                          common::Tables& tables,
                                                          const PayrollList& list) {
    dbf::WorkArea* open = tables.workspace().Find(kCards);
    dbf::WorkArea& a = open != nullptr ? *open : tables.OpenIn(PieceworkDir(rt), kCards, kCards);
    const dbf::KeepPosition keep(a);
    const int f_number = a.FieldIndex("NR_PRAC"), f_date = a.FieldIndex("DATA_");
    std::map<std::string, std::vector<uint32_t>> out;
    if (f_number < 0 || f_date < 0) return out;
    const std::string month = list.year + list.month;  // "YYYYMM"
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        const std::string date = a.record().GetDate(f_date);
        if (date.size() != 8 || date.substr(0, 6) != month) continue;
        out[a.record().GetString(f_number)].push_back(a.recno());
    }
    return out;
}

// Makes the component `symbol` of PKSPL the piecework component.
void Promote(common::Runtime& rt, common::Tables& tables, const std::string& symbol) {
    dbf::WorkArea& spl = worktime::OpenOnce(tables, "PKSPL", {"PKSPL1"});
    const dbf::KeepPosition keep(spl);
    worktime::OrderBy(spl, "PKSPL1");
    for (base::Status s = spl.Seek(symbol); s.ok() && spl.found() && !spl.eof(); s = spl.Skip()) {
        if (spl.record().GetString(spl.FieldIndex("SKLADN_PL")) != symbol) break;
        if (spl.deleted()) continue;
        tables.RLock(spl);
        base::Status w = spl.record().SetString(spl.FieldIndex("TYP_"), "I");
        if (w.ok()) w = spl.WriteMemo(spl.FieldIndex("ALGORYTM_"), rt.Text(kPieceworkAlgorithm));
        if (w.ok()) w = spl.Commit();
        spl.Unlock();
        if (!w.ok())
            throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + spl.alias()));
        return;
    }
}

}  // namespace

std::vector<dbf::FieldSpec> JobCardFields() {
    return {{"NR_PRAC", dbf::FieldType::kCharacter, 6, 0},
            {"DATA_", dbf::FieldType::kDate, 8, 0},
            {"ILOSC_WYK", dbf::FieldType::kNumeric, 12, 3},
            {"CENA_", dbf::FieldType::kNumeric, 12, 4}};
}

std::string PieceworkDir(common::Runtime& rt) {
    std::string dir = rt.config().Text("NAGL0AK");
    if (base::IsBlank(dir)) dir = rt.config().Text("NAGLX");
    if (base::IsBlank(dir)) dir = rt.data_dir();
    dir = base::TrimRight(dir);
    if (dir.back() == '\\') dir.back() = '/';
    if (dir.back() != '/') dir += '/';
    return dir;
}

PieceworkPlan PlanPiecework(common::Runtime& rt, common::Tables& tables, const PayrollList& list) {
    PieceworkPlan plan;
    plan.list = list;
    if (CardsOfMonth(rt, tables, list).empty())
        plan.warning = rt.Text("Brak kart pracy za ten miesiąc");
    const std::vector<Component> all = ReadComponents(tables);
    std::vector<Component> piecework;
    for (const Component& c : all)
        if (c.kind == 'I') piecework.push_back(c);
    if (piecework.empty()) {
        dbf::WorkArea& ster = worktime::OpenOnce(tables, "PKSTER");
        std::string symbol;
        if (ster.GoTop().ok() && !ster.eof() && ster.FieldIndex("SYMB_AKORD") >= 0)
            symbol = ster.record().GetString(ster.FieldIndex("SYMB_AKORD"));
        symbol = base::AsciiUpper(base::Trim(symbol));
        symbol.resize(4, ' ');
        for (const Component& c : all)
            if (!base::IsBlank(symbol) && c.symbol == symbol) {
                Component promoted = c;
                promoted.kind = 'I';
                promoted.algorithm = rt.Text(kPieceworkAlgorithm);
                piecework.push_back(promoted);
                plan.promote = true;
            }
        if (piecework.empty()) {
            plan.refusal = rt.Text("Błędny symbol płacy akordowej");
            return plan;
        }
    }
    for (const Component& c : piecework)
        if (NamesListSymbol(c.list_kinds, list.symbol)) plan.components.push_back(c);
    if (plan.components.empty()) {
        plan.promote = false;
        plan.refusal = rt.Text("Akord nie dotyczy tej listy płac");
    }
    return plan;
}

PieceworkCounts TransferPiecework(common::Runtime& rt, common::Tables& tables,
                                  const PieceworkPlan& plan,
                                  const std::function<void(const PieceworkCounts&)>& progress) {
    PieceworkCounts counts;
    if (!plan.refusal.empty() || plan.components.empty()) return counts;
    const PayrollList& list = plan.list;
    ListSymbol symbol;
    const bool legal = FindListSymbol(tables, list.symbol, &symbol) && symbol.legal_person;

    // The positions first, exclusively, with every index file: the host
    // then shares this area instead of opening the table again.
    const bool was_exclusive = tables.exclusive();
    tables.set_exclusive(true);
    std::unique_ptr<Positions> positions;
    try {
        positions = std::make_unique<Positions>(rt, tables);
    } catch (...) {
        tables.set_exclusive(was_exclusive);
        throw;
    }
    tables.set_exclusive(was_exclusive);

    if (plan.promote) Promote(rt, tables, plan.components.front().symbol);
    const std::map<std::string, std::vector<uint32_t>> cards = CardsOfMonth(rt, tables, list);
    dbf::WorkArea& card_area = *tables.workspace().Find(kCards);

    std::vector<std::string> employees;
    {
        dbf::WorkArea& prac = worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
        const dbf::KeepPosition keep(prac);
        worktime::OrderBy(prac, "PKPRAC1");
        const int f_number = prac.FieldIndex("NR_PRAC"), f_legal = prac.FieldIndex("OS_PRAWNA");
        for (base::Status s = prac.GoTop(); s.ok() && !prac.eof(); s = prac.Skip()) {
            if (prac.deleted()) continue;
            const bool person_legal = f_legal >= 0 && prac.record().GetLogical(f_legal);
            if (person_legal == legal) employees.push_back(prac.record().GetString(f_number));
        }
    }

    PayrollHost host(rt, tables);
    host.PrepareRun();
    host.SetList(list);
    bool changed = false;
    for (const std::string& number : employees) {
        const auto found = cards.find(number);
        host.LoadEmployee(number);
        for (const Component& c : plan.components) {
            double sum = 0;
            if (found != cards.end())
                for (uint32_t recno : found->second) {
                    if (!card_area.Goto(recno).ok()) continue;
                    double v = 0;
                    formula::Error e;
                    if (!host.EvaluateComponent(c, &v, &e)) {
                        counts.error = e.Message();
                        if (changed && !legal) ClearMonthFlags(rt, tables);
                        return counts;
                    }
                    sum += v;
                }
            sum = base::YRound(sum, 2);
            const bool existed = positions->Find(list, number, c.symbol);
            if (sum != 0) {
                if (positions->Store(list, number, c, sum))
                    ++(existed ? counts.rewritten : counts.created);
                changed = true;
            } else if (existed) {
                counts.deleted += positions->Delete(list, number, c.symbol) > 0 ? 1 : 0;
                changed = true;
            }
        }
        if (progress) progress(counts);
    }
    if (changed && !legal) ClearMonthFlags(rt, tables);
    return counts;
}

}  // namespace kestrel::payroll
