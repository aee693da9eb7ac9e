#include "payroll/data/position_review.h"

#include <algorithm>
#include <map>

#include "common/session/abandon.h"
#include "common/tables/index_order.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/payroll_month.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

[[noreturn]] void Failed(common::Runtime& rt, const char* what, const dbf::WorkArea& place) {
    throw common::Abandon(common::ShortenMessage(rt.Text(what) + place.alias()));
}

// The visible records from the current one on while their key in the
// controlling index begins with `prefix`.
template <typename Fn>
void EachWithPrefix(dbf::WorkArea& place, const std::string& prefix, Fn fn) {
    dbf::Index& index = place.index(static_cast<size_t>(place.order() - 1));
    std::string key;
    bool included = false;
    for (base::Status s = place.Seek(prefix, true); s.ok() && !place.eof(); s = place.Skip(1)) {
        key.clear();
        index.KeyOf(place.record(), &key, &included);
        if (key.compare(0, prefix.size(), prefix) != 0) break;
        if (!place.deleted()) fn(ReadPlace(place));
    }
}

SummaryLine LineOf(const Position& p, const std::vector<Component>& components) {
    SummaryLine l;
    l.symbol = p.symbol;
    for (const Component& c : components)
        if (base::TrimRight(c.symbol) == base::TrimRight(p.symbol)) l.name = c.name;
    l.amount = p.amount;
    l.deduction = p.deduction;
    l.off_list = p.off_list;
    return l;
}

double TotalOf(const std::vector<SummaryLine>& lines) {
    std::vector<Position> as_positions;
    for (const SummaryLine& l : lines) {
        Position p;
        p.amount = l.amount;
        p.deduction = l.deduction;
        p.off_list = l.off_list;
        as_positions.push_back(p);
    }
    return PayableTotal(as_positions);
}

// The employee's visible positions on the list of the current position,
// by component.
std::vector<Position> OfCurrentList(dbf::WorkArea& place) {
    const Position at = ReadPlace(place);
    const dbf::KeepPosition keep(place);
    worktime::OrderBy(place, "PKPLACE1");
    std::vector<Position> out;
    EachWithPrefix(place, at.list_key + base::Padded(at.employee, 6),
                   [&](const Position& p) { out.push_back(p); });
    return out;
}

}  // namespace

const std::vector<std::string>& ReviewIndexes() {
    static const std::vector<std::string> indexes = common::IndexFiles("PKPLACE");
    return indexes;
}

const char* IndexOf(ReviewOrder order) {
    switch (order) {
        case ReviewOrder::kByMonth:
            return "PKPLACE2";
        case ReviewOrder::kByList:
            return "PKPLACE1";
        case ReviewOrder::kByEmployee:
            break;
    }
    return "PKPLACE3";
}

void SetReviewOrder(common::Runtime& rt, dbf::WorkArea& place, ReviewOrder order) {
    const int n = common::OrderOf(place, IndexOf(order));
    if (n <= 0 || !place.SetOrder(n).ok()) Failed(rt, "Błąd odczytu: ", place);
}

