#include "payroll/data/list_register.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/payroll_records.h"
#include "payroll/data/positions.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

const std::vector<std::string> kListIndexes = {"PKLISTY1", "PKLISTY2", "PKLISTY3",
                                               "PKLISTY4", "PKLISTY5", "PKLISTY6"};
const std::vector<std::string> kTaxIndexes = {"PKDOCH1", "PKDOCH2", "PKDOCH3",
                                              "PKDOCH4", "PKDOCH5", "PKDOCH6"};

constexpr int kFirstForYear = 1999;

std::string TwoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

// The record numbers of the visible records of `area` whose key in index
// file `index` begins with `prefix`.
std::vector<uint32_t> RecordsOf(dbf::WorkArea& area, std::string_view index,
                                const std::string& prefix) {
    const dbf::KeepPosition keep(area);
    worktime::OrderBy(area, index);
    dbf::Index& ix = area.index(static_cast<size_t>(area.order() - 1));
    std::vector<uint32_t> out;
    std::string key;
    bool included = false;
    for (base::Status s = area.Seek(prefix, true); s.ok() && !area.eof(); s = area.Skip(1)) {
        key.clear();
        ix.KeyOf(area.record(), &key, &included);
        if (key.compare(0, prefix.size(), prefix) != 0) break;
        out.push_back(area.recno());
    }
    return out;
}

}  // namespace

PaymentRule PaymentRuleOf(common::Runtime& rt) {
    PaymentRule r;
    r.previous_month = rt.config().Logical("NAGLWPPM");
    r.month_after_next = rt.config().Logical("NAGLMCWYP2");
    return r;
}

bool PaymentDateFits(int year, int month, std::string_view paid, PaymentRule rule) {
    const base::Date d = base::DateOfDbfText(paid);
    if (d.empty() || !base::IsValidDate(d)) return false;
    const int ahead = (d.year * 12 + d.month) - (year * 12 + month);
    if (ahead == 0 || ahead == 1) return true;
    if (ahead == -1) return rule.previous_month;
    if (ahead == 2) return rule.month_after_next;
    return false;
}

ListRegister::ListRegister(common::Runtime& rt, common::Tables& tables)
    : rt_(rt), tables_(tables), lists_(worktime::OpenOnce(tables, "PKLISTY", kListIndexes)) {}

template <typename Fn>
void ListRegister::ForEachList(std::string_view index, std::string_view prefix, Fn fn) {
    for (uint32_t recno : RecordsOf(lists_, index, std::string(prefix))) {
        const dbf::KeepPosition keep(lists_);
        if (!lists_.Goto(recno).ok() || lists_.deleted()) continue;
        if (!fn(ReadList(lists_))) break;
    }
}

bool ListRegister::Locate(std::string_view key) {
    worktime::OrderBy(lists_, "PKLISTY1");
    for (base::Status s = lists_.Seek(key); s.ok() && lists_.found() && !lists_.eof();
         s = lists_.Skip()) {
        if (ReadList(lists_).Key() != key) break;
        if (!lists_.deleted()) return true;
    }
    return false;
}

template <typename Fn>
void ListRegister::Write(const PayrollList& list, Fn fill) {
    const dbf::KeepPosition keep(lists_);
    if (!Locate(list.Key())) throw common::Abandon(rt_.Text("Brak takiej listy płac"));
    tables_.RLock(lists_);
    fill(lists_.record());
    const base::Status s = lists_.Commit();
    lists_.Unlock();
    if (!s.ok()) WriteFailed(lists_);
}

void ListRegister::WriteFailed(dbf::WorkArea& area) {
    throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: ") + area.alias()));
}

bool ListRegister::AnyOpen() {
    bool open = false;
    ForEachList("PKLISTY2", "1", [&](const PayrollList& l) {
        open = l.open;
        return false;
    });
    return open;
}

std::string ListRegister::CheckNewAllowed() {
    if (!rt_.config().Logical("NAGLALP") && AnyOpen())
        return rt_.Text("Istnieje aktywna lista płac");
    return "";
}

