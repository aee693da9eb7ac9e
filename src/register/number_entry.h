// The question for an employee number that opens the update and the
// striking off: "   Nr pracownika:" with the register's pick window.
#pragma once

#include <string>

#include "common/runtime.h"
#include "common/table_layer.h"

namespace kestrel::registry {

inline constexpr int kNumberRow = 6;

/// Asks "   Nr pracownika:" at row 6 column 9 (typed at column 27) with
/// "<F3>-Kartoteka pracowników" and "<F10>-Koniec" on row 21. The typed
/// number is normalised to six digits; "000000" and text that is not a
/// number are refused with a tone. F3 opens the register's pick window
/// (PKPRAC must be open in `tables` with PKPRAC1 and PKPRAC2). Returns the
/// number, or "" when the operator ended with F10 or Esc.
std::string AskEmployeeNumber(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::registry
