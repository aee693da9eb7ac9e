// The main menu: its entries and the subsystem each one opens.
#pragma once

#include <functional>
#include <vector>

#include "common/screen/menu.h"
#include "common/session/runtime.h"
#include "utilities/company_screens.h"

namespace kestrel::startup {

/// Entries of the main menu (rows 7-17, column 22); "B. Moduł PPK" only
/// when the PPK module is switched on.
std::vector<common::MenuEntry> MainMenuEntries(const common::Runtime& rt, bool ppk_module);

/// What choice 2 … 11 opens (QRM2 … QRM9, QRMA, QRMB); empty for any other
/// choice. A subsystem not built yet opens common::NotInThisVersion. Menu 9
/// gets the program's part in the company functions, `company`.
using SubsystemMenu = std::function<void(common::Runtime&)>;
SubsystemMenu SubsystemFor(int choice, const utilities::CompanyHooks& company = {});

}  // namespace kestrel::startup
