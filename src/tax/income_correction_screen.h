// 7.3 "Korekta dochodów": the entry of income records by hand and the
// correction and deletion of existing ones, list by list.
//
// The operator gives the list ("Numer listy płac:" year/number/symbol; F3
// picks the symbol, F10 ends, F4 shows the list's records to correct or
// delete), then for each new record the month, "Data wypłaty:", "Tytuł
// wypłaty:" (F3 picks) and "Pracownik:" (F3 picks, F10 goes back to the
// list), then the amounts (tax/income_amounts_form.h). Rights of kind 3.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::tax {

void Qrm73(common::Runtime& rt);

}  // namespace kestrel::tax
