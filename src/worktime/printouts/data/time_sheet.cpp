#include "worktime/printouts/data/time_sheet.h"

#include <cstdio>

#include "platform/base/text.h"
#include "printing/data/headers.h"
#include "worktime/data/calendar_rules.h"
#include "worktime/printouts/data/report_pages.h"
#include "worktime/printouts/data/report_text.h"

namespace kestrel::worktime {
namespace {

const std::string kRule(78, '-');

class Sheet {
  public:
    Sheet(common::Runtime& rt, printing::PrintOutput& out, const MonthReport& report)
        : rt_(rt),
          out_(out),
          report_(report),
          title_(TimeSheetTitle(rt, report)),
          pages_(out, kSheetRows, [this](int page) { Header(page); }) {}

    void Print(const ReportEmployee& e) {
        employee_ = &e;
        continued_ = false;
        pages_.NewPage();
        continued_ = true;
        Days(e);
        Summary(e);
        WorkingTime(e);
        Absences(e);
        Signatures();
    }

  private:
    void Header(int page) {
        printing::Qrmnagl2(rt_, out_, page, title_);
        const ReportEmployee& e = *employee_;
        const int row = out_.row() + 2;
        std::string who = rt_.Text("Pracownik: ") + e.number + "  " + e.name;
        if (continued_) who += rt_.Text("  (cd.)");
        out_.Say(row, 0, who);
        std::string dept = rt_.Text("Dział: ") + e.department;
        if (!e.department_name.empty()) dept += " " + e.department_name;
        out_.Say(row + 1, 0, Fit(dept, 48) + rt_.Text("Grupa kalendarzowa: ") + e.group);
        out_.Say(row + 2, 0,
                 rt_.Text("Wymiar etatu: ") + base::Trim(Number(e.fraction, 6, 2)) +
                     rt_.Text("   Godzin pracy dziennie: ") +
                     base::Trim(Number(e.hours_per_day, 8, 2)));
        if (e.days.empty()) {
            char year[8];
            std::snprintf(year, sizeof year, "%04d", report_.options.year);
            out_.Say(row + 3, 0, rt_.Text("Brak kalendarza ") + "\"" + year + " " + e.group + "\"");
        }
    }

    void Days(const ReportEmployee& e) {
        pages_.Line(kRule);
        pages_.Line(rt_.Text("Dzień Dzień tygodnia  Rodzaj dnia  Norma godz.  Nieobecność"));
        pages_.Line(kRule);
        const int year = report_.options.year, month = report_.options.month;
        const double norm = e.hours_per_day * e.fraction;
        for (int day = 1; day <= report_.days_in_month; ++day) {
            const char code = static_cast<size_t>(day) <= e.days.size()
                                  ? e.days[static_cast<size_t>(day - 1)]
                                  : 0;
            const bool employed = e.Employed(day);
            std::string line = Number(day, 4, 0) + "  " +
                               Fit(WeekdayName(rt_, DayOfWeek({year, month, day})), 15) +
                               Fit(employed ? DayKindName(rt_, code) : "-", 13);
            line += code == ' ' && employed ? Number(norm, 10, 2) : std::string(10, ' ');
            const std::string absence = MonthReport::AbsenceOn(e, day);
            if (!absence.empty()) line += "   " + Fit(absence, 5) + Fit(AbsenceName(absence), 24);
            pages_.Line(base::TrimRight(line));
        }
        pages_.Line(kRule);
    }

    void Summary(const ReportEmployee& e) {
        const int working = e.WorkingDays();
        pages_.Line(rt_.Text("Dni pracy wg kalendarza: ") + Number(working, 3, 0) +
                    rt_.Text("      Norma czasu pracy (godz.): ") +
                    Number(working * e.hours_per_day * e.fraction, 8, 2));
        pages_.Line("");
    }

