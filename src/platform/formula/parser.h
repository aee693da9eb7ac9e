// Parser: tokens -> tree, by recursive descent with the xBase precedence
// (lowest first):
//
//   :=                       right to left, target a variable or an element
//   .OR.                     short-circuit
//   .AND.                    short-circuit
//   = == != <> # < <= > >= $ left to right, one level
//   + -
//   * / %
//   ** ^                     left to right
//   unary - +                (-2^2 is 4)
//   ! .NOT.                  applies to the comparison that follows it:
//                            !a == b is !(a == b)
//   postfix [i] [i,j] (args) alias->name
//
// A whole formula may also be a list "a, b, c" without parentheses (the
// value of the last). `iif` and `if` with three arguments become kIif; NIL is the undefined
// value. Nesting deeper than kMaxDepth, or a tree taller than kMaxHeight,
// is a syntax error, so no text can exhaust the stack of a later stage.
#pragma once

#include <string_view>

#include "platform/formula/error.h"
#include "platform/formula/tree.h"

namespace kestrel::formula {

inline constexpr int kMaxDepth = 200;
/// Trees taller than this (long operator chains) are a syntax error too.
inline constexpr int kMaxHeight = 1000;

/// Parses one expression (line breaks already removed). On failure returns
/// nullptr and sets *error to kEmptyFormula (nothing but blanks) or kSyntax
/// with the offset of the offending token.
NodePtr Parse(std::string_view text, Error* error);

}  // namespace kestrel::formula
