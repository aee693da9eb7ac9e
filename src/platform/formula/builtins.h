// The standard functions of the language (string, number, date, array and
// table functions). Each family lives in its own builtins_*.cpp; this file
// declares the registry the compiler resolves names against.
#pragma once

#include <string_view>

#include "platform/formula/runtime.h"

namespace kestrel::formula {

struct Builtin {
    const char* name;  // upper case
    BuiltinFn fn;
};

/// Id of the built-in named exactly `name` (upper case), or -1.
int FindBuiltinExact(std::string_view name);
/// Id of the built-in of which `name` (upper case, at least four letters)
/// is an abbreviation: SUBS, UPPE, EMPT ... ; -1 when none.
int FindBuiltinPrefix(std::string_view name);
const Builtin& GetBuiltin(int id);

// Families, each defined in its own file; the registry lists them all.
bool FnStr(Call& c);
bool FnStrZero(Call& c);
bool FnVal(Call& c);
bool FnSubstr(Call& c);
bool FnLeft(Call& c);
bool FnRight(Call& c);
bool FnPadR(Call& c);
bool FnPadL(Call& c);
bool FnPadC(Call& c);
bool FnTrim(Call& c);
bool FnLTrim(Call& c);
bool FnAllTrim(Call& c);
bool FnUpper(Call& c);
bool FnLower(Call& c);
bool FnLen(Call& c);
bool FnAt(Call& c);
bool FnRat(Call& c);
bool FnStuff(Call& c);
bool FnReplicate(Call& c);
bool FnSpace(Call& c);
bool FnChr(Call& c);
bool FnAsc(Call& c);
bool FnTransform(Call& c);
bool FnEmpty(Call& c);
bool FnValType(Call& c);
bool FnType(Call& c);

bool FnInt(Call& c);
bool FnRound(Call& c);
bool FnAbs(Call& c);
bool FnMax(Call& c);
bool FnMin(Call& c);
bool FnMod(Call& c);
bool FnSqrt(Call& c);
bool FnExp(Call& c);
bool FnLog(Call& c);
bool FnYRound(Call& c);
bool FnYInt(Call& c);

bool FnYear(Call& c);
bool FnMonth(Call& c);
bool FnDay(Call& c);
bool FnDow(Call& c);
bool FnDate(Call& c);
bool FnCtod(Call& c);
bool FnDtoc(Call& c);
bool FnDtos(Call& c);
bool FnStod(Call& c);

bool FnAScan(Call& c);
bool FnAAdd(Call& c);
bool FnAFill(Call& c);
bool FnArray(Call& c);
bool FnATail(Call& c);
bool FnASize(Call& c);

bool FnEof(Call& c);
bool FnBof(Call& c);
bool FnRecNo(Call& c);
bool FnRecCount(Call& c);
bool FnDeleted(Call& c);
bool FnFound(Call& c);
bool FnSelect(Call& c);
bool FnAlias(Call& c);
bool FnDbSeek(Call& c);

/// Longest text a formula may build, as in the family (65,535 bytes);
/// longer results are a "String overflow".
inline constexpr size_t kMaxString = 65535;
/// Most elements an array may have.
inline constexpr size_t kMaxArray = 1 << 16;

}  // namespace kestrel::formula
