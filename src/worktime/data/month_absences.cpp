#include "worktime/data/month_absences.h"

#include <cstdio>

#include "platform/base/text.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {

std::vector<AbsenceLine> MonthAbsences(common::Tables& tables, const SettlementMonth& month) {
    dbf::WorkArea& a = AbsenceLines(tables);
    const int year = a.FieldIndex("ROK_"), mon = a.FieldIndex("MIESIAC_"), lp = a.FieldIndex("LP_"),
              nr = a.FieldIndex("NR_PRAC"), code = a.FieldIndex("KOD_NIEOB"),
              cy = a.FieldIndex("ROK_KAL"), cm = a.FieldIndex("MC_KAL"),
              from = a.FieldIndex("DZ_ROZP"), to = a.FieldIndex("DZ_ZAK"),
              qty = a.FieldIndex("ILOSC_"), qty2 = a.FieldIndex("ILOSC_2"),
              zy = a.FieldIndex("ROK_ZUS"), zm = a.FieldIndex("MC_ZUS");
    char head[8];
    std::snprintf(head, sizeof head, "%4d%02d", month.year, month.month);
    std::vector<AbsenceLine> lines;
    const dbf::KeepPosition keep(a);
    OrderBy(a, "PKNIEOB1");
    for (base::Status s = a.Seek(head); s.ok() && !a.eof(); s = a.Skip(1)) {
        const dbf::Record& r = a.record();
        if (r.GetNumber(year) != month.year || r.GetNumber(mon) != month.month) break;
        if (a.deleted()) continue;
        auto num = [&r](int f) { return static_cast<int>(r.GetNumber(f)); };
        lines.push_back({std::string(r.Raw(nr)), num(lp), base::TrimRight(r.GetString(code)),
                         num(cy), num(cm), num(from), num(to), r.GetNumber(qty), r.GetNumber(qty2),
                         num(zy), num(zm)});
    }
    return lines;
}

}  // namespace kestrel::worktime
