// transform(): values through a picture, the subset payroll formulas use.
//
// The picture language itself lives in platform/picture; this is the
// formula engine's face of it.
#pragma once

#include <string>
#include <string_view>

#include "platform/formula/value.h"

namespace kestrel::formula {

/// A number through a picture. `v` gives the decimals when the picture has
/// no template.
std::string TransformNumber(const Value& v, std::string_view picture);

/// Text through a picture.
std::string TransformString(std::string_view text, std::string_view picture);

/// Any value: numbers and text as above, dates as YYYY-MM-DD, logicals as
/// T/F (Y/N with a Y template), NIL as "". False for arrays.
bool TransformValue(const Value& v, std::string_view picture, std::string* out);

}  // namespace kestrel::formula
