// The annual summary exported as a dBASE table (4.8.B) instead of printed:
// one record per employee and component with the amounts of the twelve
// months and of the year.
#pragma once

#include <string>

#include "common/tables/table_layer.h"
#include "payroll/printouts/data/annual_summary.h"

namespace kestrel::payroll {

/// The file name of the export of `year`: "ROCZ" + the year + ".DBF".
std::string AnnualExportName(int year);

/// Writes the employees of `summary` into `dir` (ending with "/") as
/// AnnualExportName(year): fields NR_PRAC C6, NAZWISKO C51 (surname and
/// first names), DZIAL_ C4, SKLADN_PL C4, NAZWA_ C50 (the component's
/// name), M01 … M12 N13.2 and ROK N14.2; records in the order of the
/// summary's employees and their components. The table is written under
/// a temporary name and renamed to its name only when it is complete, so
/// a failed export leaves the file of an earlier one as it was and no
/// half-written file under the name. False with the message ("Błąd
/// tworzenia pliku " + the name, "Błąd zapisu pliku " + the name) on a
/// failure; *path is the file written.
bool ExportAnnual(common::Runtime& rt, const AnnualSummary& summary, int year,
                  const std::string& dir, std::string* path, std::string* message);

}  // namespace kestrel::payroll