std::string ListRegister::CheckSymbol(std::string_view year, std::string_view month,
                                      std::string_view symbol, ListSymbol* out) {
    // Symbols are upper case, as the dictionary enters them.
    if (base::IsBlank(symbol) ||
        !FindListSymbol(tables_, base::AsciiUpper(base::Trim(symbol)), out))
        return rt_.Text("Błędny typ listy");
    if (out->once_a_month) {
        bool taken = false;
        ForEachList("PKLISTY4", std::string(year) + std::string(month) + out->symbol,
                    [&](const PayrollList&) {
                        taken = true;
                        return false;
                    });
        if (taken) return rt_.Text("Istnieje już taka lista w tym miesiącu");
    }
    return "";
}

NumberProposal ListRegister::ProposeNumber(std::string_view year, const ListSymbol& symbol) {
    int highest = 0;
    const std::string prefix =
        std::string(year) + (symbol.own_numbering ? base::Padded(symbol.symbol, 2) : "");
    ForEachList(symbol.own_numbering ? "PKLISTY1" : "PKLISTY3", prefix, [&](const PayrollList& l) {
        highest = std::max(highest, l.number);
        return true;
    });
    NumberProposal p;
    if (highest >= kLastListNumber)
        p.refusal = rt_.Text("Brak wolnego numeru listy (max. 9999)");
    else
        p.number = highest + 1;
    return p;
}

std::string ListRegister::CheckNumber(std::string_view year, const ListSymbol& symbol, int number) {
    if (number < 1 || number > kLastListNumber) return rt_.Text("Błędny numer listy (1-9999)");
    bool taken = false;
    if (symbol.own_numbering) {
        ForEachList("PKLISTY1",
                    std::string(year) + base::Padded(symbol.symbol, 2) + StrN(number, 4),
                    [&](const PayrollList&) {
                        taken = true;
                        return false;
                    });
    } else {
        ForEachList("PKLISTY3", std::string(year) + StrN(number, 4), [&](const PayrollList& l) {
            ListSymbol other;
            // A list whose symbol is gone counts as jointly numbered.
            taken = !FindListSymbol(tables_, base::Trim(l.symbol), &other) || !other.own_numbering;
            return !taken;
        });
    }
    return taken ? rt_.Text("Istnieje taka lista płac") : "";
}

bool ListRegister::HasTaxRecords(const PayrollList& list) {
    if (!CompanyHas(tables_, "PKDOCH")) return false;
    dbf::WorkArea& doch = worktime::OpenOnce(tables_, "PKDOCH", kTaxIndexes);
    return !RecordsOf(doch, "PKDOCH2", list.Key()).empty();
}

bool ListRegister::HasRecords(const PayrollList& list) {
    if (CompanyHas(tables_, "PKPLACE")) {
        Positions positions(rt_, tables_);
        if (!positions.OfList(list).empty()) return true;
    }
    return HasTaxRecords(list);
}

std::string ListRegister::CheckForYear(int year, int last) {
    if (year < kFirstForYear || year > last) return rt_.Text("Błędny rok");
    return "";
}

std::string ListRegister::CheckPaymentDate(const PayrollList& list, std::string_view paid) {
    if (!PaymentDateFits(std::atoi(list.year.c_str()), std::atoi(list.month.c_str()), paid,
                         PaymentRuleOf(rt_)))
        return rt_.Text("Błędna data wypłaty");
    return "";
}

void ListRegister::Reserve(const PayrollList& list) {
    worktime::OrderBy(lists_, "PKLISTY1");
    tables_.Reserve(lists_, list.Key());
    dbf::Record& r = lists_.record();
    r.SetString(lists_.FieldIndex("ROK_LST"), list.year);
    r.SetString(lists_.FieldIndex("TYP_LST"), base::Padded(list.symbol, 2));
    r.SetNumber(lists_.FieldIndex("NR_LST"), list.number);
    // Keyed at once, so that a dialog left unfinished is found for reuse.
    if (!lists_.Commit().ok()) WriteFailed(lists_);
    reserved_ = lists_.recno();
}

