// The attendance list of the month ("Lista obecności"), 136 columns at 17
// characters per inch on a landscape page, under the wide header.
//
// Every employee takes two rows of day cells, days 1-16 and days 17 to the
// end of the month: a cell holds the code of the absence covering the day,
// else "-" on a day before the hiring or after the dismissal, else the
// mark of a day free by the calendar ("N", "S", "W"), else it is left
// empty to be signed. The second row ends with the count of the days
// covered by absences ("Nb.:"). NAGLDLN385 adds that many empty rows of
// cells under each employee, then a rule separates the next one; an
// employee is never split across pages. The list ends with the meaning of
// the marks and of the absence codes it shows.
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"
#include "worktime/printouts/data/month_report.h"

namespace kestrel::worktime {

/// Rows of a page of the list (landscape, 6 lines per inch).
inline constexpr int kListRows = 46;

/// The title of the print-out (CP852), with the department when one was
/// chosen.
std::string AttendanceListTitle(common::Runtime& rt, const MonthReport& report);

/// Writes the list of `report` through `out` with the control variables
/// of the printer in force; `interrupted`, asked before each employee,
/// ends the list early when it answers true.
void PrintAttendanceList(common::Runtime& rt, printing::PrintOutput& out, const MonthReport& report,
                         const std::function<bool()>& interrupted = {});

}  // namespace kestrel::worktime
