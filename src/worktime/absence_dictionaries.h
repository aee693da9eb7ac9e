// The absence dictionaries of menu 3.7 in the common maintenance dialog.
#pragma once

#include <string_view>

#include "common/dictionary/code_field.h"
#include "common/session/runtime.h"

namespace kestrel::worktime {

/// The code field of an absence dictionary ("3.7.4" absence codes, "3.7.7"
/// kinds of absence), or of a working-time dictionary (CodeFieldOf).
common::CodeField AbsenceCodeFieldOf(std::string_view dictionary);

void Qrm374(common::Runtime& rt);  // Kody Analitycznych składników (Kody nieobecności)
void Qrm376(common::Runtime& rt);  // Przyczyny zawieszenia umowy o pracę
void Qrm377(common::Runtime& rt);  // Rodzaje Analitycznych składn. (Rodzaje absencji)

}  // namespace kestrel::worktime
