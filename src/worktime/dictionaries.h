// The dictionaries of menu 3.7 in the common maintenance dialog.
#pragma once

#include <string_view>

#include "common/dictionary/code_field.h"
#include "common/session/runtime.h"

namespace kestrel::worktime {

/// The code field of a working-time dictionary ("3.7.2" calendar groups,
/// "3.7.8" types of work). Abandons on another name.
common::CodeField CodeFieldOf(std::string_view dictionary);

/// Runs the dialog of menu entry `menu` ("3.7.3"): rights as the register's
/// dictionaries (mask 33 to enter, 1 to change).
void RunDictionary(common::Runtime& rt, std::string_view menu);

void Qrm372(common::Runtime& rt);  // Grupy kalendarzowe
void Qrm373(common::Runtime& rt);  // Kody czasu pracy
void Qrm375(common::Runtime& rt);  // Brygady
void Qrm378(common::Runtime& rt);  // Typy pracy
void Qrm379(common::Runtime& rt);  // Wzorce harmonogramów czasu pracy

}  // namespace kestrel::worktime
