// 4.8.3 "Lista płac": the options of the payroll list and its printout
// through the print dialog (direct or to a spool file).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// The list (the open one; F1 every list of PKLISTY, with NAGLARL of the
/// working tables or of an annual archive chosen first: "Ponad 25
/// katalogów archiwalnych" when there are more than 25), "Układ wydruku:"
/// Z, P, B, 1 or 2, "Rodzaj sortu:" 1-5, "Specyfikacja nominałów? [T,N]:"
/// and "Data wydruku:" (the date in the headers), then the printout; Esc
/// with "Przerwać wydruk?" stops it and what was printed is delivered.
void Qrm483(common::Runtime& rt);

}  // namespace kestrel::payroll
