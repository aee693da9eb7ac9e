// What the working-time print-outs of a month read: the employees chosen
// for the print-out, each with the day codes of the calendar of its group,
// its working-time lines (PKCZAS) and the absence lines that cover days of
// the month (PKNIEOB by calendar month, whichever month they were entered
// in).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "worktime/data/month_absences.h"
#include "worktime/data/time_lines.h"

namespace kestrel::worktime {

/// The choice of the operator.
struct ReportOptions {
    int year = 0, month = 0;
    std::string from = "000001", to = "999999";  // employee numbers, both included
    std::string department;                      // DZIAL_; blank for every department
};

struct ReportEmployee {
    std::string number;           // NR_PRAC
    std::string name;             // "SURNAME FIRST NAMES" (CP852)
    std::string department;       // DZIAL_, trimmed
    std::string department_name;  // its NAZWA_ in PKDZIAL, trimmed ("" when none)
    std::string group;            // GRUPA_KAL, trimmed
    /// The calendar codes of the month's days (" ", "N", "S", "W"), one per
    /// day; empty when the group has no calendar of the year.
    std::string days;
    /// The days of the month the employee is employed on: from the day
    /// of hiring when it falls in the month, to the day of dismissal when
    /// that does.
    int first_day = 1, last_day = 31;
    double fraction = 1;       // ETAT_L / ETAT_M
    double hours_per_day = 8;  // QRMILGP in the month
    std::vector<TimeLine> lines;
    std::vector<AbsenceLine> absences;  // by code, then first day

    bool Employed(int day) const { return day >= first_day && day <= last_day; }
    /// The working days of the calendar the employee is employed on.
    int WorkingDays() const;
};

/// A code of PKROB or PKRNB as the print-outs show it.
struct ReportCode {
    std::string name;  // NAZWA_, trimmed (CP852)
    char type = ' ';
    bool in_hours = false;  // an absence counted in hours (GODZ_DNI)
};

struct MonthReport {
    ReportOptions options;
    int days_in_month = 0;
    std::vector<ReportEmployee> employees;      // by number
    std::map<std::string, ReportCode> work;     // working-time codes
    std::map<std::string, ReportCode> absence;  // absence codes
    std::string department_name;                // of options.department, trimmed

    /// The code of an absence that covers day `day` of the month for
    /// `e` ("" when none; the first line by code when several do).
    static std::string AbsenceOn(const ReportEmployee& e, int day);
};

/// Reads the month of `options` for the staff employees (neither
/// non-staff persons nor legal persons) whose numbers lie in the range, of
/// the department when one is given, employed on some day of the month
/// (hired on or before its last day, not dismissed before its first).
MonthReport ReadMonthReport(common::Runtime& rt, common::Tables& tables,
                            const ReportOptions& options);

/// The Polish name of month `month` (1-12) in CP852 ("grudzień"), "" for
/// any other number.
std::string MonthName(common::Runtime& rt, int month);

}  // namespace kestrel::worktime
