// The time sheet of the month ("Karta ewidencji czasu pracy"), 80 columns:
// one sheet per employee, from a new page, under the narrow header with
// the title and the employee (repeated on a page the sheet runs on to).
//
// A sheet lists every day of the month with the day of the week, the kind
// of day of the employee's calendar ("roboczy", "niedziela", "święto",
// "wolny"; "-" for a day before the hiring or after the dismissal), the
// norm of a working day (hours per day x the working-time fraction) and
// the absence that covers the day (code and name); below, the working days
// and norm hours of the days employed, the month's working-time
// lines by code with the totals by type ("Etat", "Nadgodziny", "Dodatki"),
// the absence lines with their days and quantities and the totals of days
// and of hours, and the places for the signatures.
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"
#include "worktime/printouts/data/month_report.h"

namespace kestrel::worktime {

/// Rows of a page of the time sheet (portrait, 6 lines per inch).
inline constexpr int kSheetRows = 64;

/// The title of the print-out (CP852).
std::string TimeSheetTitle(common::Runtime& rt, const MonthReport& report);

/// Writes the sheets of `report` through `out` with the control variables
/// of the printer in force. `interrupted`, asked before each employee,
/// ends the print-out early when it answers true.
void PrintTimeSheets(common::Runtime& rt, printing::PrintOutput& out, const MonthReport& report,
                     const std::function<bool()>& interrupted = {});

}  // namespace kestrel::worktime
