// Menu 7 of the program: the tax module.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::tax {

/// "7. Moduł podatkowy".
void Qrm7(common::Runtime& rt);

}  // namespace kestrel::tax
