// The payroll dictionaries of menu 8 "Zbiory pomocnicze", on the common
// maintenance dialog: their descriptions are payroll/data/
// payroll_dictionaries.h, their further checks the data functions of
// payroll/data/component_checks.h and function_checks.h.
#pragma once

#include <string_view>

#include "common/dictionary/code_field.h"
#include "common/session/runtime.h"

namespace kestrel::payroll {

void Qrm82(common::Runtime& rt);  // 8.2 "Rodzaje dochodów" (PKRDOCH)
void Qrm83(common::Runtime& rt);  // 8.3 "Symbole list płac" (PKSLST)
void Qrm84(common::Runtime& rt);  // 8.4 "Składniki płacowe" (PKSPL)
void Qrm85(common::Runtime& rt);  // 8.5 "Definicje funkcji" (PKFUNC)
void Qrm89(common::Runtime& rt);  // 8.9 selection sets (PKZEST)
void Qrm8A(common::Runtime& rt);  // 8.A optional components (PKOSPL)

/// What the dialog of payroll dictionary `menu` ("8.4") needs: its code
/// fields, the namespace of formula symbols, its further checks and
/// consequences, and the formula editing of EditFormulaField() with its
/// save test.
common::DictionaryHooks PayrollHooks(common::Runtime& rt, std::string_view menu);

}  // namespace kestrel::payroll