void ListRegister::Create(const PayrollList& list) {
    if (reserved_ == 0 || !lists_.Goto(reserved_).ok()) WriteFailed(lists_);
    dbf::Record& r = lists_.record();
    r.SetString(lists_.FieldIndex("ROK_LST"), list.year);
    r.SetString(lists_.FieldIndex("TYP_LST"), base::Padded(list.symbol, 2));
    r.SetNumber(lists_.FieldIndex("NR_LST"), list.number);
    r.SetString(lists_.FieldIndex("MC_LST"), list.month);
    r.SetDate(lists_.FieldIndex("DATA_WYP"), list.paid);
    r.SetLogical(lists_.FieldIndex("WSK_AKTYWN"), true);
    r.SetLogical(lists_.FieldIndex("GENER_DOCH"), list.to_tax);
    r.SetNumber(lists_.FieldIndex("ZA_ROK"), list.for_year);
    base::Status s = lists_.Commit();
    if (s.ok()) s = lists_.Recall();
    lists_.Unlock();
    reserved_ = 0;
    if (!s.ok()) WriteFailed(lists_);
    const uint32_t created = lists_.recno();
    const int moved = CopyDateToPositions(list, list.paid);
    CopyDateToTaxRecords(list, list.paid);
    if (moved > 0) PositionsChanged(list);
    lists_.Goto(created);
}

void ListRegister::Release() {
    if (reserved_ != 0 && lists_.Goto(reserved_).ok()) lists_.Unlock();
    reserved_ = 0;
}

std::string ListRegister::Open(const NewList& request, PayrollList* out, bool* remaining) {
    std::string refusal = CheckNewAllowed();
    if (!refusal.empty()) return refusal;
    const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt_, tables_);
    PayrollList l;
    l.year = std::to_string(month.year);
    l.month = TwoDigits(month.month);
    ListSymbol symbol;
    refusal = CheckSymbol(l.year, l.month, request.symbol, &symbol);
    if (!refusal.empty()) return refusal;
    l.symbol = symbol.symbol;
    l.number = request.number;
    if (l.number == 0) {
        const NumberProposal p = ProposeNumber(l.year, symbol);
        if (p.number == 0) return p.refusal;
        l.number = p.number;
    }
    refusal = CheckNumber(l.year, symbol, l.number);
    if (!refusal.empty()) return refusal;
    const bool left = HasRecords(l);
    if (remaining != nullptr) *remaining = left;
    l.to_tax = request.to_tax;
    l.for_year = request.for_year == 0 ? month.year : request.for_year;
    refusal = CheckForYear(l.for_year, month.year);
    if (!refusal.empty()) return refusal;
    refusal = CheckPaymentDate(l, request.paid);
    if (!refusal.empty()) return refusal;
    l.paid = request.paid;
    l.open = true;
    Reserve(l);
    Create(l);
    *out = l;
    return "";
}

int ListRegister::CopyDateToPositions(const PayrollList& list, std::string_view paid) {
    if (!CompanyHas(tables_, "PKPLACE")) return 0;
    Positions positions(rt_, tables_);
    dbf::WorkArea& place = positions.area();
    const dbf::KeepPosition keep(place);
    const int f = place.FieldIndex("DATA_WYP");
    int count = 0;
    for (const Position& p : positions.OfList(list)) {
        if (!place.Goto(p.recno).ok() || place.deleted()) continue;
        tables_.RLock(place);
        place.record().SetDate(f, std::string(paid));
        const base::Status s = place.Commit();
        place.Unlock();
        if (!s.ok()) WriteFailed(place);
        ++count;
    }
    return count;
}

int ListRegister::CopyDateToTaxRecords(const PayrollList& list, std::string_view paid) {
    if (!CompanyHas(tables_, "PKDOCH")) return 0;
    dbf::WorkArea& doch = worktime::OpenOnce(tables_, "PKDOCH", kTaxIndexes);
    const dbf::KeepPosition keep(doch);
    const int f = doch.FieldIndex("DATA_WYP");
    int count = 0;
    for (uint32_t recno : RecordsOf(doch, "PKDOCH2", list.Key())) {
        if (!doch.Goto(recno).ok() || doch.deleted()) continue;
        tables_.RLock(doch);
        doch.record().SetDate(f, std::string(paid));
        const base::Status s = doch.Commit();
        doch.Unlock();
        if (!s.ok()) WriteFailed(doch);
        ++count;
    }
    return count;
}

