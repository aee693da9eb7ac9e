// Menu 2.6: the register printout (its layout: register/data/register_printout.h).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::registry {

/// QRM26, "2.6. Wydruk kartoteki pracowników" (right 49): asks which
/// employees ("Pracownicy:" 1 current, 2 former, 3 all), "Rodzaj sortu:"
/// (1 by number, 2 alphabetically), the range "Od pracownika:" / "Do:"
/// (empty: open; F3 picks from the register; a range whose end is below its
/// beginning is refused with a tone) and "Data wydruku:", then prints
/// through the print dialog and the spool. "Brak danych do wydruku" when no
/// employee is chosen. While printing, "       Pracownik:" names the
/// employee; Esc asks "Przerwać wydruk?".
void Qrm26(common::Runtime& rt);

}  // namespace kestrel::registry
