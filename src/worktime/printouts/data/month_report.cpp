#include "worktime/printouts/data/month_report.h"

#include <algorithm>
#include <cstdio>

#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "register/data/employee_record.h"
#include "worktime/data/absence_entry.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/computed_codes.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {
namespace {

std::map<std::string, std::string> DepartmentNames(common::Tables& tables) {
    std::map<std::string, std::string> names;
    dbf::WorkArea& a = OpenOnce(tables, "PKDZIAL");
    const int code = a.FieldIndex("DZIAL_"), name = a.FieldIndex("NAZWA_");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
        if (a.deleted()) continue;
        names.emplace(base::Trim(a.record().GetString(code)),
                      base::Trim(a.record().GetString(name)));
    }
    return names;
}

// Employed on some day of the month: hired on or before its last day and
// not dismissed before its first (an empty date limits nothing).
bool EmployedIn(const registry::EmployeeRecord& e, int year, int month) {
    char first[9], last[9];
    std::snprintf(first, sizeof first, "%04d%02d01", year, month);
    std::snprintf(last, sizeof last, "%04d%02d%02d", year, month, base::DaysInMonth(year, month));
    const std::string hired = e.Date("DATA_ZATR"), left = e.Date("DATA_ZWOLN");
    return (hired.empty() || hired <= last) && (left.empty() || left >= first);
}

std::vector<AbsenceLine> AbsencesCovering(common::Tables& tables, const std::string& number,
                                          int year, int month) {
    dbf::WorkArea& a = AbsenceLines(tables);
    const dbf::KeepPosition keep(a);
    OrderBy(a, "PKNIEOB8");
    char head[16];
    std::snprintf(head, sizeof head, "%4d%02d", year, month);
    std::vector<AbsenceLine> lines;
    base::Status s = a.Seek(number + head);
    if (!a.found()) return lines;
    for (; s.ok() && !a.eof(); s = a.Skip(1)) {
        if (a.deleted()) continue;
        AbsenceLine l = ReadAbsenceLine(a);
        if (l.number != number || l.cal_year != year || l.cal_month != month) break;
        lines.push_back(std::move(l));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const AbsenceLine& x, const AbsenceLine& y) {
        return x.code != y.code ? x.code < y.code : x.from < y.from;
    });
    return lines;
}

}  // namespace

int ReportEmployee::WorkingDays() const {
    int n = 0;
    for (size_t i = 0; i < days.size(); ++i)
        if (days[i] == ' ' && Employed(static_cast<int>(i) + 1)) ++n;
    return n;
}

std::string MonthReport::AbsenceOn(const ReportEmployee& e, int day) {
    for (const AbsenceLine& l : e.absences)
        if (l.from > 0 && l.from <= day && day <= l.to) return l.code;
    return "";
}

MonthReport ReadMonthReport(common::Runtime& rt, common::Tables& tables,
                            const ReportOptions& options) {
    MonthReport r;
    r.options = options;
    r.days_in_month = base::DaysInMonth(options.year, options.month);
    const SettlementMonth month{options.year, options.month};

    const WorkCodes work(tables);
    for (const WorkCode& c : work.all()) r.work[c.code] = {base::Trim(c.name), c.type, false};
    const AbsenceCodes absence(tables);
    for (const AbsenceCode& c : absence.all())
        r.absence[c.code] = {base::Trim(c.name), c.type, c.in_hours};
    const std::map<std::string, std::string> departments = DepartmentNames(tables);
    const std::string wanted = base::Trim(options.department);
    if (!wanted.empty()) {
        const auto d = departments.find(wanted);
        if (d != departments.end()) r.department_name = d->second;
    }

    // The employees first: the lines are read per employee afterwards.
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    OrderBy(prac, "PKPRAC1");
    for (base::Status s = prac.GoTop(); s.ok() && !prac.eof(); s = prac.Skip(1)) {
        if (prac.deleted()) continue;
        const registry::EmployeeRecord e = registry::ReadEmployee(prac);
        const std::string number = e.number();
        if (number < options.from || number > options.to) continue;
        if (e.kind() != registry::EmployeeKind::kStaff) continue;
        if (!EmployedIn(e, options.year, options.month)) continue;
        ReportEmployee out;
        out.department = base::Trim(e.Text("DZIAL_"));
        if (!wanted.empty() && out.department != wanted) continue;
        out.number = number;
        out.name = e.surname();
        if (!e.first_names().empty()) out.name += " " + e.first_names();
        const auto d = departments.find(out.department);
        if (d != departments.end()) out.department_name = d->second;
        out.group = base::Trim(e.Text("GRUPA_KAL"));
        char month_head[8];
        std::snprintf(month_head, sizeof month_head, "%04d%02d", options.year, options.month);
        const std::string hired = e.Date("DATA_ZATR"), left = e.Date("DATA_ZWOLN");
        out.first_day = hired.compare(0, 6, month_head) == 0 ? std::stoi(hired.substr(6)) : 1;
        out.last_day =
            left.compare(0, 6, month_head) == 0 ? std::stoi(left.substr(6)) : r.days_in_month;
        out.fraction = WorkingFraction(e.Number("ETAT_L"), e.Number("ETAT_M"));
        r.employees.push_back(std::move(out));
    }

    TimeLines time(rt, tables, month);
    dbf::WorkArea& kalen = OpenCalendars(tables);
    for (ReportEmployee& e : r.employees) {
        e.hours_per_day = HoursPerDay(rt, tables, e.number, month);
        if (SeekCalendar(kalen, options.year, e.group))
            e.days = ReadCalendar(kalen).months[static_cast<size_t>(options.month - 1)];
        e.lines = time.LinesOf(e.number);
        e.absences = AbsencesCovering(tables, e.number, options.year, options.month);
    }
    return r;
}

std::string MonthName(common::Runtime& rt, int month) {
    static const char* const kNames[] = {"styczeń",  "luty",        "marzec",   "kwiecień",
                                         "maj",      "czerwiec",    "lipiec",   "sierpień",
                                         "wrzesień", "październik", "listopad", "grudzień"};
    if (month < 1 || month > 12) return "";
    return rt.Text(kNames[month - 1]);
}

}  // namespace kestrel::worktime
