#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

// Menu 4.8.7 "Matryce tabulogramów": the print matrices of the company
// (PKNTBW, PKTBW) created, copied and edited. "Symbol tabulogramu:" (F3
// the symbols) chooses one; a new one is made after "Utworzyć nowy
// symbol?" with its type and title and may take the cells of another; an
// existing one may change type after "Zmiana typu tabulogramu?". The
// header form follows, each formula checked when it is left (F1 lists the
// fields and variables), then the grid; Esc asks "Zapisać wzór
// tabulogramu?" and the matrix is written as a whole, or left as it was.
void EditMatrices(common::Runtime& rt, common::Tables& tables);

void Qrm487(common::Runtime& rt);

}  // namespace kestrel::payroll
