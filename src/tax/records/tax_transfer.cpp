#include "tax/records/tax_transfer.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "common/session/abandon.h"
#include "payroll/data/positions.h"
#include "platform/base/fixed_width.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::tax {
namespace {

using payroll::PayrollList;
using payroll::Position;

// The fields of PKDOCH a component may name (KW_PPK_ZAK only with PPK).
const char* const kAmountFields[] = {
    "PRZYCHOD_", "KOSZT_UZ", "PODATEK_", "ULGA_",     "ZWOLN_",     "UBEZP_SPOL", "UBEZP_ZDRO",
    "UBEZP_ZDD", "DOCH_ZW",  "PROCENT_", "DOCH_ZW_2", "SKLADKI_ZZ", "ZWOL_KOL_E", "KW_PPK_ZAK"};

// The pairs of components of 2022 (and 2023): the first's amount is the
// tax of the second's income kind.
const char* const kPairs[][2] = {{"AASP", "AAMP"}, {"AC01", "ACMP"}, {"AS01", "ABPM"},
                                 {"UA4", "UAMP"},  {"UD4", "UDMP"},  {"UZB4", "UZMP"},
                                 {"UZZ4", "UZMP"}};

// An employee's records of one list: income kind -> field -> amount.
using Records = std::map<std::string, std::map<std::string, double>>;

struct Month {
    common::Runtime& rt;
    common::Tables& tables;
    worktime::SettlementMonth month;
    std::vector<PayrollList> lists;
    std::map<std::string, payroll::Component> components;  // by padded symbol
    std::map<std::string, std::string> pair_kind;          // first -> the second's kind
    std::set<std::string> seconds;
    bool pairs_in_2023 = true;
    std::set<std::string> known_kinds;  // PKRDOCH

    Month(common::Runtime& r, common::Tables& t) : rt(r), tables(t) {
        month = worktime::ReadSettlementMonth(rt, tables);
        lists = ListsOfTheMonth(rt, tables);
    }

    void ReadDictionaries() {
        for (payroll::Component& c : payroll::ReadComponents(tables))
            components.emplace(c.symbol, std::move(c));
        for (const auto& pair : kPairs) {
            const std::string first = base::Padded(pair[0], 4), second = base::Padded(pair[1], 4);
            seconds.insert(second);
            const auto it = components.find(second);
            pair_kind[first] =
                it == components.end() ? "" : base::TrimRight(it->second.income_kind);
        }
        dbf::WorkArea& rdoch = worktime::OpenOnce(tables, "PKRDOCH", {"PKRDOCH1"});
        const dbf::KeepPosition keep(rdoch);
        const int f = rdoch.FieldIndex("TYTUL_WYP");
        for (base::Status s = rdoch.GoTop(); s.ok() && !rdoch.eof(); s = rdoch.Skip())
            if (!rdoch.deleted()) known_kinds.insert(base::TrimRight(rdoch.record().GetString(f)));
    }

    // A second component's non-zero amount on a list paid in 2023 switches
    // the pair rule off for 2023.
    void CheckPairsOf2023(payroll::Positions& positions) {
        for (const PayrollList& l : lists) {
            if (l.paid.compare(0, 4, "2023") != 0) continue;
            for (const Position& p : positions.OfList(l))
                if (seconds.count(p.symbol) != 0 && p.amount != 0) pairs_in_2023 = false;
        }
    }

    bool PairYear(std::string_view paid) const {
        return paid.compare(0, 4, "2022") == 0 ||
               (paid.compare(0, 4, "2023") == 0 && pairs_in_2023);
    }

    // The records of one employee's positions; a refusal, or "".
    std::string Plan(const PayrollList& l, const std::vector<Position>& positions, Records* out,
                     TransferObserver* observer) const {
        const bool minus = rt.config().Logical("NAGLMINUS");
        const bool ppk = rt.config().Logical("NAGLPPK20");
        for (const Position& p : positions) {
            const std::string paid = p.paid.empty() ? l.paid : p.paid;
            if (PairYear(paid)) {
                if (seconds.count(p.symbol) != 0) continue;
                if (const auto it = pair_kind.find(p.symbol); it != pair_kind.end()) {
                    if (observer != nullptr)
                        observer->Position(l, p.employee, p.symbol, it->second);
                    if (!it->second.empty()) (*out)[it->second]["PODATEK_"] += p.amount;
                    continue;
                }
            }
            const auto c = components.find(p.symbol);
            if (c == components.end()) continue;
            const std::string kind = base::TrimRight(c->second.income_kind);
            if (kind.empty()) continue;
            if (observer != nullptr) observer->Position(l, p.employee, p.symbol, kind);
            if (known_kinds.count(kind) == 0) return rt.Text("Błędny \"TYTUL_WYP\" w PKSPL");
            const std::string field = base::AsciiUpper(base::Trim(c->second.income_field));
            bool allowed = false;
            for (const char* f : kAmountFields)
                if (field == f && (field != "KW_PPK_ZAK" || ppk)) allowed = true;
            if (!allowed) return rt.Text("Błędny \"NAZWA_POLA\" w PKSPL");
            const bool reversed = minus && (field == "ULGA_" || field == "ZWOLN_");
            (*out)[kind][field] += reversed ? -p.amount : p.amount;
        }
        for (auto& [kind, fields] : *out)
            for (auto& [field, amount] : fields) amount = base::YRound(amount, 2);
        return "";
    }
};

[[noreturn]] void WriteFailed(common::Runtime& rt, const std::string& alias) {
    throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + alias));
}

