#include "worktime/data/month_run.h"

#include "worktime/data/computed_codes.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

MonthRunResult ComputeMonth(
    common::Runtime& rt, common::Tables& tables, std::string_view number,
    const std::function<void(const std::string& number, const std::string& message)>& report) {
    const SettlementMonth month = ReadSettlementMonth(rt, tables);
    FormulaHost host(rt, tables);
    for (const std::string& m : host.Prepare()) report("", m);
    ComputedCodes codes(host, tables);
    TimeLines lines(rt, tables, month);
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    OrderBy(prac, "PKPRAC1");
    const int f_number = prac.FieldIndex("NR_PRAC");
    const int f_group = prac.FieldIndex("GRUPA_KAL");
    const int f_legal = prac.FieldIndex("OS_PRAWNA");
    MonthRunResult result;
    base::Status s = number.empty() ? prac.GoTop() : prac.Seek(number);
    for (; s.ok() && !prac.eof(); s = prac.Skip(1)) {
        const std::string nr = prac.record().GetString(f_number);
        if (!number.empty() && nr != number) break;
        if (prac.record().GetLogical(f_legal)) continue;
        const uint32_t here = prac.recno();
        ++result.employees;
        const std::string message = codes.Run(lines, nr, prac.record().GetString(f_group));
        if (!message.empty()) {
            ++result.failed;
            report(nr, message);
        }
        prac.Goto(here);
    }
    return result;
}

}  // namespace kestrel::worktime
