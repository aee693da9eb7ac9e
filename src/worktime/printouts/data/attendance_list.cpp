#include "worktime/printouts/data/attendance_list.h"

#include <algorithm>
#include <set>

#include "platform/base/text.h"
#include "printing/data/headers.h"
#include "worktime/printouts/data/report_pages.h"
#include "worktime/printouts/data/report_text.h"

namespace kestrel::worktime {
namespace {

constexpr int kFirstHalf = 16;  // days of the first row of cells
constexpr size_t kLeft = 35;    // columns before the cells
constexpr size_t kCell = 6;     // "|" and five characters
const std::string kRule(kLeft + kFirstHalf * kCell + 1, '-');

// The cells of days `from`-`to`, each "|" and its text, closed by "|".
template <typename Text>
std::string Cells(int from, int to, Text text) {
    std::string s;
    for (int day = from; day <= to; ++day) s += "|" + Fit(" " + text(day), kCell - 1);
    return s + "|";
}

}  // namespace

std::string AttendanceListTitle(common::Runtime& rt, const MonthReport& report) {
    std::string t = rt.Text("LISTA OBECNOŚCI - ") + MonthName(rt, report.options.month) + " " +
                    std::to_string(report.options.year);
    const std::string dept = base::Trim(report.options.department);
    if (!dept.empty()) {
        t += rt.Text(", dział: ") + dept;
        if (!report.department_name.empty()) t += " " + report.department_name;
    }
    return t;
}

void PrintAttendanceList(common::Runtime& rt, printing::PrintOutput& out, const MonthReport& report,
                         const std::function<bool()>& interrupted) {
    const common::Configuration& c = rt.config();
    const int days = report.days_in_month;
    const int last_first = std::min(kFirstHalf, days);
    const int extra = std::clamp(static_cast<int>(c.Number("NAGLDLN385")), 0, 99);
    const std::string title = AttendanceListTitle(rt, report);
    const auto number = [](int day) { return Number(day, 2, 0); };

    out.Control(c.Text("YPRLS"));
    ReportPages pages(out, kListRows, [&](int page) {
        printing::Qrmnagl(rt, out, page, title);
        const int row = out.row() + 2;
        out.Say(row, 0, "");
        out.Control(c.Text("YPR17"));
        out.Text(Fit(rt.Text("Lp. Nr     Nazwisko i imię"), kLeft) + Cells(1, last_first, number));
        out.Say(row + 1, 0, std::string(kLeft, ' ') + Cells(kFirstHalf + 1, days, number));
        out.Say(row + 2, 0, std::string(kRule.size(), '='));
    });

    std::set<std::string> shown;  // absence codes on the list
    int lp = 0;
    for (const ReportEmployee& e : report.employees) {
        if (interrupted && interrupted()) break;
        pages.Keep(3 + extra);
        int absent = 0;
        const auto cell = [&](int day) -> std::string {
            const std::string code = MonthReport::AbsenceOn(e, day);
            if (!code.empty()) {
                shown.insert(code);
                return code;
            }
            if (!e.Employed(day)) return "-";
            const size_t i = static_cast<size_t>(day - 1);
            return i < e.days.size() && e.days[i] != ' ' ? std::string(1, e.days[i]) : "";
        };
        for (int day = 1; day <= days; ++day)
            if (!MonthReport::AbsenceOn(e, day).empty()) ++absent;
        pages.Line(Number(++lp, 3, 0) + " " + e.number + " " + Fit(e.name, kLeft - 11) +
                   Cells(1, last_first, cell));
        pages.Line(std::string(kLeft, ' ') + Cells(kFirstHalf + 1, days, cell) + rt.Text(" Nb.:") +
                   Number(absent, 3, 0));
        for (int i = 0; i < extra; ++i)
            pages.Line(std::string(kLeft, ' ') +
                       Cells(1, last_first, [](int) { return std::string(); }));
        pages.Line(kRule);
    }

    pages.Keep(3 + static_cast<int>(shown.size()));
    pages.Line("");
    pages.Line(rt.Text("N - niedziela   S - święto   W - dzień wolny   Nb. - dni nieobecności"));
    for (const std::string& code : shown) {
        const auto a = report.absence.find(code);
        pages.Line(Fit(code, 6) +
                   (a == report.absence.end() ? rt.Text("Błędny kod") : a->second.name));
    }
    out.Eject();
}

}  // namespace kestrel::worktime
