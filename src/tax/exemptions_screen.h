// 7.6 "Zwolnienia z podatku dochodowego": the tax exemptions granted to an
// employee in the current year (PKZPRAC), their entry and deletion.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::tax {

/// QRM76: needs right 36 to open and right 4 to add or delete. Asks
/// "Pracownik:" (F3 the register, F4 the exemptions of the year, F10 or
/// Esc ends), then lists "Istniejące zwolnienia (kwota  data):" of his in
/// the settlement year; Ins enters a new one ("Data przyznania zwoln.:"
/// within the year, "Kwota zwoln.:" above 0), Del deletes the current one
/// after "Kasować pozycję?", Esc goes back to the employee.
void Qrm76(common::Runtime& rt);

}  // namespace kestrel::tax
