// QRM23 "2.3. Skreślenie": removing an employee record from the register,
// guarded by the tax records of the employee (PKDOCH).
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::registry {

/// The menu entry: rights mask 17, the tables opened, the dialog.
void Qrm23(common::Runtime& rt);

/// The dialog over `tables` (the register and PKDOCH are opened there
/// unless open already): asks numbers until F10. A record is struck off
/// after "Kasować kartotekę pracownika?"; tax records paid in the current
/// year (the settlement year of PKSTER, else the calendar year) forbid it,
/// tax records of other years only are deleted with it after a second
/// question.
void StrikeOffEmployees(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::registry
