#include "worktime/absence_browse.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "platform/console/keys.h"
#include "worktime/browse_search.h"
#include "worktime/data/month_absences.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr int kTop = 7, kBottom = 20, kSearchRow = 22;

std::string MonthText(int year, int month) {
    if (year == 0 && month == 0) return std::string(7, ' ');
    char t[16];
    std::snprintf(t, sizeof t, "%04d.%02d", year, month);
    return t;
}

std::string Quantity(double q) {
    char t[24];
    std::snprintf(t, sizeof t, "%7.3f", q);
    return t;
}

}  // namespace

void BrowseAbsences(common::Runtime& rt, common::Tables& tables) {
    const SettlementMonth month = ReadSettlementMonth(rt, tables);
    std::vector<AbsenceLine> lines = MonthAbsences(tables, month);
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1", "PKPRAC2"});
    dbf::WorkArea& rnb = OpenOnce(tables, "PKRNB", {"PKRNB1"});
    std::map<std::string, std::string> names, code_names;
    for (const AbsenceLine& l : lines) {
        if (names.count(l.number) == 0) {
            OrderBy(prac, "PKPRAC1");
            names[l.number] = prac.Seek(l.number).ok() && prac.found() ? common::EmployeeName(prac)
                                                                       : std::string();
        }
        if (code_names.count(l.code) == 0) {
            OrderBy(rnb, "PKRNB1");
            const bool known = rnb.Seek(Cut(l.code, 4)).ok() && rnb.found() && !rnb.deleted();
            code_names[l.code] =
                known ? rnb.record().GetString(rnb.FieldIndex("NAZWA_")) : std::string();
        }
    }

    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(5, 18, rt.Text("3.6. Przeglądanie nieobecności"), plain);
    s.Write(5, 56, rt.Text("Rok-miesiac: ") + month.Text(), plain);
    common::WriteLegend(rt, 21, 2, "<Esc>-Wyjście    <F2>-Szukanie pracownika");

    int current = 1;
    auto at = [&]() -> const AbsenceLine& { return lines[static_cast<size_t>(current - 1)]; };
    auto cell = [&](auto fn) {
        return [&, fn]() -> std::string { return lines.empty() ? std::string() : fn(at()); };
    };
    // Three columns keep the line within the screen: who, what, and when
    // with how much.
    std::vector<common::BrowseColumn> columns = {
        {rt.Text("PRACOWNIK"), 19,
         cell([&](const AbsenceLine& l) { return l.number + " " + Cut(names[l.number], 12); })},
        {rt.Text("LP KOD  NAZWA"), 15, cell([&](const AbsenceLine& l) {
             char t[8];
             std::snprintf(t, sizeof t, "%2d ", l.line);
             return t + Cut(l.code, 4) + " " + Cut(code_names[l.code], 7);
         })},
        {rt.Text("KALEND. DNI     ILOŚĆ ILOŚĆ 2 ZUS"), 37, cell([](const AbsenceLine& l) {
             char days[16];
             std::snprintf(days, sizeof days, "%02d-%02d", l.from, l.to);
             return MonthText(l.cal_year, l.cal_month) + " " + days + " " + Quantity(l.quantity) +
                    " " + Quantity(l.quantity2) + " " + MonthText(l.zus_year, l.zus_month);
         })},
    };
    BrowseByEmployee(
        rt, tables, kTop, kBottom, kSearchRow, plain, std::move(columns), lines.size(),
        [&lines](const std::string& number) {
            return static_cast<size_t>(
                std::lower_bound(
                    lines.begin(), lines.end(), number,
                    [](const AbsenceLine& l, const std::string& n) { return l.number < n; }) -
                lines.begin());
        },
        &current);
}

void Qrm36(common::Runtime& rt) {
    common::Tables tables(rt);
    BrowseAbsences(rt, tables);
}

}  // namespace kestrel::worktime
