// Menu 4.7 "Zamknięcie starego i otwarcie nowego miesiąca": the screen of
// the month's close (payroll/data/month_close.h does the work).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// Shows "Aktualny miesiąc:" and asks "Nowy miesiąc:" (the next month
/// proposed) until a month is accepted or Esc; then runs the close with its
/// questions on the message row. Refused without the operator right of kind
/// 3 (mask 4), and with "Istn.aktywna lista płac - przerwanie" while a list
/// is open. The report of the changed seniority allowances is shown in a
/// window (this version does not print).
void Qrm47(common::Runtime& rt);

}  // namespace kestrel::payroll
