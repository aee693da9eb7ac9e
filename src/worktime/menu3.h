// Menu 3 of the program: calendars, working time, absences, suspended
// employees and their dictionaries.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::worktime {

/// "3. Ewidencja czasu pracy".
void Qrm3(common::Runtime& rt);

/// 3.7 "Słowniki".
void Qrm37(common::Runtime& rt);

}  // namespace kestrel::worktime
