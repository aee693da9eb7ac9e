// 4.6 "Przeglądanie i korekta": the browse of the list positions (PKPLACE)
// of the current tables or of an annual archive, in three orders with their
// searches, the summaries of the current employee's positions, and the
// deletion and correction of a position.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// The browse over `tables`, opening on the first position of the system
/// month in the order by month. Keys: F1 current tables / an archive
/// directory ("Katalogi archiwalne:"), F2 search, F3/F4/F9 summaries, F5,
/// F6, F7 orders, Enter correction (amount and block of the algorithm), Del
/// deletion, Esc leaves. Changes need rights kind 3 (`can_change`) and are
/// never made in an archive.
void ReviewPositions(common::Runtime& rt, common::Tables& tables, bool can_change);

/// Menu entry 4.6: rights kind 6 or 3 to browse, kind 3 to change.
void Qrm46(common::Runtime& rt);

}  // namespace kestrel::payroll
