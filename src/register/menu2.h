// Menu 2 of the program: the employee register and its dictionaries.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::registry {

/// "2. Kartoteka pracownicza".
void Qrm2(common::Runtime& rt);

/// 2.7 "Słowniki "standardowe"", 2.8 "Słowniki kodów ZUS",
/// 2.C "Słowniki "urzędowe"".
void Qrm27(common::Runtime& rt);
void Qrm28(common::Runtime& rt);
void Qrm2C(common::Runtime& rt);

}  // namespace kestrel::registry
