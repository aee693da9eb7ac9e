// Menu 8 of the program, "Zbiory pomocnicze": the payroll dictionaries and
// the data-exchange functions. It lives here, above the subsystems, because
// its entries come from more than one of them.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::startup {

/// "8. Zbiory pomocnicze".
void Qrm8(common::Runtime& rt);

}  // namespace kestrel::startup