std::string DochKey(const PayrollList& l, std::string_view employee, std::string_view kind) {
    return l.Key() + base::Padded(employee, 6) + base::Padded(kind, 4);
}

// The visible record of PKDOCH2's key `key`, current; 0 when none.
uint32_t FindDoch(dbf::WorkArea& doch, const std::string& key) {
    worktime::OrderBy(doch, "PKDOCH2");
    if (!doch.Seek(key).ok() || !doch.found() || doch.eof()) return 0;
    return doch.recno();
}

// Writes one employee's records of a list; the count of records created or
// recalled. A hand-entered record of any of the keys refuses before
// anything is written.
int WriteRecords(Month& m, dbf::WorkArea& doch, const PayrollList& l,
                 const std::vector<Position>& positions, const Records& records,
                 std::string* refusal) {
    const int f_auto = doch.FieldIndex("AUTOMAT_");
    for (const auto& [kind, fields] : records) {
        if (FindDoch(doch, DochKey(l, positions.front().employee, kind)) != 0 &&
            !doch.record().GetLogical(f_auto)) {
            *refusal = m.rt.Text("Istnieje taka pozycja w PKDOCH");
            return 0;
        }
    }
    int created = 0;
    const Position& first = positions.front();
    for (const auto& [kind, fields] : records) {
        const std::string key = DochKey(l, first.employee, kind);
        if (FindDoch(doch, key) != 0) {
            m.tables.RLock(doch);
        } else {
            worktime::OrderBy(doch, "PKDOCH2");
            m.tables.Reserve(doch, key);
            ++created;
        }
        dbf::Record& r = doch.record();
        r.SetString(doch.FieldIndex("NR_PRAC"), first.employee);
        r.SetString(doch.FieldIndex("ROK_LST"), l.year);
        r.SetString(doch.FieldIndex("TYP_LST"), l.symbol);
        r.SetNumber(doch.FieldIndex("NR_LST"), l.number);
        r.SetString(doch.FieldIndex("MC_LST"), first.month.empty() ? l.month : first.month);
        r.SetDate(doch.FieldIndex("DATA_WYP"), first.paid.empty() ? l.paid : first.paid);
        r.SetString(doch.FieldIndex("TYTUL_WYP"), kind);
        for (const char* f : kAmountFields) r.SetNumber(doch.FieldIndex(f), 0);
        for (const auto& [field, amount] : fields) r.SetNumber(doch.FieldIndex(field), amount);
        r.SetLogical(f_auto, true);
        r.SetLogical(doch.FieldIndex("PPK_ZAK_BM"), m.rt.config().Logical("NAGLPPKBM"));
        base::Status s = doch.Commit();
        if (s.ok() && doch.deleted()) s = doch.Recall();
        doch.Unlock();
        if (!s.ok()) WriteFailed(m.rt, doch.alias());
    }
    return created;
}

void Mark(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place,
          const std::vector<Position>& positions, bool on) {
    const int f = place.FieldIndex("AKT_DOCH");
    for (const Position& p : positions) {
        if (p.to_tax == on) continue;
        place.Goto(p.recno);
        tables.RLock(place);
        place.record().SetLogical(f, on);
        const base::Status s = place.Commit();
        place.Unlock();
        if (!s.ok()) WriteFailed(rt, place.alias());
    }
}

// The employees of a list in turn, each with his visible positions.
template <typename Fn>
void ForEachEmployee(const std::vector<Position>& all, Fn fn) {
    size_t i = 0;
    while (i < all.size()) {
        size_t j = i;
        while (j < all.size() && all[j].employee == all[i].employee) ++j;
        const std::vector<Position> his(all.begin() + static_cast<long>(i),
                                        all.begin() + static_cast<long>(j));
        if (!fn(his)) return;
        i = j;
    }
}

// The month's automatic records: their record numbers in PKDOCH6 order.
std::vector<uint32_t> AutomaticRecords(const Month& m, dbf::WorkArea& doch) {
    std::vector<uint32_t> out;
    char head[8];
    std::snprintf(head, sizeof head, "%04d%02d", m.month.year, m.month.month);
    worktime::OrderBy(doch, "PKDOCH6");
    const int f_auto = doch.FieldIndex("AUTOMAT_");
    const int f_year = doch.FieldIndex("ROK_LST"), f_month = doch.FieldIndex("MC_LST");
    for (base::Status s = doch.Seek(head, true); s.ok() && !doch.eof(); s = doch.Skip()) {
        const dbf::Record& r = doch.record();
        if (r.GetString(f_year) + r.GetString(f_month) != head) break;
        if (!doch.deleted() && r.GetLogical(f_auto)) out.push_back(doch.recno());
    }
    return out;
}

