// Menu "3.8. Wydruki": the working-time print-outs.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::worktime {

/// The menu: 2 the time sheets, 5 the attendance list; 3 and 4 (the
/// absence summary and its export) answer that this version lacks them.
void Qrm38(common::Runtime& rt);

}  // namespace kestrel::worktime
