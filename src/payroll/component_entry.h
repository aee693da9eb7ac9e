// 4.4 "Rejestracja składników płacowych": the amounts of the components of
// one employee at a time on the open list — entered, blocked over the
// algorithm or unblocked — with the employee's recalculation (F9) and the
// analysis of one formula (F12).
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// The entry over `tables` (rights already checked): the open list is
/// chosen ("Aktywne listy płac:" when several may be open) and shown.
void EnterComponents(common::Runtime& rt, common::Tables& tables);

/// Menu entry 4.4: requires rights kind 3 (mask 4).
void Qrm44(common::Runtime& rt);

}  // namespace kestrel::payroll
