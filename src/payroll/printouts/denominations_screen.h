#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

// Menu 4.8.8 "Tablica nominałów": the banknote and coin values of PKNOM in
// descending order (a table found out of order is sorted first), with
// <Ins> a new value, <Enter> a change and <Del> a deletion; a value must be
// greater than 0 ("Błędna wartość"), and the table is sorted again after
// every change.
void EditDenominations(common::Runtime& rt, common::Tables& tables);

void Qrm488(common::Runtime& rt);

}  // namespace kestrel::payroll
