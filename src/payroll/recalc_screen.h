// 4.5 "Przeliczanie listy płac": the recalculation of the open list with
// its dialogue (the open mode of the tables, the scope, the department or
// selection set, the confirmation) and its progress rows.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// The screen of menu entry 4.5. Needs the payroll rights (kind 3). The
/// messages that end a run are shown on row 23 with a tone and wait for a
/// key; an abandoned run (a code that cannot be a variable) goes to the
/// menu's recoverable block.
void Qrm45(common::Runtime& rt);

}  // namespace kestrel::payroll
