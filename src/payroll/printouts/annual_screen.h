#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

// Menu 4.8.6 "Roczne zestaw. składników płacowych na pracown.": the year,
// "Selekcja rekordów wg:" (L list month, W payment date), "Typ wydruku:"
// (A per employee, B the summary, C both, D by departments), the sort and
// the employee range, "Data wydruku:", then the printout.
void PrintAnnualSummary(common::Runtime& rt, common::Tables& tables);
void Qrm486(common::Runtime& rt);

// Menu 4.8.B "Eksport rocznego zestaw. składników do pliku DBF": the same
// summary per employee written after "Eksportować wydruk?" as a dBASE table
// into the company directory.
void ExportAnnualSummary(common::Runtime& rt, common::Tables& tables);
void Qrm48B(common::Runtime& rt);

}  // namespace kestrel::payroll
