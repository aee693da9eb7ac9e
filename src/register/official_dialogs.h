// The browses of the official dictionaries of menu 2.C (their data:
// register/data/official_dictionaries.h).
#pragma once

#include "common/session/runtime.h"

namespace kestrel::registry {

/// QRM2C2 … QRM2C5: browse of the dictionary with search, sort switching
/// and (with the right to change dictionaries) F9: import from an official
/// file or rebuild from the program's copy.
void Qrm2c2(common::Runtime& rt);
void Qrm2c3(common::Runtime& rt);
void Qrm2c4(common::Runtime& rt);
void Qrm2c5(common::Runtime& rt);

}  // namespace kestrel::registry
