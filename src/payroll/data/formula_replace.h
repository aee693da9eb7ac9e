// QRMRPZN: replacing a literal in a stored formula, as the formula updater
// does when it turns a statutory rate written into an algorithm ("0.19")
// into a call of the standard function that carries it ("pod()").
//
// Only whole numeric tokens are replaced: a match whose neighbour is a
// digit, a ".", a letter or "_" is left alone, so that "0.08" is not found
// in "10.08" or "0.085", and "19/100" not in "119/1000". Line breaks
// (CR, LF and the editor's soft break, byte 141) are not neighbours: the
// characters on their far side are. Text inside string literals ("...",
// '...' and [...] where the formula language reads a bracket as a string)
// is never changed.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::payroll {

/// `formula` (CP852) with every whole-token occurrence of `old_text`
/// replaced by `new_text`, scanning left to right without overlap;
/// *count (optional) gets the number of replacements. Line breaks are kept.
std::string ReplaceWholeTokens(std::string_view formula, std::string_view old_text,
                               std::string_view new_text, int* count = nullptr);

/// QRMRPZN: replaces `old_text` by `new_text` twice, once in the formula as
/// stored and once in the formula with its line breaks removed, and returns
/// the second result when it found more occurrences (a literal split by a
/// line wrap), otherwise the first. *count (optional) gets the number of
/// replacements made in the result returned.
std::string Qrmrpzn(std::string_view old_text, std::string_view formula, std::string_view new_text,
                    int* count = nullptr);

}  // namespace kestrel::payroll
