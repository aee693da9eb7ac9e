#include "tax/records/income_correction.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/payroll_records.h"
#include "payroll/data/positions.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "register/data/employee_record.h"
#include "worktime/data/open_once.h"

namespace kestrel::tax {
namespace {

std::string Amount(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.2f", v);
    return s;
}

// Whether the company has `table`: open already, or its file there.
bool CompanyHas(common::Tables& tables, std::string_view table) {
    if (tables.workspace().Find(table) != nullptr) return true;
    return base::Exists(base::FindNoCase(tables.rt().data_dir(), std::string(table) + ".DBF"));
}

bool Exceeds(double a, double b) {
    return base::YRound(a - b, 2) > 0;
}

// The fields the correction writes, with their members.
struct AmountField {
    const char* name;
    double IncomeRecord::*member;
};

constexpr AmountField kAmounts[] = {
    {"PRZYCHOD_", &IncomeRecord::revenue},   {"KOSZT_UZ", &IncomeRecord::costs},
    {"PODATEK_", &IncomeRecord::tax},        {"ULGA_", &IncomeRecord::relief},
    {"ZWOLN_", &IncomeRecord::exemption},    {"UBEZP_SPOL", &IncomeRecord::social},
    {"UBEZP_ZDRO", &IncomeRecord::health},   {"UBEZP_ZDD", &IncomeRecord::health_rest},
    {"DOCH_ZW", &IncomeRecord::exempt},      {"PROCENT_", &IncomeRecord::percent},
    {"DOCH_ZW_2", &IncomeRecord::exempt_2},  {"SKLADKI_ZZ", &IncomeRecord::union_dues},
    {"ZWOL_KOL_E", &IncomeRecord::exempt_e}, {"KW_PPK_ZAK", &IncomeRecord::ppk_employer},
};

payroll::PayrollList AsList(const ListKey& key) {
    payroll::PayrollList l;
    char year[8];
    std::snprintf(year, sizeof year, "%04d", key.year);
    l.year = year;
    l.symbol = base::Padded(key.symbol, 2);
    l.number = key.number;
    return l;
}

}  // namespace

std::string ListKey::Key() const {
    return AsList(*this).Key();
}

std::string CheckListKey(common::Runtime& rt, common::Tables& tables, const ListKey& key) {
    if (key.year < 1 || key.year > rt.working_date().year) return "Błędny rok";
    if (key.number <= 0) return "Błędny numer listy";
    payroll::ListSymbol symbol;
    if (base::IsBlank(key.symbol) ||
        !payroll::FindListSymbol(tables, base::Trim(key.symbol), &symbol))
        return "Błędny typ listy płac";
    return "";
}

bool ListTransferred(common::Runtime& rt, common::Tables& tables, const ListKey& key) {
    IncomeStore store(rt, tables);
    for (const StoredRecord& r : store.OfList(key))
        if (r.record.automatic) return true;
    payroll::Positions positions(rt, tables);
    for (const payroll::Position& p : positions.OfList(AsList(key)))
        if (p.to_tax) return true;
    return false;
}

bool ListDates(common::Tables& tables, const ListKey& key, std::string* month, std::string* paid) {
    payroll::PayrollList l;
    if (!payroll::FindList(tables, key.Key(), &l)) return false;
    *month = l.month;
    *paid = l.paid;
    return true;
}

bool FindIncomeKind(common::Tables& tables, std::string_view symbol, IncomeKind* out) {
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKRDOCH", {"PKRDOCH1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKRDOCH1");
    const std::string key = base::Padded(symbol, 4);
    if (base::IsBlank(key)) return false;
    for (base::Status s = a.Seek(key); s.ok() && a.found() && !a.eof(); s = a.Skip()) {
        const dbf::Record& r = a.record();
        if (r.GetString(a.FieldIndex("TYTUL_WYP")) != key) break;
        if (a.deleted()) continue;
        out->symbol = key;
        out->name = base::TrimRight(r.GetString(a.FieldIndex("NAZWA_")));
        out->taxable = r.GetLogical(a.FieldIndex("PODAT_"));
        out->costs = r.GetLogical(a.FieldIndex("KOSZT_"));
        out->cumulated = r.GetLogical(a.FieldIndex("KUMUL_"));
        out->limit = r.GetNumber(a.FieldIndex("LIMIT_"));
        return true;
    }
    return false;
}

std::string EmployeeMark(bool non_staff, bool legal_person, bool dismissed) {
    if (legal_person) return "Osoba prawna";
    if (dismissed) return "Pracownik ZWOLNIONY";
    if (non_staff) return "Pracownik \"nieetatowy\"";
    return "";
}

bool FindRecordEmployee(common::Tables& tables, std::string_view number, RecordEmployee* out) {
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKPRAC1");
    const std::string key = base::Padded(number, 6);
    for (base::Status s = a.Seek(key); s.ok() && a.found() && !a.eof(); s = a.Skip()) {
        if (a.record().GetString(a.FieldIndex("NR_PRAC")) != key) break;
        if (a.deleted()) continue;
        const registry::EmployeeRecord e = registry::ReadEmployee(a);
        out->number = key;
        out->name = e.surname();
        if (!e.first_names().empty()) out->name += " " + e.first_names();
        out->mark = codepage::FromUtf8(
            EmployeeMark(e.Logical("NIE_PRAC"), e.Logical("OS_PRAWNA"), e.former()));
        return true;
    }
    return false;
}

bool HasExemptions(common::Tables& tables, std::string_view employee, int year) {
    if (!CompanyHas(tables, "PKZPRAC")) return false;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKZPRAC", {"PKZPRAC1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKZPRAC1");
    char head[16];
    std::snprintf(head, sizeof head, "%04d", year);
    const std::string key = head + base::Padded(employee, 6);
    for (base::Status s = a.Seek(key, true); s.ok() && !a.eof(); s = a.Skip()) {
        const dbf::Record& r = a.record();
        const std::string date = r.GetDate(a.FieldIndex("DATA_LIM"));
        if (date.compare(0, 4, head) != 0 || r.GetString(a.FieldIndex("NR_PRAC")) != key.substr(4))
            break;
        if (!a.deleted()) return true;
    }
    return false;
}

FieldRules RulesFor(const IncomeKind& kind, bool employee_has_exemptions, bool net_entry,
                    bool ppk) {
    FieldRules r;
    r.costs = kind.costs;
    r.tax = kind.taxable;
    r.exemption = kind.cumulated && employee_has_exemptions;
    r.net_entry = net_entry && r.tax;
    r.ppk = ppk;
    return r;
}

void ApplyRules(const FieldRules& rules, IncomeRecord* r) {
    if (!rules.costs) r->costs = 0;
    if (!rules.tax) r->tax = r->relief = 0;
    if (!rules.exemption) r->exemption = 0;
}

double NetTax(const IncomeRecord& r) {
    return base::YRound(r.tax - r.relief - r.exemption, 2);
}

void SetNetTax(IncomeRecord* r, double net) {
    r->tax = base::YRound(net + r->relief + r->exemption, 2);
}

double CollectedHealth(const IncomeRecord& r) {
    return base::YRound(r.health + r.health_rest, 2);
}

void SetCollectedHealth(IncomeRecord* r, double collected) {
    r->health_rest = base::YRound(collected - r->health, 2);
}

std::string LimitWarning(double total, double limit) {
    return "Razem " + Amount(total) + ", maksimum " + Amount(limit);
}

std::string RevenueWarning(double revenue, double total, double limit) {
    if (base::YRound(revenue, 2) == 0) return "PRZYCHÓD = 0";
    if (revenue < 0) return "PRZYCHÓD < 0";
    if (limit > 0 && Exceeds(total, limit)) return LimitWarning(total, limit);
    return "";
}

std::string CostsWarning(double revenue, double costs) {
    if (Exceeds(0, costs)) return "KOSZTY < 0";
    if (Exceeds(revenue, 0) && Exceeds(costs, revenue)) return "KOSZTY > PRZYCHÓD";
    return "";
}

std::string TaxWarning(double revenue, double costs, double tax) {
    if (Exceeds(0, tax)) return "PODATEK < 0";
    const double base = base::YRound(revenue - costs, 2);
    if (base > 0 && Exceeds(tax, base)) return "PODATEK > (PRZYCHÓD-KOSZTY)";
    return "";
}

IncomeRecord ReadIncomeRecord(dbf::WorkArea& a) {
    const dbf::Record& rec = a.record();
    auto text = [&](const char* f) { return rec.GetString(a.FieldIndex(f)); };
    IncomeRecord r;
    r.employee = text("NR_PRAC");
    r.year = text("ROK_LST");
    r.symbol = text("TYP_LST");
    r.number = static_cast<int>(rec.GetNumber(a.FieldIndex("NR_LST")));
    r.month = text("MC_LST");
    r.paid = base::Trim(rec.GetDate(a.FieldIndex("DATA_WYP")));
    r.kind = text("TYTUL_WYP");
    for (const AmountField& f : kAmounts) r.*f.member = rec.GetNumber(a.FieldIndex(f.name));
    r.automatic = rec.GetLogical(a.FieldIndex("AUTOMAT_"));
    return r;
}

IncomeStore::IncomeStore(common::Runtime& rt, common::Tables& tables)
    : rt_(rt),
      tables_(tables),
      doch_(worktime::OpenOnce(
          tables, "PKDOCH", {"PKDOCH1", "PKDOCH2", "PKDOCH3", "PKDOCH4", "PKDOCH5", "PKDOCH6"})) {}

std::vector<StoredRecord> IncomeStore::OfList(const ListKey& key) {
    std::vector<StoredRecord> out;
    const dbf::KeepPosition keep(doch_);
    worktime::OrderBy(doch_, "PKDOCH2");
    const std::string head = key.Key();
    for (base::Status s = doch_.Seek(head, true); s.ok() && !doch_.eof(); s = doch_.Skip()) {
        const IncomeRecord r = ReadIncomeRecord(doch_);
        if (r.year + r.symbol + payroll::StrN(r.number, 4) != head) break;
        if (!doch_.deleted()) out.push_back({r, doch_.recno()});
    }
    return out;
}

uint32_t IncomeStore::Find(const ListKey& key, std::string_view employee, std::string_view kind) {
    worktime::OrderBy(doch_, "PKDOCH2");
    const std::string full = key.Key() + base::Padded(employee, 6) + base::Padded(kind, 4);
    for (base::Status s = doch_.Seek(full); s.ok() && doch_.found() && !doch_.eof();
         s = doch_.Skip()) {
        const IncomeRecord r = ReadIncomeRecord(doch_);
        if (r.year + r.symbol + payroll::StrN(r.number, 4) + r.employee + r.kind != full) break;
        if (!doch_.deleted()) return doch_.recno();
    }
    return 0;
}

double IncomeStore::RevenueSoFar(std::string_view employee, std::string_view kind,
                                 std::string_view paid, uint32_t self) {
    if (paid.size() < 6) return 0;
    const dbf::KeepPosition keep(doch_);
    worktime::OrderBy(doch_, "PKDOCH3");
    const std::string who = base::Padded(employee, 6), what = base::Padded(kind, 4);
    const std::string year(paid.substr(0, 4)), until(paid.substr(0, 6));
    double sum = 0;
    for (base::Status s = doch_.Seek(who + year, true); s.ok() && !doch_.eof(); s = doch_.Skip()) {
        const IncomeRecord r = ReadIncomeRecord(doch_);
        if (r.employee != who || r.paid.compare(0, 4, year) != 0) break;
        if (r.paid.substr(0, 6) > until) break;
        if (doch_.deleted() || doch_.recno() == self || r.kind != what) continue;
        sum += r.revenue;
    }
    return base::YRound(sum, 2);
}

bool IncomeStore::ReserveNew(const ListKey& key, std::string_view employee, std::string_view kind) {
    if (Find(key, employee, kind) != 0) return false;
    worktime::OrderBy(doch_, "PKDOCH2");
    tables_.Reserve(doch_, key.Key() + base::Padded(employee, 6) + base::Padded(kind, 4));
    dbf::Record& r = doch_.record();
    const payroll::PayrollList l = AsList(key);
    r.SetString(doch_.FieldIndex("NR_PRAC"), base::Padded(employee, 6));
    r.SetString(doch_.FieldIndex("ROK_LST"), l.year);
    r.SetString(doch_.FieldIndex("TYP_LST"), l.symbol);
    r.SetNumber(doch_.FieldIndex("NR_LST"), l.number);
    r.SetString(doch_.FieldIndex("TYTUL_WYP"), base::Padded(kind, 4));
    r.SetLogical(doch_.FieldIndex("AUTOMAT_"), false);
    if (!doch_.Commit().ok()) {
        doch_.Unlock();
        WriteFailed();
    }
    held_ = doch_.recno();
    reserved_ = true;
    return true;
}

bool IncomeStore::Lock(uint32_t recno, IncomeRecord* out) {
    if (!doch_.Goto(recno).ok()) return false;
    tables_.RLock(doch_);
    // What another station may have written meanwhile.
    if (!doch_.Skip(0).ok() || doch_.deleted()) {
        doch_.Unlock();
        return false;
    }
    *out = ReadIncomeRecord(doch_);
    held_ = recno;
    reserved_ = false;
    return true;
}

void IncomeStore::Save(const IncomeRecord& in) {
    doch_.Goto(held_);
    dbf::Record& r = doch_.record();
    r.SetString(doch_.FieldIndex("MC_LST"), in.month);
    r.SetDate(doch_.FieldIndex("DATA_WYP"), in.paid);
    for (const AmountField& f : kAmounts)
        r.SetNumber(doch_.FieldIndex(f.name), base::YRound(in.*f.member, 2));
    if (reserved_) {
        r.SetLogical(doch_.FieldIndex("AUTOMAT_"), false);
        r.SetLogical(doch_.FieldIndex("PPK_ZAK_BM"), rt_.config().Logical("NAGLPPKBM"));
    }
    base::Status s = doch_.Commit();
    if (s.ok() && reserved_) s = doch_.Recall();
    doch_.Unlock();
    held_ = 0;
    reserved_ = false;
    if (!s.ok()) WriteFailed();
}

void IncomeStore::Release() {
    if (held_ != 0) {
        doch_.Goto(held_);
        doch_.Unlock();
    }
    held_ = 0;
    reserved_ = false;
}

void IncomeStore::Delete(uint32_t recno) {
    if (!doch_.Goto(recno).ok()) WriteFailed();
    tables_.RLock(doch_);
    const base::Status s = doch_.deleted() ? base::Status::Ok() : doch_.Delete();
    doch_.Unlock();
    if (!s.ok()) WriteFailed();
}

void IncomeStore::WriteFailed() {
    throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: PKDOCH")));
}

}  // namespace kestrel::tax
