#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

// Menu 4.8 "Wydruki": the payroll lists and the payroll summaries.
void Qrm48(common::Runtime& rt);

}  // namespace kestrel::payroll
