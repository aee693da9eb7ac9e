// 4.2 "Otwieranie/zamykanie list płac": the payroll lists in a browse by
// year, month and symbol, opened near the system month. Enter changes the
// cell under the cursor (payment date, open flag, tax flag, the year the
// list concerns), Ins opens a new list, Del deletes one with its positions.
// The rules are the list register's (payroll/data/list_register.h).
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/data/list_register.h"

namespace kestrel::payroll {

/// The browse over the register opened in `tables`; Esc leaves.
void BrowseLists(common::Runtime& rt, common::Tables& tables);

/// The Ins dialog: the window of a new list of the system month. True when
/// the list was created; `reg`'s area then stands on it.
bool NewListDialog(common::Runtime& rt, common::Tables& tables, ListRegister& reg);

/// Menu entry 4.2: the rights check (kind 3, mask 4), then the browse.
void Qrm42(common::Runtime& rt);

}  // namespace kestrel::payroll
