// The pick window of the address fields of the territorial register: the
// names of one level under the unit chosen in the field before.
#pragma once

#include <string_view>
#include <vector>

#include "common/session/runtime.h"
#include "register/data/employee_lookup.h"

namespace kestrel::registry {

/// Shows `rows` (name and code) in a window standing on the first name not
/// sorting before `typed` (compared upper-cased, the Polish way). Enter
/// types the name into the calling field (see common::TypeIntoField); Esc
/// leaves it as it was. False when nothing was given; with no rows at all
/// only a tone. The screen and the hot keys F3 and F11 are restored.
bool PickTerritory(common::Runtime& rt, const std::vector<TerritoryRow>& rows,
                   std::string_view typed);

}  // namespace kestrel::registry
