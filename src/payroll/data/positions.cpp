#include "payroll/data/positions.h"

#include "common/session/abandon.h"
#include "platform/base/fixed_width.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
double PayableTotal(const std::vector<Position>& positions) {
    double total = 0;
    for (const Position& p : positions) {
        if (p.off_list) continue;
        total += p.deduction ? -p.amount : p.amount;
    }
    return base::YRound(total, 2);
}

Positions::Positions(common::Runtime& rt, common::Tables& tables)
    : Positions(rt, tables,
                worktime::OpenOnce(
                    tables, "PKPLACE",
                    {"PKPLACE1", "PKPLACE2", "PKPLACE3", "PKPLACE4", "PKPLACE5", "PKPLACE6"})) {}

Positions::Positions(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place)
    : rt_(rt), tables_(tables), place_(place) {
    f_number_ = place_.FieldIndex("NR_PRAC");
    f_list_no_ = place_.FieldIndex("NR_LST");
    f_list_sym_ = place_.FieldIndex("TYP_LST");
    f_month_ = place_.FieldIndex("MC_LST");
    f_year_ = place_.FieldIndex("ROK_LST");
    f_paid_ = place_.FieldIndex("DATA_WYP");
    f_symbol_ = place_.FieldIndex("SKLADN_PL");
    f_amount_ = place_.FieldIndex("KWOTA_");
    f_deduction_ = place_.FieldIndex("POTRAC_");
    f_blocked_ = place_.FieldIndex("NIE_ALG");
    f_off_ = place_.FieldIndex("POZA_LISTA");
    f_tax_ = place_.FieldIndex("AKT_DOCH");
}

std::string Positions::Key(const PayrollList& list, std::string_view employee,
                           std::string_view symbol) {
    std::string key = list.Key();
    if (employee.empty()) return key;
    key += base::Padded(employee, 6);
    if (!symbol.empty()) key += base::Padded(symbol, 4);
    return key;
}

template <typename Fn>
void Positions::ForEach(const std::string& prefix, Fn fn) {
    worktime::OrderBy(place_, "PKPLACE1");
    dbf::Index& index = place_.index(static_cast<size_t>(place_.order() - 1));
    std::string key;
    bool included = false;
    for (base::Status s = place_.Seek(prefix, true); s.ok() && !place_.eof(); s = place_.Skip(1)) {
        key.clear();
        index.KeyOf(place_.record(), &key, &included);
        if (key.compare(0, prefix.size(), prefix) != 0) break;
        if (place_.deleted()) continue;
        fn();
    }
}

Position Positions::Read() const {
    const dbf::Record& r = place_.record();
    Position p;
    p.list_key = r.GetString(f_year_) + r.GetString(f_list_sym_) +
                 StrN(static_cast<int>(r.GetNumber(f_list_no_)), 4);
    p.employee = r.GetString(f_number_);
    p.symbol = r.GetString(f_symbol_);
    p.month = r.GetString(f_month_);
    p.paid = r.GetDate(f_paid_);
    if (base::IsBlank(p.paid)) p.paid.clear();
    p.amount = r.GetNumber(f_amount_);
    p.deduction = r.GetLogical(f_deduction_);
    p.blocked = r.GetLogical(f_blocked_);
    p.off_list = r.GetLogical(f_off_);
    p.to_tax = r.GetLogical(f_tax_);
    p.recno = place_.recno();
    return p;
}

bool Positions::Find(const PayrollList& list, std::string_view employee, std::string_view symbol,
                     Position* out) {
    uint32_t first = 0;
    ForEach(Key(list, employee, symbol), [&] {
        if (first == 0) first = place_.recno();
    });
    if (first == 0) return false;
    place_.Goto(first);
    if (out != nullptr) *out = Read();
    return true;
}

std::vector<Position> Positions::Of(const PayrollList& list, std::string_view employee) {
    std::vector<Position> out;
    ForEach(Key(list, employee), [&] { out.push_back(Read()); });
    return out;
}

std::vector<Position> Positions::OfList(const PayrollList& list) {
    std::vector<Position> out;
    ForEach(Key(list), [&] { out.push_back(Read()); });
    return out;
}

void Positions::Fill(dbf::Record* r, const PayrollList& list, const Component& c) {
    r->SetDate(f_paid_, list.paid);
    r->SetString(f_month_, list.month);
    r->SetLogical(f_deduction_, c.deduction);
    r->SetLogical(f_off_, c.off_list);
    r->SetLogical(f_tax_, false);
}

