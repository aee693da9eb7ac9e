// The absence dictionaries of menu 3.7 in the common maintenance dialog.
#pragma once

#include <string_view>

#include "common/dictionary/code_field.h"
#include "common/session/runtime.h"

namespace kestrel::worktime {

/// The code field of an absence dictionary ("3.7.4" absence codes, "3.7.7"
/// kinds of absence), or of a working-time dictionary (CodeFieldOf).
common::CodeField AbsenceCodeFieldOf(std::string_view dictionary);

/// The same, and the fields that need the company: the absence codes of
/// type "G" (kGeneratedCodeField, refused otherwise with `Błędny kod - musi
/// być typu "G"`) and the reasons of suspension ("3.7.6", "Błędny symbol").
common::CodeField AbsenceCodeFieldOf(common::Runtime& rt, std::string_view dictionary);

/// The hooks of the absence dictionaries' dialog and pickers for `rt`.
common::DictionaryHooks AbsenceHooks(common::Runtime& rt);

void Qrm374(common::Runtime& rt);  // Kody Analitycznych składników (Kody nieobecności)
void Qrm376(common::Runtime& rt);  // Przyczyny zawieszenia umowy o pracę
void Qrm377(common::Runtime& rt);  // Rodzaje Analitycznych składn. (Rodzaje absencji)

}  // namespace kestrel::worktime
