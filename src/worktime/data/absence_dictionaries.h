// The dictionaries of absences (menu 3.7) described as data for the common
// maintenance dialog: absence codes, reasons of suspension and kinds of
// absence.
#pragma once

#include <string_view>
#include <vector>

#include "common/dictionary/dictionary.h"

namespace kestrel::worktime {

/// Dictionaries 3.7.4, 3.7.6 and 3.7.7, in menu order.
const std::vector<common::Dictionary>& AbsenceDictionaries();

/// The absence dictionary of menu entry `menu` ("3.7.4"), or nullptr.
const common::Dictionary* FindAbsenceDictionary(std::string_view menu);

}  // namespace kestrel::worktime
