#include "worktime/time_browse.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/formula/transform.h"
#include "register/data/employee_record.h"
#include "worktime/browse_search.h"
#include "worktime/data/computed_codes.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"
#include "worktime/data/time_lines.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr int kTop = 7, kBottom = 20, kSearchRow = 22;

}  // namespace

void BrowseWorkingTime(common::Runtime& rt, common::Tables& tables) {
    const SettlementMonth month = ReadSettlementMonth(rt, tables);
    TimeLines time(rt, tables, month);
    const WorkCodes codes(tables);
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1", "PKPRAC2"});
    std::vector<TimeLine> lines = time.AllLines();
    std::map<std::string, std::string> names;
    for (const TimeLine& l : lines) {
        if (names.count(l.number) > 0) continue;
        OrderBy(prac, "PKPRAC1");
        names[l.number] =
            prac.Seek(l.number).ok() && prac.found() ? common::EmployeeName(prac) : std::string();
    }
    const std::string mask = rt.config().Text("NAGLMSKON");

    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(5, 22, rt.Text("3.5. Przeglądanie czasu pracy"), plain);
    s.Write(5, 56, rt.Text("Rok-miesiac: ") + month.Text(), plain);
    common::WriteLegend(rt, 21, 2, "<Esc>-Wyjście    <F2>-Szukanie pracownika");

    int current = 1;
    auto at = [&]() -> const TimeLine& { return lines[static_cast<size_t>(current - 1)]; };
    auto cell = [&](auto fn) {
        return [&, fn]() -> std::string { return lines.empty() ? std::string() : fn(at()); };
    };
    std::vector<common::BrowseColumn> columns = {
        {rt.Text("PRAC."), 6, cell([](const TimeLine& l) { return l.number; })},
        {rt.Text("NAZWISKO I IMIĘ"), 14,
         cell([&](const TimeLine& l) { return Cut(names[l.number], 14); })},
        {rt.Text("KOD"), 4, cell([](const TimeLine& l) { return Cut(l.code, 4); })},
        {rt.Text("NAZWA KODU"), 11, cell([&](const TimeLine& l) {
             const WorkCode* c = codes.Find(l.code);
             return Cut(c == nullptr ? rt.Text("Błędny kod obecności") : c->name, 11);
         })},
        {rt.Text("TYP"), 3, cell([&](const TimeLine& l) {
             const WorkCode* c = codes.Find(l.code);
             return std::string(1, c == nullptr ? ' ' : c->type);
         })},
        {rt.Text("KONTO"), 13, cell([&](const TimeLine& l) {
             return base::IsBlank(l.account) ? std::string(13, ' ')
                                             : formula::TransformString(l.account, mask);
         })},
        {rt.Text("ILOŚĆ"), 7, cell([](const TimeLine& l) {
             char h[16];
             std::snprintf(h, sizeof h, "%7.2f", l.hours);
             return std::string(h);
         })},
    };
    BrowseByEmployee(
        rt, tables, kTop, kBottom, kSearchRow, plain, std::move(columns), lines.size(),
        [&lines](const std::string& number) {
            return static_cast<size_t>(
                std::lower_bound(
                    lines.begin(), lines.end(), number,
                    [](const TimeLine& l, const std::string& n) { return l.number < n; }) -
                lines.begin());
        },
        &current);
}

void Qrm35(common::Runtime& rt) {
    common::Tables tables(rt);
    BrowseWorkingTime(rt, tables);
}

}  // namespace kestrel::worktime
