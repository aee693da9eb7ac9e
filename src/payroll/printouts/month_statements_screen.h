// 4.8.A "Miesięczne zestawienie wg kont kosztów" and 4.8.C "Miesięczne
// zestawienie etatów wg przepisów PFRON": the month (the settlement month
// offered) and the options, then the printout through the print dialog.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// "Rok:", "Miesiąc:", "Symbol tabulogramu:" (a matrix of type 6), "Ilość
/// pierwszych znaków konta do sumowania" (1-12), "Ilość poziomów
/// sumowania:" (1-3), "Data wydruku:".
void Qrm48A(common::Runtime& rt);

/// "Rok:", "Miesiąc:", the quarter's average pay, the pupils of an employer
/// that teaches (all of them and the disabled ones; 0 for any other
/// employer), "Data wydruku:".
void Qrm48C(common::Runtime& rt);

}  // namespace kestrel::payroll
