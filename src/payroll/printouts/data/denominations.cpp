#include "payroll/printouts/data/denominations.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "common/session/abandon.h"
#include "payroll/data/payroll_records.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

int64_t Grosze(double value) {
    return static_cast<int64_t>(std::llround(value * 100));
}

// The live records of PKNOM in record order with their values.
std::vector<std::pair<uint32_t, int64_t>> Live(dbf::WorkArea& a) {
    std::vector<std::pair<uint32_t, int64_t>> out;
    const int f = a.FieldIndex("NOMINAL_");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip())
        if (!a.deleted()) out.emplace_back(a.recno(), Grosze(a.record().GetNumber(f)));
    return out;
}

}  // namespace

std::vector<int64_t> ReadDenominations(common::Tables& tables) {
    std::vector<int64_t> out;
    if (!CompanyHas(tables, "PKNOM")) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKNOM");
    const dbf::KeepPosition keep(a);
    for (const auto& [recno, value] : Live(a)) out.push_back(value);
    return out;
}

bool SortDenominations(common::Tables& tables) {
    if (!CompanyHas(tables, "PKNOM")) return false;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKNOM");
    const dbf::KeepPosition keep(a);
    const auto live = Live(a);
    std::vector<int64_t> values;
    for (const auto& [recno, value] : live) values.push_back(value);
    if (std::is_sorted(values.begin(), values.end(), std::greater<>())) return false;
    std::stable_sort(values.begin(), values.end(), std::greater<>());
    const int f = a.FieldIndex("NOMINAL_");
    for (size_t i = 0; i < live.size(); ++i) {
        if (live[i].second == values[i]) continue;
        if (!a.Goto(live[i].first).ok())
            throw common::Abandon(tables.rt().Text("Błąd zapisu: PKNOM"));
        tables.RLock(a);
        if (!a.record().SetNumber(f, static_cast<double>(values[i]) / 100).ok() || !a.Commit().ok())
            throw common::Abandon(tables.rt().Text("Błąd zapisu: PKNOM"));
        (void)a.Unlock();
    }
    return true;
}

dbf::WorkArea& DenominationsArea(common::Tables& tables) {
    return worktime::OpenOnce(tables, "PKNOM");
}

namespace {

void Store(common::Tables& tables, dbf::WorkArea& a, int64_t grosze) {
    if (!a.record().SetNumber(a.FieldIndex("NOMINAL_"), static_cast<double>(grosze) / 100).ok() ||
        !a.Commit().ok())
        throw common::Abandon(tables.rt().Text("Błąd zapisu: PKNOM"));
    (void)a.Unlock();
}

}  // namespace

void AddDenomination(common::Tables& tables, int64_t grosze) {
    dbf::WorkArea& a = DenominationsArea(tables);
    tables.Append(a);
    Store(tables, a, grosze);
    SortDenominations(tables);
}

void ChangeDenomination(common::Tables& tables, int64_t grosze) {
    dbf::WorkArea& a = DenominationsArea(tables);
    if (a.eof()) return;
    tables.RLock(a);
    Store(tables, a, grosze);
    SortDenominations(tables);
}

void DeleteDenomination(common::Tables& tables) {
    dbf::WorkArea& a = DenominationsArea(tables);
    if (a.eof()) return;
    tables.RLock(a);
    if (!a.Delete().ok()) throw common::Abandon(tables.rt().Text("Błąd zapisu: PKNOM"));
    (void)a.Unlock();
}

bool ValidDenomination(int64_t grosze) {
    return grosze > 0 && grosze <= 999999999;  // 9999999.99
}

}  // namespace kestrel::payroll
