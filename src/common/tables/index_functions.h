// The functions of index keys: Polish collation keys, the profession and
// tax-office sort keys, descending dates and the unscrambling of personal
// fields. Each is a plain function here and a formula function (qrmsort,
// qrmsort3, qrmp0a, qrmsnus, qrmsdata, dky, dkz) once registered.
//
// Every function returns a text of fixed width for a given argument width,
// so that index keys built from them have a fixed size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/session/letters.h"
#include "platform/formula/runtime.h"

namespace kestrel::common {

/// Upper case of CP852 text in the letter set: ASCII letters and the nine
/// small Polish letters of the set.
std::string UpperPolish(const LetterSet& letters, std::string_view text);

/// qrmsort: upper case, then every character found in NAGLSORT (35 capitals
/// in Polish order) becomes the character of code 127 + its 1-based
/// position; others stay. Letters sort after digits and blanks, in Polish
/// order.
std::string SortKey(const LetterSet& letters, std::string_view text);

/// qrmsort byte by byte, as a table made once for a letter set, applied
/// to a text in place (no allocation).
struct SortTable {
    unsigned char map[256];
};
SortTable MakeSortTable(const LetterSet& letters);
void SortKeyInPlace(const SortTable& table, std::string* text);

/// qrmsort3: every character becomes code 31 + its position in NAGLSORT3;
/// a character not in it counts as position length + 1. No upper-casing.
std::string SortKey3(const LetterSet& letters, std::string_view text);

/// qrmp0a: a code beginning with "0" gets "A" in its place (codes beginning
/// with 0 sort after those beginning with 1-9).
std::string ProfessionKey(std::string_view code);

/// qrmsnus: the town of a tax office's name ("URZĄD SKARBOWY W ŁODZI" →
/// qrmsort of "ŁODZI" padded to 20); names without "SKARBOWY " sort last
/// (qrmsort of twenty "Ż"). Always 20 characters.
std::string TaxOfficeKey(const LetterSet& letters, std::string_view name);

/// qrmsdata: eight blanks for the empty date (0), otherwise 5231808 − the
/// Julian day as 8 digits, so that later dates sort first.
std::string DescendingDateKey(int32_t julian);

/// Registers qrmsort, qrmsort3, qrmp0a, qrmsnus, qrmsdata, dky, dkz, eky
/// and ekz on a formula runtime. Wrong argument types fail with the
/// function's argument error.
void RegisterIndexFunctions(formula::Runtime& rt, const LetterSet& letters);

}  // namespace kestrel::common
