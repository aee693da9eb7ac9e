// 6.A.2 "Sprawdzenie spójności modułu ZUS z płacami": the screen of the
// consistency check (insurance/data/consistency_check.h does the work).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::insurance {

/// QRM6A2: needs rights kind 3. Asks "Wykonać sprawdzenie?", shows
/// "Pracownik:" while the check goes (Esc asks "Przerwać sprawdzanie?"),
/// then the message that stopped it, or the failed checks in a list (or
/// "Nie stwierdzono błędów"), and "Koniec procedury".
void Qrm6A2(common::Runtime& rt);

}  // namespace kestrel::insurance
