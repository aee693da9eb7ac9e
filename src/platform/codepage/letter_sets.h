// The letter sets of printers: the 8-bit code pages a print file may be
// written in, decoded to Unicode.
//
// A printer definition names its set by a digit: '1' CP852, '2' Mazovia
// (the PC code page 437 with the eighteen Polish letters in place of some
// of its Western letters), '3' Windows-1250, '4' ISO 8859-2; any other
// digit means CP852, the set text is kept in. Bytes below 0x80 are ASCII
// in every set.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::codepage {

enum class LetterSet { kCp852, kMazovia, kWindows1250, kIso88592 };

/// The set a definition's digit stands for ('1'..'4'; anything else CP852).
LetterSet LetterSetOf(char digit);

/// The character `byte` stands for in `set`; 0 for a byte the set leaves
/// undefined or gives to a control character (0x80-0x9F of ISO 8859-2, the
/// five holes of Windows-1250).
char32_t ToUnicode(LetterSet set, unsigned char byte);

/// Text in `set` -> UTF-8; undefined bytes become `replacement`.
std::string ToUtf8(LetterSet set, std::string_view text, char replacement = '?');

}  // namespace kestrel::codepage
