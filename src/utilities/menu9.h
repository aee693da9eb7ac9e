// Menu 9 "Funkcje pomocnicze".
#pragma once

#include "common/session/runtime.h"

namespace kestrel::utilities {

/// QRM9: the menu of the utility functions.
void Qrm9(common::Runtime& rt);
/// QRM95: the emergency functions.
void Qrm95(common::Runtime& rt);
/// QRM97: the company functions.
void Qrm97(common::Runtime& rt);

}  // namespace kestrel::utilities