void Positions::DeleteRecords(const std::vector<uint32_t>& recnos) {
    for (uint32_t recno : recnos) {
        place_.Goto(recno);
        if (place_.deleted()) continue;
        tables_.RLock(place_);
        const base::Status s = place_.Delete();
        place_.Unlock();
        if (!s.ok()) WriteFailed();
    }
}

bool Positions::Store(const PayrollList& list, std::string_view employee, const Component& c,
                      double value) {
    const std::string key = Key(list, employee, c.symbol);
    std::vector<uint32_t> present;
    ForEach(key, [&] { present.push_back(place_.recno()); });
    if (value == 0 || c.memory_only) {
        DeleteRecords(present);
        return false;
    }
    if (present.empty()) {
        // The whole record is reserved at once, its keys put in every index
        // in one go; recalling it makes it visible.
        worktime::OrderBy(place_, "PKPLACE1");
        dbf::Record r = place_.table().NewRecord();
        r.SetString(f_year_, list.year);
        r.SetString(f_list_sym_, list.symbol);
        r.SetNumber(f_list_no_, list.number);
        r.SetString(f_number_, employee);
        r.SetString(f_symbol_, c.symbol);
        Fill(&r, list, c);
        r.SetNumber(f_amount_, value);
        r.SetLogical(f_blocked_, false);
        tables_.Reserve(place_, key, r);
    } else {
        place_.Goto(present.front());
        tables_.RLock(place_);
        Fill(&place_.record(), list, c);
        dbf::Record& r = place_.record();
        r.SetNumber(f_amount_, value);
        r.SetLogical(f_blocked_, false);
    }
    base::Status s = place_.Commit();
    if (s.ok() && place_.deleted()) s = place_.Recall();
    place_.Unlock();
    if (!s.ok()) WriteFailed();
    if (present.size() > 1) DeleteRecords({present.begin() + 1, present.end()});
    return true;
}

void Positions::Refresh(const PayrollList& list, std::string_view employee, const Component& c) {
    std::vector<uint32_t> present;
    ForEach(Key(list, employee, c.symbol), [&] { present.push_back(place_.recno()); });
    if (present.empty()) return;
    place_.Goto(present.front());
    tables_.RLock(place_);
    Fill(&place_.record(), list, c);
    const base::Status s = place_.Commit();
    place_.Unlock();
    if (!s.ok()) WriteFailed();
    if (present.size() > 1) DeleteRecords({present.begin() + 1, present.end()});
}

int Positions::Delete(const PayrollList& list, std::string_view employee, std::string_view symbol) {
    std::vector<uint32_t> present;
    ForEach(Key(list, employee, symbol), [&] { present.push_back(place_.recno()); });
    DeleteRecords(present);
    return static_cast<int>(present.size());
}

int Positions::DeleteEmployee(const PayrollList& list, std::string_view employee) {
    std::vector<uint32_t> present;
    ForEach(Key(list, employee), [&] { present.push_back(place_.recno()); });
    DeleteRecords(present);
    return static_cast<int>(present.size());
}

bool Positions::Reserve(const PayrollList& list, std::string_view employee, const Component& c) {
    if (Find(list, employee, c.symbol)) {
        tables_.RLock(place_);
        return true;
    }
    const std::string key = Key(list, employee, c.symbol);
    worktime::OrderBy(place_, "PKPLACE1");
    tables_.Reserve(place_, key);
    dbf::Record& r = place_.record();
    r.SetString(f_year_, list.year);
    r.SetString(f_list_sym_, list.symbol);
    r.SetNumber(f_list_no_, list.number);
    r.SetString(f_number_, employee);
    r.SetString(f_symbol_, c.symbol);
    Fill(&place_.record(), list, c);
    // Keyed at once, so that a position left unconfirmed is found for reuse.
    if (!place_.Commit().ok()) WriteFailed();
    return false;
}

void Positions::Save(const PayrollList& list, const Component& c, double amount, bool blocked) {
    Fill(&place_.record(), list, c);
    dbf::Record& r = place_.record();
    r.SetNumber(f_amount_, amount);
    r.SetLogical(f_blocked_, blocked);
    base::Status s = place_.Commit();
    const bool keep = amount != 0 || blocked;
    if (s.ok() && keep && place_.deleted()) s = place_.Recall();
    if (s.ok() && !keep && !place_.deleted()) s = place_.Delete();
    place_.Unlock();
    if (!s.ok()) WriteFailed();
}

void Positions::Release() {
    place_.Unlock();
}

void Positions::WriteFailed() {
    throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: ") + place_.alias()));
}

}  // namespace kestrel::payroll