dbf::WorkArea& OpenDoch(common::Tables& tables) {
    return worktime::OpenOnce(tables, "PKDOCH",
                              {"PKDOCH1", "PKDOCH2", "PKDOCH3", "PKDOCH4", "PKDOCH5", "PKDOCH6"});
}

}  // namespace

std::vector<PayrollList> ListsOfTheMonth(common::Runtime& rt, common::Tables& tables) {
    const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt, tables);
    char year[8], mc[4];
    std::snprintf(year, sizeof year, "%04d", month.year);
    std::snprintf(mc, sizeof mc, "%02d", month.month);
    std::vector<PayrollList> out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKLISTY1");
    for (base::Status s = a.Seek(year, true); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        PayrollList l = payroll::ReadList(a);
        if (l.year != year) break;
        if (l.month == mc && l.to_tax) out.push_back(std::move(l));
    }
    return out;
}

TransferOutcome Transfer(common::Runtime& rt, common::Tables& tables, TransferObserver* observer) {
    TransferOutcome out;
    Month m(rt, tables);
    if (m.lists.empty()) {
        out.message = rt.Text("Brak list płac do przepisania");
        return out;
    }
    m.ReadDictionaries();
    payroll::Positions positions(rt, tables);
    dbf::WorkArea& doch = OpenDoch(tables);
    m.CheckPairsOf2023(positions);
    for (const PayrollList& l : m.lists) {
        if (l.open) continue;
        ForEachEmployee(positions.OfList(l), [&](const std::vector<Position>& his) {
            bool pending = false;
            for (const Position& p : his) pending = pending || !p.to_tax;
            if (!pending) return true;
            Records records;
            out.message = m.Plan(l, his, &records, observer);
            if (!out.message.empty()) return false;
            out.records += WriteRecords(m, doch, l, his, records, &out.message);
            if (!out.message.empty()) return false;
            Mark(rt, tables, positions.area(), his, true);
            ++out.employees;
            return true;
        });
        if (!out.message.empty()) break;
    }
    return out;
}

UndoPreview PreviewUndo(common::Runtime& rt, common::Tables& tables) {
    UndoPreview out;
    Month m(rt, tables);
    if (m.lists.empty()) {
        out.refusal = rt.Text("Brak autom. przepisyw. list płac");
        return out;
    }
    m.ReadDictionaries();
    payroll::Positions positions(rt, tables);
    m.CheckPairsOf2023(positions);
    // What the positions give, by the key of PKDOCH2.
    std::map<std::string, std::map<std::string, double>> expected;
    for (const PayrollList& l : m.lists)
        ForEachEmployee(positions.OfList(l), [&](const std::vector<Position>& his) {
            Records records;
            m.Plan(l, his, &records, nullptr);
            for (auto& [kind, fields] : records)
                expected[DochKey(l, his.front().employee, kind)] = fields;
            return true;
        });
    dbf::WorkArea& doch = OpenDoch(tables);
    for (uint32_t recno : AutomaticRecords(m, doch)) {
        ++out.automatic;
        doch.Goto(recno);
        const dbf::Record& r = doch.record();
        const std::string key =
            r.GetString(doch.FieldIndex("ROK_LST")) + r.GetString(doch.FieldIndex("TYP_LST")) +
            payroll::StrN(static_cast<int>(r.GetNumber(doch.FieldIndex("NR_LST"))), 4) +
            r.GetString(doch.FieldIndex("NR_PRAC")) + r.GetString(doch.FieldIndex("TYTUL_WYP"));
        const auto it = expected.find(key);
        bool same = it != expected.end();
        for (const char* f : kAmountFields) {
            if (!same) break;
            const auto e = it->second.find(f);
            const double want = e == it->second.end() ? 0 : e->second;
            same = base::YRound(r.GetNumber(doch.FieldIndex(f)) - want, 2) == 0;
        }
        if (!same) ++out.corrected;
    }
    return out;
}

int Undo(common::Runtime& rt, common::Tables& tables) {
    Month m(rt, tables);
    if (m.lists.empty()) return 0;
    payroll::Positions positions(rt, tables);
    for (const PayrollList& l : m.lists)
        Mark(rt, tables, positions.area(), positions.OfList(l), false);
    dbf::WorkArea& doch = OpenDoch(tables);
    const std::vector<uint32_t> records = AutomaticRecords(m, doch);
    for (uint32_t recno : records) {
        doch.Goto(recno);
        tables.RLock(doch);
        const base::Status s = doch.Delete();
        doch.Unlock();
        if (!s.ok()) WriteFailed(rt, doch.alias());
    }
    return static_cast<int>(records.size());
}

}  // namespace kestrel::tax
