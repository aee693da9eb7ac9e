// Menu 6 of the program: the social-insurance module.
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::insurance {

/// Edits one formula (CP852 *text) in the program's formula editor, under
/// the window title `title` (UTF-8); true when it was saved with Ctrl+W.
/// The program hands in the payroll's formula editor: the module's screens
/// do not link another subsystem's screens.
using FormulaEditorFn = std::function<bool(common::Runtime& rt, common::Tables& tables,
                                           const std::string& title, std::string* text)>;

/// "6. Moduł ZUS".
void Qrm6(common::Runtime& rt, const FormulaEditorFn& edit_formula);

}  // namespace kestrel::insurance