std::string SearchKey(ReviewOrder order, const ReviewKey& key) {
    const std::string year = base::Trim(key.year);
    std::string month = base::Trim(key.month);
    if (month.size() == 1) month.insert(0, 1, '0');
    std::string employee = base::Trim(key.employee);
    if (!employee.empty() && employee.size() < 6) employee.insert(0, 6 - employee.size(), '0');
    const std::string symbol = base::AsciiUpper(base::Trim(key.symbol));
    const std::string component = base::AsciiUpper(base::Trim(key.component));
    const std::string number = key.number > 0 ? StrN(key.number, 4) : std::string();

    // Each part padded to its width; the key stops before the first blank.
    std::vector<std::pair<std::string, size_t>> parts;
    switch (order) {
        case ReviewOrder::kByMonth:
            parts = {{year, 4}, {month, 2}, {employee, 6}, {component, 4}};
            break;
        case ReviewOrder::kByList:
            parts = {{year, 4}, {symbol, 2}, {number, 4}, {employee, 6}, {component, 4}};
            break;
        case ReviewOrder::kByEmployee:
            parts = {{year, 4}, {employee, 6}, {component, 4}, {month, 2}};
            break;
    }
    std::string out;
    for (const auto& [text, width] : parts) {
        if (text.empty()) break;
        out += base::Padded(text, width);
    }
    // Trailing blanks of the last part would not match a longer key.
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

SearchOutcome Search(common::Runtime& rt, dbf::WorkArea& place, ReviewOrder order,
                     const ReviewKey& key) {
    SetReviewOrder(rt, place, order);
    const std::string wanted = SearchKey(order, key);
    const base::Status s = wanted.empty() ? place.GoTop() : place.Seek(wanted, true);
    if (!s.ok()) Failed(rt, "Błąd odczytu: ", place);
    if (place.eof()) {
        if (!place.GoBottom().ok()) Failed(rt, "Błąd odczytu: ", place);
        return SearchOutcome::kEnd;
    }
    return wanted.empty() || place.found() ? SearchOutcome::kFound : SearchOutcome::kNext;
}

std::string SearchMessage(common::Runtime& rt, SearchOutcome outcome) {
    switch (outcome) {
        case SearchOutcome::kFound:
            return "";
        case SearchOutcome::kNext:
            return rt.Text("Brak klucza - następny rekord");
        case SearchOutcome::kEnd:
            break;
    }
    return rt.Text("Brak klucza - koniec zbioru");
}

Position ReadPlace(dbf::WorkArea& place) {
    const dbf::Record& r = place.record();
    auto field = [&place](const char* name) { return place.FieldIndex(name); };
    Position p;
    p.list_key = r.GetString(field("ROK_LST")) + r.GetString(field("TYP_LST")) +
                 StrN(static_cast<int>(r.GetNumber(field("NR_LST"))), 4);
    p.employee = r.GetString(field("NR_PRAC"));
    p.symbol = r.GetString(field("SKLADN_PL"));
    p.month = r.GetString(field("MC_LST"));
    p.paid = r.GetDate(field("DATA_WYP"));
    if (base::IsBlank(p.paid)) p.paid.clear();
    p.amount = r.GetNumber(field("KWOTA_"));
    p.deduction = r.GetLogical(field("POTRAC_"));
    p.blocked = r.GetLogical(field("NIE_ALG"));
    p.off_list = r.GetLogical(field("POZA_LISTA"));
    p.to_tax = r.GetLogical(field("AKT_DOCH"));
    p.recno = place.recno();
    return p;
}

Summary PayableOfList(dbf::WorkArea& place, const std::vector<Component>& components) {
    Summary out;
    if (place.eof()) return out;
    for (const Position& p : OfCurrentList(place))
        if (!p.off_list) out.lines.push_back(LineOf(p, components));
    out.total = TotalOf(out.lines);
    return out;
}

Summary AllOfList(dbf::WorkArea& place, const std::vector<Component>& components) {
    Summary out;
    if (place.eof()) return out;
    for (const Position& p : OfCurrentList(place)) out.lines.push_back(LineOf(p, components));
    out.total = TotalOf(out.lines);
    return out;
}

Summary PayableOfMonth(dbf::WorkArea& place, const std::vector<Component>& components) {
    Summary out;
    if (place.eof()) return out;
    const Position at = ReadPlace(place);
    const std::string year = at.list_key.substr(0, 4);
    const dbf::KeepPosition keep(place);
    worktime::OrderBy(place, "PKPLACE2");
    // PKPLACE2 runs by employee and component within the month: the lists
    // of one component come together.
    std::map<std::string, size_t> at_line;
    EachWithPrefix(place, year + base::Padded(at.month, 2) + base::Padded(at.employee, 6),
                   [&](const Position& p) {
                       if (p.off_list) return;
                       const auto it = at_line.find(p.symbol);
                       if (it == at_line.end()) {
                           at_line[p.symbol] = out.lines.size();
                           out.lines.push_back(LineOf(p, components));
                           return;
                       }
                       SummaryLine& l = out.lines[it->second];
                       l.amount = base::YRound(l.amount + p.amount, 2);
                   });
    out.total = TotalOf(out.lines);
    return out;
}

std::string DeletePlace(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place) {
    if (place.eof()) return "";
    tables.RLock(place);
    if (!place.Skip(0).ok()) {
        place.Unlock();
        Failed(rt, "Błąd odczytu: ", place);
    }
    if (place.deleted()) {
        place.Unlock();
        return "";
    }
    if (ReadPlace(place).to_tax) {
        place.Unlock();
        return rt.Text("Aktualiz. DOCH. - blokada kasow.");
    }
    const base::Status s = place.Delete();
    place.Unlock();
    if (!s.ok()) Failed(rt, "Błąd zapisu: ", place);
    ClearMonthFlags(rt, tables);
    return "";
}

std::string CorrectionRefusal(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place) {
    const Position p = ReadPlace(place);
    if (p.to_tax) return rt.Text("Aktualiz. DOCH. - blokada korekty");
    PayrollList list;
    if (!FindList(tables, p.list_key, &list) || !list.open)
        return rt.Text("Zmiana dopuszczalna w aktywnej liście");
    return "";
}

bool CorrectPlace(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place,
                  const Correction& c) {
    if (place.eof()) return false;
    tables.RLock(place);
    if (!place.Skip(0).ok()) {
        place.Unlock();
        Failed(rt, "Błąd odczytu: ", place);
    }
    if (place.deleted()) {
        place.Unlock();
        return false;
    }
    const double amount = base::YRound(c.amount, 2);
    base::Status s = base::Status::Ok();
    if (amount == 0 && !c.blocked) {
        s = place.Delete();  // the record keeps what it held
    } else {
        dbf::Record& r = place.record();
        r.SetNumber(place.FieldIndex("KWOTA_"), amount);
        r.SetLogical(place.FieldIndex("NIE_ALG"), c.blocked);
        s = place.Commit();
    }
    place.Unlock();
    if (!s.ok()) Failed(rt, "Błąd zapisu: ", place);
    ClearMonthFlags(rt, tables);
    return true;
}

}  // namespace kestrel::payroll
