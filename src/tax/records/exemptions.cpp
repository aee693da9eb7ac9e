#include "tax/records/exemptions.h"

#include <cmath>
#include <cstdio>

#include "common/session/abandon.h"
#include "platform/codepage/cp852.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::tax {
namespace {

constexpr double kLargestAmount = 999999.99;  // LIMIT_POD N 9.2

dbf::WorkArea& Area(common::Tables& tables) {
    return worktime::OpenOnce(tables, "PKZPRAC", {"PKZPRAC1"});
}

void Check(const base::Status& s, const char* utf8) {
    if (!s.ok()) throw common::Abandon(codepage::FromUtf8(utf8));
}

}  // namespace

int ExemptionYear(common::Runtime& rt, common::Tables& tables) {
    return worktime::ReadSettlementMonth(rt, tables).year;
}

std::vector<Exemption> ExemptionsOf(common::Tables& tables, int year, const std::string& employee) {
    std::vector<Exemption> out;
    dbf::WorkArea& a = Area(tables);
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKZPRAC1");
    char y[16];
    std::snprintf(y, sizeof y, "%04d", year);
    const int nr = a.FieldIndex("NR_PRAC"), date = a.FieldIndex("DATA_LIM"),
              limit = a.FieldIndex("LIMIT_POD");
    for (base::Status s = a.Seek(std::string(y) + employee); s.ok() && !a.eof(); s = a.Skip()) {
        const std::string when = a.record().GetDate(date);
        const std::string who = a.record().GetString(nr);
        if (when.substr(0, 4) != y || (!employee.empty() && who != employee)) break;
        out.push_back({who, base::DateOfDbfText(when), a.record().GetNumber(limit), a.recno()});
    }
    return out;
}

std::string ExemptionRefusal(int year, const base::Date& granted, double amount) {
    if (granted.empty() || !base::IsValidDate(granted) || granted.year != year)
        return "Data spoza roku " + std::to_string(year);
    if (!(amount >= 0.005)) return "Kwota musi być większa od zera";
    if (amount > kLargestAmount + 0.005) return "Kwota za duża";
    return "";
}

uint32_t AddExemption(common::Tables& tables, int year, const Exemption& e, std::string* refusal) {
    *refusal = ExemptionRefusal(year, e.granted, e.amount);
    if (!refusal->empty()) return 0;
    dbf::WorkArea& a = Area(tables);
    worktime::OrderBy(a, "PKZPRAC1");
    // A deleted record of the same key is taken again.
    const std::string dbf_date = base::DbfDateText(e.granted);
    tables.Reserve(a, dbf_date.substr(0, 4) + e.employee + dbf_date.substr(4));
    try {
        Check(a.record().SetString(a.FieldIndex("NR_PRAC"), e.employee), "Błąd zapisu: PKZPRAC");
        Check(a.record().SetDate(a.FieldIndex("DATA_LIM"), dbf_date), "Błąd zapisu: PKZPRAC");
        Check(a.record().SetNumber(a.FieldIndex("LIMIT_POD"), std::round(e.amount * 100) / 100),
              "Błąd zapisu: PKZPRAC");
        Check(a.Commit(), "Błąd zapisu: PKZPRAC");
        tables.Confirm(a);
    } catch (...) {
        a.Unlock();
        throw;
    }
    const uint32_t added = a.recno();
    a.Unlock();
    return added;
}

void DeleteExemption(common::Tables& tables, uint32_t recno) {
    dbf::WorkArea& a = Area(tables);
    Check(a.Goto(recno), "Błąd odczytu: PKZPRAC");
    if (a.eof() || a.deleted()) return;
    tables.RLock(a);
    const base::Status s = a.Delete();
    a.Unlock();
    Check(s, "Błąd zapisu: PKZPRAC");
}

}  // namespace kestrel::tax
