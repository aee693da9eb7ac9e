// The register's dictionary code fields: which table each code of its forms
// comes from, the message refusing a code missing there and the picker's
// name in row 21. The validators and pickers themselves are common
// (common/dictionary/code_field.h).
//
//   common::Tables tables(rt);
//   common::Form form(rt);
//   CodePickers pickers(rt, tables, form);
//   form.Get(8, 20, &dzial, "@!");
//   pickers.Attach(0, CodeFieldOf("2.7.2"), &dzial, 8, 26);
//   common::Qrmrdr(rt, form);
#pragma once

#include <string_view>

#include "common/dictionary/code_field.h"

namespace kestrel::registry {

using common::CodeField;
using common::CodePickers;
using common::FindCode;
using common::PickCode;
using common::ValidateCode;

/// The code field of a dictionary: a menu number of menus 2.7 and 2.8
/// ("2.7.8"), "GMINY" (communes of PKGMINY) or "KDURZ" (official tax-office
/// codes of PKKDURZ). Abandons on an unknown name.
CodeField CodeFieldOf(std::string_view dictionary);

/// What the common maintenance dialog needs of the register: its code
/// fields and the namespace of formula symbols.
const common::DictionaryHooks& RegisterHooks();

}  // namespace kestrel::registry
