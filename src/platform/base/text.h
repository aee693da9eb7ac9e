// Text helpers: blanks trimmed the way the formula language trims them, and
// upper case.
//
// Text inside the program is CP852 bytes. The trims take away blanks (the
// byte 0x20) only, as TRIM(), LTRIM() and ALLTRIM() do; tabs and line ends
// stay, except in TrimWhitespace, which is meant for lines read from files.
// AsciiUpper is for names of files, tables, fields and variables: it leaves
// every byte above 127 as it is. Cp852Upper is the upper case of text in
// code page 852, Polish letters included.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::base {

/// `s` without its leading blanks (LTRIM()).
std::string TrimLeft(std::string_view s);

/// `s` without its trailing blanks (TRIM(), RTRIM()).
std::string TrimRight(std::string_view s);

/// `s` without its leading and trailing blanks (ALLTRIM()).
std::string Trim(std::string_view s);

/// `s` without leading and trailing blanks, tabs, carriage returns and line
/// feeds: for lines and cells of imported text files.
std::string TrimWhitespace(std::string_view s);

/// `s` without its trailing blanks and NUL bytes: the padding of stored
/// fields, which older tables and unscrambled fields fill with NULs.
std::string TrimPadding(std::string_view s);

/// True when `s` is empty or holds only blanks.
bool IsBlank(std::string_view s);

inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// `s` with a-z in upper case; every other byte unchanged.
std::string AsciiUpper(std::string_view s);

/// `s` with A-Z in lower case; every other byte unchanged.
std::string AsciiLower(std::string_view s);

// The eighteen letters Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż in CP852: the nine
// capitals, then the nine small letters in the same order.
inline constexpr std::string_view kPolishCp852 =
    "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE";

// The capitals and the small letters of the Central-European alphabet of
// CP852, position for position (a small letter's capital stands at the same
// position of kAlphabetUpperCp852). ASCII a-z are part of it.
inline constexpr std::string_view kAlphabetUpperCp852 =
    "A\xA4"
    "BC\x8F"
    "DE\xA8"
    "FGHIJKL\x9DMN\xE3O\xE0PQRS\x97TUVWXYZ\x8D\xBD\x95\xE6\xB8\x9B\xA6\xE1\xE8\xB5\xB6\xC6\x8E\x91"
    "\x80\xAC\x90\xD3\xB7\xD6\xD7\xD2\xD1\xD5\xE2\x8A\x99\xFC\xDE\xE9\xEB\x9A\xED\xDD";
inline constexpr std::string_view kAlphabetLowerCp852 =
    "a\xA5"
    "bc\x86"
    "de\xA9"
    "fghijkl\x88mn\xE4o\xA2pqrs\x98tuvwxyz\xAB\xBE\x96\xE7\xAD\x9C\xA7\xE1\xEA\xA0\x83\xC7\x84\x92"
    "\x87\x9F\x82\x89\xD8\xA1\x8C\xD4\xD0\xE5\x93\x8B\x94\xFD\x85\xA3\xFB\x81\xEC\xEE";

/// The capital of a CP852 letter (a-z, the Polish and the other letters of
/// the CP852 alphabet); every other byte unchanged.
char Cp852Upper(char c);

/// `s` with every small letter of the CP852 alphabet in upper case.
std::string Cp852Upper(std::string_view s);

}  // namespace kestrel::base
