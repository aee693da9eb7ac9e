// The dictionaries of working time (menu 3.7) described as data for the
// common maintenance dialog: calendar groups, working-time codes, brigades,
// types of work and the shifts of the groups.
#pragma once

#include <string_view>
#include <vector>

#include "common/dictionary/dictionary.h"

namespace kestrel::worktime {

/// Dictionaries 3.7.2, 3.7.3, 3.7.5, 3.7.8 and 3.7.9, in menu order.
const std::vector<common::Dictionary>& Dictionaries();

/// The dictionary of menu entry `menu` ("3.7.3"), or nullptr.
const common::Dictionary* FindDictionary(std::string_view menu);

}  // namespace kestrel::worktime
