// 4.8.4 "Zestawienie wybranych składn. z list płac w m-cu", 4.8.5
// "Zbiorcze zestawienie list płac za wybrany okres" and 4.8.9 "Zestawienie
// płac za wybrany okres": the month or period, the matrix (of type 2, 3 or
// 5) and the options, then the printout through the print dialog.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// The year and month (the settlement month offered), "Symbol
/// tabulogramu:", "Rodzaj sortu:" 1-4, "Typ wydruku:" Z or P, "Data
/// wydruku:".
void Qrm484(common::Runtime& rt);

/// The first and last year and month, "Symbol tabulogramu:", "Rodzaj
/// wydruku:" 1-5, "Data wydruku:".
void Qrm485(common::Runtime& rt);

/// 4.8.9 "Zestawienie płac za wybrany okres" (a matrix of type 5): "Typ
/// wydruku: X    (1-wg miesiąca listy, 2-wg daty wypłaty)", the first and
/// last month, the matrix, the range of employee numbers, "Data wydruku:".
void Qrm489(common::Runtime& rt);

}  // namespace kestrel::payroll
