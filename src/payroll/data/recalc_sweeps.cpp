// The cleaning of a whole-list recalculation: positions of the list and
// attendance records of its month that belong to no employee the run can
// compute.
//
// The sweep decides by the register alone, never by where the employee
// loop stands: an employee of the list kind keeps everything here, whether
// the loop reaches him in the first pass (employed) or the second
// (dismissed), so the entered and blocked positions of a dismissed employee
// survive, and nothing the first pass computed is removed by the second.
// Each distinct employee number of the list costs one seek.
#include <algorithm>
#include <cstdio>

#include "common/session/abandon.h"
#include "payroll/data/recalc_state.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

bool Holds(const std::vector<std::string>& sorted, std::string_view number) {
    return std::binary_search(sorted.begin(), sorted.end(), number,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

// Past every key that begins with `prefix`.
std::string After(const std::string& prefix) {
    return prefix + std::string(8, '\xFF');
}

}  // namespace

int SweepOrphans(Recalculation::State& s, const std::vector<std::string>& of_kind,
                 const std::vector<std::string>& registered) {
    int deleted = 0;
    // The list's positions, one employee number at a time.
    {
        dbf::WorkArea& a = s.positions->area();
        const std::string list_key = Positions::Key(s.list);
        const int f_nr = a.FieldIndex("NR_PRAC"), f_year = a.FieldIndex("ROK_LST"),
                  f_type = a.FieldIndex("TYP_LST"), f_num = a.FieldIndex("NR_LST");
        std::vector<std::string> orphans;
        worktime::OrderBy(a, "PKPLACE1");
        for (base::Status st = a.Seek(list_key, true); st.ok() && !a.eof();) {
            const dbf::Record& r = a.record();
            if (r.Raw(f_year) != s.list.year || r.Raw(f_type) != s.list.symbol ||
                static_cast<int>(r.GetNumber(f_num)) != s.list.number)
                break;
            const std::string number = r.GetString(f_nr);
            if (!Holds(of_kind, number)) orphans.push_back(number);
            st = a.Seek(After(Positions::Key(s.list, number)), true);
        }
        for (const std::string& number : orphans)
            deleted += s.positions->DeleteEmployee(s.list, number);
    }
    // The month's attendance records of numbers the register does not know.
    {
        dbf::WorkArea& czas = s.lines->area();
        worktime::OrderBy(czas, "PKCZAS1");
        const int f_nr = czas.FieldIndex("NR_PRAC"), f_year = czas.FieldIndex("ROK_"),
                  f_month = czas.FieldIndex("MIESIAC_");
        const YearMonth m = s.host.list_month();
        char month_key[16];
        std::snprintf(month_key, sizeof month_key, "%4d%02d", m.year, m.month);
        std::vector<uint32_t> doomed;
        for (base::Status st = czas.Seek(month_key, true); st.ok() && !czas.eof();) {
            const dbf::Record& r = czas.record();
            if (static_cast<int>(r.GetNumber(f_year)) != m.year ||
                static_cast<int>(r.GetNumber(f_month)) != m.month)
                break;
            const std::string number = r.GetString(f_nr);
            if (Holds(registered, number)) {
                st = czas.Seek(After(month_key + number), true);
                continue;
            }
            if (!czas.deleted()) doomed.push_back(czas.recno());
            st = czas.Skip(1);
        }
        for (uint32_t recno : doomed) {
            czas.Goto(recno);
            if (czas.deleted()) continue;
            s.tables.RLock(czas);
            const base::Status st = czas.Delete();
            czas.Unlock();
            if (!st.ok()) throw common::Abandon(s.rt.Text("Błąd zapisu: ") + czas.alias());
        }
    }
    return deleted;
}

}  // namespace kestrel::payroll
