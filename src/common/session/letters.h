// Polish letters: the letter set in force and the texts derived from it.
//
// Eighteen letters (Ą Ć Ę Ł Ń Ó Ś Ź Ż and their small forms) are held as a
// text of 18 bytes in the set in force (NAGLPL): CP852, Mazovia, a set
// stored in the configuration, or the plain letters. Screen texts with
// Polish letters are composed in that set; sorting, upper-casing and the
// conversions of exported text use the tables here.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/text.h"

namespace kestrel::common {

// The eighteen letters Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż in CP852 (NAGLZP3).
inline constexpr std::string_view kPolishCp852 = base::kPolishCp852;
// The same letters in the Mazovia code page.
inline constexpr std::string_view kPolishMazovia =
    "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7";
// The same letters in Windows-1250 (NAGLZP2).
inline constexpr std::string_view kPolishWin1250 =
    "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
// The same letters in ISO 8859-2 (NAGLZPL).
inline constexpr std::string_view kPolishIso88592 =
    "\xA1\xC6\xCA\xA3\xD1\xD3\xA6\xAC\xAF\xB1\xE6\xEA\xB3\xF1\xF3\xB6\xBC\xBF";
// The plain letters used when no Polish set is in force.
inline constexpr std::string_view kPolishPlain = "ACELNOSZZacelnoszz";
// Central-European alphabets, position for position (NAGLZPPU/NAGLZPPL).
inline constexpr std::string_view kAlphabetUpperCp852 = base::kAlphabetUpperCp852;
inline constexpr std::string_view kAlphabetLowerCp852 = base::kAlphabetLowerCp852;
// The same in Windows-1250 (NAGLZPWU/NAGLZPWL).
inline constexpr std::string_view kAlphabetUpperWin1250 =
    "A\xA5"
    "BC\xC6"
    "DE\xCA"
    "FGHIJKL\xA3MN\xD1O\xD3PQRS\x8CTUVWXYZ\x8F\xAF\xBC\x8A\xAA\x8D\x8E\xDF\xC0\xC1\xC2\xC3\xC4\xC5"
    "\xC7\xC8\xC9\xCB\xCC\xCD\xCE\xCF\xD0\xD2\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";
inline constexpr std::string_view kAlphabetLowerWin1250 =
    "a\xB9"
    "bc\xE6"
    "de\xEA"
    "fghijkl\xB3mn\xF1o\xF3pqrs\x9Ctuvwxyz\x9F\xBF\xBE\x9A\xBA\x9D\x9E\xDF\xE0\xE1\xE2\xE3\xE4\xE5"
    "\xE7\xE8\xE9\xEB\xEC\xED\xEE\xEF\xF0\xF2\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
// The same in ISO 8859-2 (NAGLZPIU/NAGLZPIL).
inline constexpr std::string_view kAlphabetUpperIso88592 =
    "A\xA1"
    "BC\xC6"
    "DE\xCA"
    "FGHIJKL\xA3MN\xD1O\xD3PQRS\xA6TUVWXYZ\xAC\xAF\xA5\xA9\xAA\xAB\xAE\xDF\xC0\xC1\xC2\xC3\xC4\xC5"
    "\xC7\xC8\xC9\xCB\xCC\xCD\xCE\xCF\xD0\xD2\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";
inline constexpr std::string_view kAlphabetLowerIso88592 =
    "a\xB1"
    "bc\xE6"
    "de\xEA"
    "fghijkl\xB3mn\xF1o\xF3pqrs\xB6tuvwxyz\xBC\xBF\xB5\xB9\xBA\xBB\xBE\xDF\xE0\xE1\xE2\xE3\xE4\xE5"
    "\xE7\xE8\xE9\xEB\xEC\xED\xEE\xEF\xF0\xF2\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";

/// The letter set in force and what is derived from it.
struct LetterSet {
    std::string pl;          // NAGLPL: the 18 letters
    bool replaced = false;   // NAGLREPLPL: not the plain set
    std::string sort;        // NAGLSORT: capitals in Polish order
    std::string identifier;  // NAGLZPLS: characters allowed in exported identifiers
    std::string sort3;       // NAGLSORT3: collating sequence of sorted print-outs

    bool IsCp852() const { return pl == kPolishCp852; }
    bool IsPlain() const { return pl == kPolishPlain; }
    /// The letter at position i (0-17) of the set: A_D is 0, X_D 8, A_M 9 …
    char Letter(int i) const { return pl[static_cast<size_t>(i)]; }
    /// Replaces the CP852 Polish letters of `cp852` by the letters of the set.
    std::string FromCp852(std::string_view cp852) const;
};

/// The set built from its 18 letters (a stored NAGLPL of another length is
/// padded with the plain letters or cut).
LetterSet MakeLetterSet(std::string_view pl);

/// Chooses the set: NAGLGENPL gives CP852, else NAGLGENPM Mazovia, else the
/// stored NAGLPL when there is one, else the plain letters.
LetterSet ChooseLetterSet(bool gen_pl, bool gen_pm, const std::string* stored_pl);

/// Two-character renderings for printers without Polish letters (AP_D …
/// XP_M): "A," "C'" "E," "L/" "N'" "O'" "S'" "Z'" "Z-" and the small ones.
std::string_view PrinterRendering(int i);

}  // namespace kestrel::common
