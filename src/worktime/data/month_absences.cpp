#include "worktime/data/month_absences.h"

#include <cstdio>

#include "platform/base/text.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {

AbsenceLine ReadAbsenceLine(dbf::WorkArea& a) {
    const dbf::Record& r = a.record();
    auto num = [&](const char* f) { return static_cast<int>(r.GetNumber(a.FieldIndex(f))); };
    auto text = [&](const char* f) { return r.GetString(a.FieldIndex(f)); };
    AbsenceLine l;
    l.number = text("NR_PRAC");
    l.line = num("LP_");
    l.code = base::TrimRight(text("KOD_NIEOB"));
    l.cal_year = num("ROK_KAL");
    l.cal_month = num("MC_KAL");
    l.from = num("DZ_ROZP");
    l.to = num("DZ_ZAK");
    l.quantity = r.GetNumber(a.FieldIndex("ILOSC_"));
    l.quantity2 = r.GetNumber(a.FieldIndex("ILOSC_2"));
    l.zus_year = num("ROK_ZUS");
    l.zus_month = num("MC_ZUS");
    l.year = num("ROK_");
    l.month = num("MIESIAC_");
    l.group = text("GRUPA_");
    l.percentage = num("PROC_ZAS");
    l.statistical = text("NR_STATYST");
    l.sick1 = text("KOD_CHOR_1");
    l.sick2 = text("KOD_CHOR_2");
    return l;
}

std::vector<AbsenceLine> MonthAbsences(common::Tables& tables, const SettlementMonth& month) {
    dbf::WorkArea& a = AbsenceLines(tables);
    const int year = a.FieldIndex("ROK_"), mon = a.FieldIndex("MIESIAC_");
    char head[8];
    std::snprintf(head, sizeof head, "%4d%02d", month.year, month.month);
    std::vector<AbsenceLine> lines;
    const dbf::KeepPosition keep(a);
    OrderBy(a, "PKNIEOB1");
    for (base::Status s = a.Seek(head); s.ok() && !a.eof(); s = a.Skip(1)) {
        const dbf::Record& r = a.record();
        if (r.GetNumber(year) != month.year || r.GetNumber(mon) != month.month) break;
        if (a.deleted()) continue;
        lines.push_back(ReadAbsenceLine(a));
    }
    return lines;
}

}  // namespace kestrel::worktime