    void WorkingTime(const ReportEmployee& e) {
        pages_.Keep(4);
        pages_.Line(rt_.Text("Czas pracy w miesiącu:"));
        pages_.Line(
            rt_.Text("Kod   Nazwa                           Typ      Godziny  Konto koszt."));
        double by_type[3] = {0, 0, 0};
        for (const TimeLine& l : e.lines) {
            const auto c = report_.work.find(l.code);
            const char type = c == report_.work.end() ? ' ' : c->second.type;
            const std::string name =
                c == report_.work.end() ? rt_.Text("Błędny kod obecności") : c->second.name;
            pages_.Line(base::TrimRight(Fit(l.code, 6) + Fit(name, 32) + std::string(1, type) +
                                        Number(l.hours, 15, 2) + "  " + base::Trim(l.account)));
            if (type == 'E') by_type[0] += l.hours;
            if (type == 'N') by_type[1] += l.hours;
            if (type == 'D') by_type[2] += l.hours;
        }
        if (e.lines.empty()) pages_.Line(rt_.Text("(brak)"));
        pages_.Keep(2);
        pages_.Line(rt_.Text("Razem wg typów:  Etat") + Number(by_type[0], 9, 2) +
                    rt_.Text("   Nadgodziny") + Number(by_type[1], 9, 2) + rt_.Text("   Dodatki") +
                    Number(by_type[2], 9, 2));
        pages_.Line("");
    }

    void Absences(const ReportEmployee& e) {
        pages_.Keep(4);
        pages_.Line(rt_.Text("Nieobecności:"));
        pages_.Line(rt_.Text("Kod   Nazwa                           Dni od-do        Ilość"));
        double days = 0, hours = 0;
        for (const AbsenceLine& l : e.absences) {
            const auto c = report_.absence.find(l.code);
            const bool in_hours = c != report_.absence.end() && c->second.in_hours;
            std::string span = Number(l.from, 2, 0) + "-" + Number(l.to, 2, 0);
            pages_.Line(Fit(l.code, 6) + Fit(AbsenceName(l.code), 32) + Fit(span, 9) +
                        Number(l.quantity, 12, 3) +
                        (in_hours ? rt_.Text(" godz.") : rt_.Text(" dni")));
            (in_hours ? hours : days) += l.quantity;
        }
        if (e.absences.empty()) pages_.Line(rt_.Text("(brak)"));
        pages_.Keep(2);
        pages_.Line(rt_.Text("Razem dni nieobecności:") + Number(days, 10, 3) +
                    rt_.Text("   godzin:") + Number(hours, 10, 3));
    }

    void Signatures() {
        pages_.Keep(4);
        pages_.Line("");
        pages_.Line("");
        pages_.Line("   ...........................              ...........................");
        pages_.Line(rt_.Text("        podpis pracownika                       podpis pracodawcy"));
    }

    std::string AbsenceName(const std::string& code) const {
        const auto c = report_.absence.find(code);
        return c == report_.absence.end() ? rt_.Text("Błędny kod") : c->second.name;
    }

    common::Runtime& rt_;
    printing::PrintOutput& out_;
    const MonthReport& report_;
    const std::string title_;
    ReportPages pages_;
    const ReportEmployee* employee_ = nullptr;
    bool continued_ = false;
};

}  // namespace

std::string TimeSheetTitle(common::Runtime& rt, const MonthReport& report) {
    std::string t = rt.Text("KARTA EWIDENCJI CZASU PRACY - ") +
                    MonthName(rt, report.options.month) + " " + std::to_string(report.options.year);
    return t;
}

void PrintTimeSheets(common::Runtime& rt, printing::PrintOutput& out, const MonthReport& report,
                     const std::function<bool()>& interrupted) {
    out.Control(rt.config().Text("YPRRS"));
    Sheet sheet(rt, out, report);
    for (const ReportEmployee& e : report.employees) {
        if (interrupted && interrupted()) break;
        sheet.Print(e);
    }
    out.Eject();
}

}  // namespace kestrel::worktime
