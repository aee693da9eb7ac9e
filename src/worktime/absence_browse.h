// 3.6 "Przeglądanie nieobecności": the absence lines of the settlement month
// by employee and line, with the search of an employee.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// The browse over `tables`: employee, name, line, code, name of the code,
/// calendar month, days, both quantities and reporting month of every line
/// entered in the month. F2 asks an employee number and goes to the
/// employee's first line (or the next employee's); Esc leaves.
void BrowseAbsences(common::Runtime& rt, common::Tables& tables);

/// Menu entry 3.6.
void Qrm36(common::Runtime& rt);

}  // namespace kestrel::worktime
