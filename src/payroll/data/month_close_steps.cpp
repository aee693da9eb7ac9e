// The checks of the month's close that look at other tables than the
// control record, and the write of the control record.
#include <map>

#include "common/session/abandon.h"
#include "payroll/data/month_close.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

bool HasTable(common::Runtime& rt, common::Tables& tables, std::string_view table) {
    return tables.workspace().Find(table) != nullptr ||
           base::Exists(base::FindNoCase(rt.data_dir(), std::string(table) + ".DBF"));
}

// Contributions of the PPK records of `month` still to be sent (STATUS_
// "1"). A company without the table has none.
bool UnprocessedPpk(common::Runtime& rt, common::Tables& tables, base::YearMonth month) {
    if (!HasTable(rt, tables, "PKJSKLA")) return false;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKJSKLA");
    const dbf::KeepPosition keep(a);
    const int f_year = a.FieldIndex("ROK_"), f_month = a.FieldIndex("MC_"),
              f_status = a.FieldIndex("STATUS_");
    if (f_year < 0 || f_month < 0 || f_status < 0) return false;
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
        const dbf::Record& r = a.record();
        if (a.deleted() || static_cast<int>(r.GetNumber(f_year)) != month.year ||
            static_cast<int>(r.GetNumber(f_month)) != month.month)
            continue;
        if (base::Trim(r.GetString(f_status)) == "1") return true;
    }
    return false;
}

}  // namespace

CloseResult CheckSettled(common::Runtime& rt, common::Tables& tables, const ControlRecord& control,
                         MonthCloseDialog& dialog) {
    CloseResult r;
    if (!control.insurance_done) {
        r.outcome = CloseOutcome::kRefused;
        r.message = rt.Text("Brak aktualiz. modułu ZUS wykonaj 6.2.");
        return r;
    }
    if (rt.config().Logical("NAGLKWP") && !control.loan_fund_done)
        dialog.Warn(rt.Text("UWAGA: Brak aktualizacji modułu KZP"));
    if (rt.config().Logical("NAGLPPK20")) {
        if (!control.ppk_done) dialog.Warn(rt.Text("UWAGA: Brak aktualizacji modułu PPK"));
        if (UnprocessedPpk(rt, tables, control.month) &&
            !dialog.Ask(rt.Text("Kontynuować ?"),
                        rt.Text("Istnieją nieprzetworzone dokumenty PPK")))
            r.outcome = CloseOutcome::kCancelled;
    }
    return r;
}

std::string CheckListsTransferred(common::Runtime& rt, common::Tables& tables,
                                  base::YearMonth old_month) {
    if (!HasTable(rt, tables, "PKLISTY") || !HasTable(rt, tables, "PKPLACE")) return "";
    std::vector<PayrollList> lists;
    {
        dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY4"});
        const dbf::KeepPosition keep(a);
        worktime::OrderBy(a, "PKLISTY4");
        char key[8];
        std::snprintf(key, sizeof key, "%04d%02d", old_month.year, old_month.month);
        for (base::Status s = a.Seek(key); s.ok() && a.found() && !a.eof(); s = a.Skip()) {
            if (a.deleted()) continue;
            PayrollList l = ReadList(a);
            if (l.year + l.month != key) break;
            if (l.to_tax) lists.push_back(std::move(l));
        }
    }
    if (lists.empty()) return "";
    std::map<std::string, bool> income;  // component symbol -> has an income type
    for (const Component& c : ReadComponents(tables))
        income[c.symbol] = !base::IsBlank(c.income_kind);
    Positions positions(rt, tables);
    for (const PayrollList& l : lists)
        for (const Position& p : positions.OfList(l)) {
            const auto it = income.find(p.symbol);
            if (it == income.end() || !it->second || p.to_tax) continue;
            return rt.Text("Poz. NIE przepisana do modułu podatk. ") + ListCaption(l) + " " +
                   p.employee;
        }
    return "";
}

void WriteNewMonth(common::Runtime& rt, common::Tables& tables, base::YearMonth month,
                   const std::vector<std::pair<std::string, double>>& values) {
    dbf::WorkArea& ster = worktime::OpenOnce(tables, "PKSTER");
    const dbf::KeepPosition keep(ster);
    if (!ster.GoTop().ok() || ster.eof())
        throw common::Abandon(rt.Text("Brak rekordu kontrolnego w PKSTER"));
    tables.RLock(ster);
    dbf::Record& r = ster.record();
    base::Status s = r.SetNumber(ster.FieldIndex("ROK_"), month.year);
    if (s.ok()) s = r.SetNumber(ster.FieldIndex("MC_"), month.month);
    for (const auto& [field, value] : values) {
        const int i = ster.FieldIndex(field);
        if (s.ok() && i >= 0) s = r.SetNumber(i, value);
    }
    if (s.ok()) s = ster.Commit();
    ster.Unlock();
    if (!s.ok())
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + ster.alias()));
}

}  // namespace kestrel::payroll
