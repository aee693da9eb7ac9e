// The pick window of a two-column dictionary of working time (a code and
// its name), without new records: brigades, working-time codes, absence
// codes, cost accounts.
#pragma once

#include "common/pick/pick_window.h"

namespace kestrel::worktime {

/// Table `table` by index `index`, the code field `code` under the heading
/// `code_heading` and NAZWA_ under "NAZWA".
common::PickDictionary CodeDictionary(const char* table, const char* index, const char* code,
                                      const char* code_heading);

}  // namespace kestrel::worktime
