// 3.5 "Przeglądanie czasu pracy": the working-time lines of the settlement
// month by employee and code, with the search of an employee.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// The browse over `tables`: employee, name, code, name of the code, type,
/// cost account and hours of every visible line of the month. F2 asks an
/// employee number and goes to the employee's first line (or the next
/// employee's); Esc leaves.
void BrowseWorkingTime(common::Runtime& rt, common::Tables& tables);

/// Menu entry 3.5.
void Qrm35(common::Runtime& rt);

}  // namespace kestrel::worktime
