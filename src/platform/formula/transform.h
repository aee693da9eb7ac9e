// transform(): values through a picture, the subset payroll formulas use.
//
// A picture is an optional function part ("@" and letters, ended by a blank)
// and a template.
//   Functions: E (decimal comma, full stop between thousands), Z (zero as
//   blanks), B (left-justified), R (template literals are inserted, not
//   written over the text), ! (all letters to upper case).
//   Number templates: 9 and # are digit positions, "," a thousands separator
//   (a blank while no digit stands left of it), "." the decimal point; any
//   other character is copied. The sign takes the position left of the first
//   digit; a value that does not fit gives asterisks.
//   Text templates: X 9 # A N L Y take the next character, ! takes it in
//   upper case; other characters are literals.
// The data-entry forms' full picture language is built elsewhere and may
// reuse these functions.
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
