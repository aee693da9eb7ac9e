// The maintenance dialog of a dictionary: a framed browse with in-place
// changes, new records and deletion for operators holding right 1,
// browsing only for the others. Every subsystem's dictionaries use it, each
// described as data (dictionary.h) and with the subsystem's code fields and
// symbol namespace handed in (DictionaryHooks).
#pragma once

#include "common/dictionary/code_field.h"
#include "common/dictionary/dictionary.h"
#include "common/session/runtime.h"

namespace kestrel::common {

/// Runs the dialog of `d`. Entry needs the rights of `d.enter_mask`;
/// without those of `d.change_mask` the dictionary is only browsed. A dictionary whose
/// configuration switch is off answers "Funkcja niedostępna".
void RunDictionary(Runtime& rt, const Dictionary& d, const DictionaryHooks& hooks);

}  // namespace kestrel::common
