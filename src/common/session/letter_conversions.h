// Polish upper case and the letter conversions of exported text.
//
// Each conversion goes character by character: a character found in the
// source letters is replaced by the character at the same position of the
// target letters, every other character stays. The letter set in force
// (NAGLPL) decides which conversion applies.
#pragma once

#include <string>
#include <string_view>

#include "common/session/letters.h"
#include "platform/picture/picture.h"

namespace kestrel::common {

/// QRMUPPE: with the CP852 set every small letter of the CP852 alphabet
/// becomes its capital; otherwise a-z are upper-cased and the nine small
/// Polish letters of the set become its nine capitals.
std::string Qrmuppe(const LetterSet& set, std::string_view text);

/// The same as a byte table, for the picture language's "!" and @!.
picture::CaseTable UpperTable(const LetterSet& set);

/// QRMZPL: to ISO 8859-2. Unchanged with the plain set; with the CP852 set
/// the whole CP852 alphabets become the ISO 8859-2 alphabets; otherwise the
/// set's 18 letters become their ISO 8859-2 forms.
std::string Qrmzpl(const LetterSet& set, std::string_view text);

/// QRMZP2: to Windows-1250. Unchanged with the plain set; otherwise the
/// set's 18 letters become their Windows-1250 forms.
std::string Qrmzp2(const LetterSet& set, std::string_view text);

/// QRMZP2A: the 18 CP852 letters to Windows-1250, whatever the set.
std::string Qrmzp2a(std::string_view text);

/// QRMZP2R: the 18 Windows-1250 letters to CP852.
std::string Qrmzp2r(std::string_view text);

/// QRMZP3: to CP852. Unchanged with the plain or the CP852 set; otherwise
/// the set's 18 letters become the CP852 ones.
std::string Qrmzp3(const LetterSet& set, std::string_view text);

/// QRMZP3R: CP852 to the set in force. Unchanged with the plain or the
/// CP852 set, and when the text consists only of the set's own letters
/// (it is in the set already); otherwise the CP852 letters become the set's.
std::string Qrmzp3r(const LetterSet& set, std::string_view text);

/// Replaces each character of `text` found in `from` by the character at
/// the same position of `to` (the first occurrence counts).
std::string Translate(std::string_view text, std::string_view from, std::string_view to);

}  // namespace kestrel::common
