// The choice of the open payroll list that 4.3, 4.4 and 4.5 work on.
#pragma once

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// The open list: the only one, or the one the operator picks in the window
/// "Aktywne listy płac:" when several may be open (NAGLALP). A refusal of
/// FindOpenLists() is shown on the message line. False when there is no
/// list to work on or the operator left the window with Esc.
bool ChooseOpenList(common::Runtime& rt, common::Tables& tables, PayrollList* out);

}  // namespace kestrel::payroll
