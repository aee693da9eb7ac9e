// Menu 3.9 "Pracownicy "zawieszeni"": suspending a staff employee,
// cancelling or correcting the suspension, recording its last day, and the
// browse of every suspension (worktime/data/suspensions.h).
//
// Each entry asks the rights check of working time (kind 2) and shows the
// settlement month at row 6 as "Rok-mc:".
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// 3.9 "Pracownicy "zawieszeni"": the submenu at rows 8-12, column 26.
void Qrm39(common::Runtime& rt);

/// 3.9.2 "Zawieszanie pracownika", over `tables`.
void SuspendEmployees(common::Runtime& rt, common::Tables& tables);
/// 3.9.3 "Anulacja/Korekta zawieszenia pracownika".
void CancelOrCorrectSuspensions(common::Runtime& rt, common::Tables& tables);
/// 3.9.4 "Rejestracja zakończenia okresu zawieszenia".
void EndSuspensions(common::Runtime& rt, common::Tables& tables);
/// 3.9.5 "Przeglądanie zawieszonych pracowników".
void BrowseSuspensions(common::Runtime& rt, common::Tables& tables);

void Qrm392(common::Runtime& rt);
void Qrm393(common::Runtime& rt);
void Qrm394(common::Runtime& rt);
void Qrm395(common::Runtime& rt);

}  // namespace kestrel::worktime
