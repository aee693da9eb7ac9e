// The register's dictionaries of menus 2.7 and 2.8 described as data: the
// common maintenance dialog and picker (common/dictionary/) serve them all.
#pragma once

#include <string_view>
#include <vector>

#include "common/dictionary/dictionary.h"

namespace kestrel::registry {

using common::CompleteKey;
using common::Dictionary;
using common::DictionaryField;
using common::FieldKind;

/// Every dictionary of menus 2.7 and 2.8, in menu order.
const std::vector<Dictionary>& Dictionaries();

/// The dictionary of menu entry `menu` ("2.7.4"), or nullptr.
const Dictionary* FindDictionary(std::string_view menu);

}  // namespace kestrel::registry