void ListRegister::PositionsChanged(const PayrollList& list) {
    ListSymbol s;
    if (FindListSymbol(tables_, base::Trim(list.symbol), &s) && s.legal_person) return;
    ClearMonthFlags(rt_, tables_);
}

void ListRegister::ChangePaymentDate(const PayrollList& list, std::string_view paid,
                                     const StageFn& stage) {
    Write(list,
          [&](dbf::Record& r) { r.SetDate(lists_.FieldIndex("DATA_WYP"), std::string(paid)); });
    if (stage) stage(rt_.Text("Aktualizacja zbioru PKPLACE"));
    const int moved = CopyDateToPositions(list, paid);
    if (stage) stage(rt_.Text("Aktualizacja zbioru PKDOCH"));
    CopyDateToTaxRecords(list, paid);
    if (moved > 0) PositionsChanged(list);
}

void ListRegister::Close(const PayrollList& list) {
    Write(list, [&](dbf::Record& r) { r.SetLogical(lists_.FieldIndex("WSK_AKTYWN"), false); });
}

std::string ListRegister::CheckReopen(const PayrollList& list) {
    if (!rt_.config().Logical("NAGLALP") && AnyOpen())
        return rt_.Text("Istnieje aktywna lista płac");
    const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt_, tables_);
    if (list.year != std::to_string(month.year) || list.month != TwoDigits(month.month)) {
        return rt_.Text("Błędny \"") + list.year + "-" + list.month + rt_.Text("\" (akt.m-c: ") +
               std::to_string(month.year) + "." + TwoDigits(month.month) + ")";
    }
    return "";
}

std::string ListRegister::Reopen(const PayrollList& list) {
    if (CompanyHas(tables_, "PKPLACE")) {
        Positions positions(rt_, tables_);
        for (const Position& p : positions.OfList(list))
            if (p.to_tax) return rt_.Text("BLOKADA - Płace przepisane do podatków");
    }
    Write(list, [&](dbf::Record& r) { r.SetLogical(lists_.FieldIndex("WSK_AKTYWN"), true); });
    return "";
}

void ListRegister::SetToTax(const PayrollList& list, bool on) {
    Write(list, [&](dbf::Record& r) { r.SetLogical(lists_.FieldIndex("GENER_DOCH"), on); });
}

void ListRegister::SetForYear(const PayrollList& list, int year) {
    Write(list, [&](dbf::Record& r) { r.SetNumber(lists_.FieldIndex("ZA_ROK"), year); });
}

std::string ListRegister::CheckDelete(const PayrollList& list) {
    return HasTaxRecords(list) ? rt_.Text("Nie kasuj - są pozycje w PKDOCH") : "";
}

int ListRegister::Delete(const PayrollList& list, const CountFn& counted) {
    int count = 0;
    if (CompanyHas(tables_, "PKPLACE")) {
        Positions positions(rt_, tables_);
        dbf::WorkArea& place = positions.area();
        const dbf::KeepPosition keep(place);
        for (const Position& p : positions.OfList(list)) {
            if (!place.Goto(p.recno).ok() || place.deleted()) continue;
            tables_.RLock(place);
            const base::Status s = place.Delete();
            place.Unlock();
            if (!s.ok()) WriteFailed(place);
            ++count;
            if (counted) counted(count);
        }
    }
    if (count > 0) PositionsChanged(list);
    const dbf::KeepPosition keep(lists_);
    if (Locate(list.Key())) {
        tables_.RLock(lists_);
        const base::Status s = lists_.Delete();
        lists_.Unlock();
        if (!s.ok()) WriteFailed(lists_);
    }
    return count;
}

}  // namespace kestrel::payroll
