// QRM32 "3.2. Rejestracja/korekta kalendarza": the working-day calendar of a
// calendar group for one year, made from the presets or corrected day by
// day.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// The menu entry: rights mask 34 (kind 2 or kind 6), the tables opened,
/// the dialog.
void Qrm32(common::Runtime& rt);

/// The dialog over `tables` (PKKALEN, PKGRUPY and PKSZMIA are opened there
/// unless open already): asks "Rok:" and "Grupa kalendarzowa:" until Esc
/// and shows the calendar of that year and group, new from the presets when
/// there is none. Only an operator with kind 2 changes, writes or deletes a
/// calendar; others look at existing ones.
void EditCalendars(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::worktime
