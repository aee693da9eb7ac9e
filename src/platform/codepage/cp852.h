// Code page 852: the one table between the bytes we store and show and Unicode.
//
// Text inside the program is CP852 bytes. It becomes UTF-8 only at the
// terminal, in screen dumps and in exported files, and UTF-8 becomes CP852
// only where text enters (key scripts, imported files).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel::codepage {

/// The character a CP852 byte stands for (bytes below 0x80 are ASCII).
char32_t ToUnicode(unsigned char byte);

/// The CP852 byte of a character, or -1 when code page 852 has none.
int FromUnicode(char32_t code);

/// What the console shows for a byte: as ToUnicode, except that the control
/// bytes show the PC glyphs (0x00 as a blank), 0x7F a house, the soft hyphen
/// 0xF0 a hyphen and the no-break space 0xFF a blank. Always one column wide.
char32_t DisplayGlyph(unsigned char byte);

/// Inverse of DisplayGlyph for the glyphs it produces; -1 when none.
int FromDisplayGlyph(char32_t code);

/// CP852 text -> UTF-8 (control bytes pass through unchanged).
std::string ToUtf8(std::string_view cp852);

/// CP852 text -> UTF-8 of the glyphs the console shows (see DisplayGlyph).
std::string DisplayToUtf8(std::string_view cp852);
void AppendGlyphUtf8(std::string& out, unsigned char byte);

/// UTF-8 -> CP852; characters without a CP852 byte and malformed sequences
/// become `replacement`.
std::string FromUtf8(std::string_view utf8, char replacement = '?');

/// Decodes one UTF-8 character at `pos`; stores it in *code (U+FFFD when
/// malformed) and returns the number of bytes consumed (at least 1).
size_t DecodeUtf8(std::string_view in, size_t pos, char32_t* code);

}  // namespace kestrel::codepage
