// The payroll dictionaries of menu 8 "Zbiory pomocnicze".
#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

// Each entry below is filled in as its dictionary is built.

}  // namespace kestrel::payroll
