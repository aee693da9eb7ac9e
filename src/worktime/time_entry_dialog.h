// 3.3 "Wprowadzanie czasu pracy": the working time of the settlement month,
// employee by employee: the brigade of the month, the lines per code (and
// per cost account with NAGLKKCZAS), and on F10 the computed codes and the
// totals by type.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// The dialog over `tables` (rights already checked).
void EnterWorkingTime(common::Runtime& rt, common::Tables& tables);

/// Menu entry 3.3: requires rights mask 2.
void Qrm33(common::Runtime& rt);

}  // namespace kestrel::worktime
