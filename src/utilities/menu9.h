// Menu 9 "Funkcje pomocnicze".
#pragma once

#include "common/session/runtime.h"
#include "utilities/company_screens.h"

namespace kestrel::utilities {

/// QRM9: the menu of the utility functions; `hooks` are the program's
/// part in the company functions (company_screens.h).
void Qrm9(common::Runtime& rt, const CompanyHooks& hooks = {});
/// QRM95: the emergency functions.
void Qrm95(common::Runtime& rt);
/// QRM97: the company functions.
void Qrm97(common::Runtime& rt, const CompanyHooks& hooks = {});

}  // namespace kestrel::utilities
