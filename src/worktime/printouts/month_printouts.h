// Menu 3.8's print-outs of a month: the options asked on the screen, the
// print-out through the print dialog with its spool (QRMSP).
#pragma once

#include "common/session/runtime.h"
#include "printing/spool_or_print.h"
#include "worktime/printouts/data/month_report.h"

namespace kestrel::worktime {

enum class MonthPrintout { kTimeSheets, kAttendanceList };

/// Asks the options under the title of the print-out: "Rok-mc:" (the
/// settlement month first; year 1993-2099, month 1-12), "Od pracownika:"
/// and "Do pracownika:" (F3 the list of employees; blank is from the first
/// or to the last), "Dział:" (F3 the departments; blank for every one, a
/// code PKDZIAL lacks gives "Brak takiego działu"). Esc leaves. With no
/// employee to print "Brak pracowników do wydruku"; otherwise the print-out
/// goes through SpoolOrPrint with `options`, an Esc between employees
/// asking whether to stop it. Returns how the print-out ended (cancelled
/// when nothing was printed).
printing::SpoolOrPrintEnd PrintMonth(common::Runtime& rt, MonthPrintout which,
                                     const printing::SpoolOrPrintOptions& options = {});

/// Menu entries 3.8.2 and 3.8.5.
void Qrm382(common::Runtime& rt);
void Qrm385(common::Runtime& rt);

}  // namespace kestrel::worktime
