// Menu 4 of the program: the payroll lists of the month.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// "4. Płace".
void Qrm4(common::Runtime& rt);

}  // namespace kestrel::payroll
