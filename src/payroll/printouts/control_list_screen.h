#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

// Menu 4.8.2 "Kontrolny wydruk listy płac": the open list chosen,
// "Data wydruku:", then the control list printed or spooled; Esc while it
// prints asks "Przerwać wydruk?".
void PrintControl(common::Runtime& rt, common::Tables& tables);

void Qrm482(common::Runtime& rt);

}  // namespace kestrel::payroll
