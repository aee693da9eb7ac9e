// Menu 4.3 "Przepisanie kwot akordu na listę płac" (with the piecework link
// NAGLAKORD "Połączenie z systemem rozliczania akordu", the same function):
// the piecework amounts of the job cards written onto the open list
// (payroll/data/piecework.h does the work).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// The open list chosen as for the recalculation; the warning "Brak kart
/// pracy za ten miesiąc", the refusals of the plan, "Przepisać akord na
/// listę płac?", then the transfer with its counters "Rekordy utworzone:",
/// "Rekordy przepisane:", "Rekordy skasowane:" and "Koniec procedury".
/// Refused without the operator right of kind 3 (mask 4).
void Qrm43(common::Runtime& rt);

}  // namespace kestrel::payroll
