#include "payroll/data/seniority.h"

#include <cmath>
#include <cstdio>

#include "common/checks/scramble.h"
#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

int MonthIndex(const base::Date& d) {
    return d.year * 12 + d.month - 1;
}

std::string Unscrambled(dbf::WorkArea& prac, const char* field) {
    const int i = prac.FieldIndex(field);
    if (i < 0) return "";
    return base::TrimRight(
        common::Unscramble(common::ScrambleKind::kName, prac.record().GetString(i)));
}

}  // namespace

SeniorityPlan PlanSeniority(common::Runtime& rt, common::Tables& tables, base::YearMonth month,
                            int step, double percent) {
    SeniorityPlan plan;
    dbf::WorkArea& prac = worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    const dbf::KeepPosition keep(prac);
    worktime::OrderBy(prac, "PKPRAC1");
    const int f_number = prac.FieldIndex("NR_PRAC"), f_date = prac.FieldIndex("DATA_STAZ"),
              f_percent = prac.FieldIndex("DOD_STAZ");
    if (f_date < 0 || f_percent < 0 || step <= 0) return plan;
    const int new_month = month.year * 12 + month.month - 1;
    for (base::Status s = prac.GoTop(); s.ok() && !prac.eof(); s = prac.Skip()) {
        if (prac.deleted()) continue;
        const base::Date date = base::DateOfDbfText(prac.record().GetDate(f_date));
        if (date.empty()) continue;
        const base::Date moved = base::AddYears(date, step);
        if (moved.empty() || MonthIndex(moved) > new_month) continue;
        const base::Date twice = base::AddYears(date, 2 * step);
        if (!twice.empty() && MonthIndex(twice) <= new_month) {
            plan.changes.clear();
            plan.error = rt.Text("Błędna data \"stażowa\": ") + base::DateText(date);
            return plan;
        }
        SeniorityChange c;
        c.number = prac.record().GetString(f_number);
        c.recno = prac.recno();
        c.name = Unscrambled(prac, "NAZWX_");
        const std::string names = Unscrambled(prac, "IMIEX_");
        if (!names.empty()) c.name += (c.name.empty() ? "" : " ") + names;
        c.date_before = date;
        c.date_after = moved;
        c.percent_before = prac.record().GetNumber(f_percent);
        c.percent_after = std::round((c.percent_before + percent) * 10) / 10;
        plan.changes.push_back(std::move(c));
    }
    return plan;
}

void ApplySeniority(common::Runtime& rt, common::Tables& tables, const SeniorityPlan& plan) {
    if (!plan.error.empty()) return;
    dbf::WorkArea& prac = worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    const dbf::KeepPosition keep(prac);
    worktime::OrderBy(prac, "PKPRAC1");
    const int f_date = prac.FieldIndex("DATA_STAZ"), f_percent = prac.FieldIndex("DOD_STAZ");
    const auto failed = [&] {
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + prac.alias()));
    };
    const int f_number = prac.FieldIndex("NR_PRAC");
    for (const SeniorityChange& c : plan.changes) {
        if (!prac.Goto(c.recno).ok()) failed();
        tables.RLock(prac);
        // Another workstation may have changed the record since the plan:
        // only the record as planned is moved on.
        const dbf::Record& r = prac.record();
        if (prac.deleted() || r.GetString(f_number) != c.number ||
            base::DateOfDbfText(r.GetDate(f_date)) != c.date_before) {
            prac.Unlock();
            continue;
        }
        base::Status s = prac.record().SetDate(f_date, base::DbfDateText(c.date_after));
        if (s.ok()) s = prac.record().SetNumber(f_percent, c.percent_after);
        if (s.ok()) s = prac.Commit();
        prac.Unlock();
        if (!s.ok()) failed();
    }
}

std::string SeniorityCountText(common::Runtime& rt, int count) {
    if (count == 1) return rt.Text("Skorygowano 1 dodatek stażowy");
    if (count >= 2 && count <= 4)
        return rt.Text("Skorygowano ") + std::to_string(count) + rt.Text(" dodatki stażowe");
    char n[16];
    std::snprintf(n, sizeof n, "%3d", count);
    return rt.Text("Skorygowano ") + n + rt.Text(" dodatków stażowych");
}

std::vector<std::string> SeniorityReport(common::Runtime& rt, const SeniorityPlan& plan) {
    std::vector<std::string> lines;
    lines.push_back(
        rt.Text("Nr     Nazwisko i imię          Data staż.  Dod.%  -> Data staż.  Dod.%"));
    for (const SeniorityChange& c : plan.changes) {
        std::string name = c.name.substr(0, 24);
        name.resize(24, ' ');
        char t[128];
        std::snprintf(t, sizeof t, "%s %s %s %5.1f  -> %s %5.1f", c.number.c_str(), name.c_str(),
                      base::DateText(c.date_before).c_str(), c.percent_before,
                      base::DateText(c.date_after).c_str(), c.percent_after);
        lines.push_back(t);
    }
    return lines;
}

}  // namespace kestrel::payroll
