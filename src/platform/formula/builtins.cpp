#include "platform/formula/builtins.h"

#include <cstring>

namespace kestrel::formula {
namespace {

// Sorted by nothing in particular; abbreviations resolve in this order, so a
// four-letter prefix shared by two names picks the earlier one.
const Builtin kBuiltins[] = {
    {"STR", FnStr},
    {"STRZERO", FnStrZero},
    {"VAL", FnVal},
    {"SUBSTR", FnSubstr},
    {"LEFT", FnLeft},
    {"RIGHT", FnRight},
    {"PADR", FnPadR},
    {"PADL", FnPadL},
    {"PADC", FnPadC},
    {"TRIM", FnTrim},
    {"RTRIM", FnTrim},
    {"LTRIM", FnLTrim},
    {"ALLTRIM", FnAllTrim},
    {"UPPER", FnUpper},
    {"LOWER", FnLower},
    {"LEN", FnLen},
    {"AT", FnAt},
    {"RAT", FnRat},
    {"STUFF", FnStuff},
    {"REPLICATE", FnReplicate},
    {"SPACE", FnSpace},
    {"CHR", FnChr},
    {"ASC", FnAsc},
    {"TRANSFORM", FnTransform},
    {"EMPTY", FnEmpty},
    {"VALTYPE", FnValType},
    {"TYPE", FnType},
    {"INT", FnInt},
    {"ROUND", FnRound},
    {"ABS", FnAbs},
    {"MAX", FnMax},
    {"MIN", FnMin},
    {"MOD", FnMod},
    {"SQRT", FnSqrt},
    {"EXP", FnExp},
    {"LOG", FnLog},
    {"YROUND", FnYRound},
    {"YINT", FnYInt},
    {"YEAR", FnYear},
    {"MONTH", FnMonth},
    {"DAY", FnDay},
    {"DOW", FnDow},
    {"DATE", FnDate},
    {"CTOD", FnCtod},
    {"DTOC", FnDtoc},
    {"DTOS", FnDtos},
    {"STOD", FnStod},
    {"ASCAN", FnAScan},
    {"AADD", FnAAdd},
    {"AFILL", FnAFill},
    {"ARRAY", FnArray},
    {"ATAIL", FnATail},
    {"ASIZE", FnASize},
    {"EOF", FnEof},
    {"BOF", FnBof},
    {"RECNO", FnRecNo},
    {"RECCOUNT", FnRecCount},
    {"LASTREC", FnRecCount},
    {"DELETED", FnDeleted},
    {"FOUND", FnFound},
    {"SELECT", FnSelect},
    {"ALIAS", FnAlias},
    {"DBSEEK", FnDbSeek},
};

constexpr int kCount = static_cast<int>(sizeof kBuiltins / sizeof kBuiltins[0]);

}  // namespace

int FindBuiltinExact(std::string_view name) {
    for (int i = 0; i < kCount; ++i) {
        if (name == kBuiltins[i].name) return i;
    }
    return -1;
}

int FindBuiltinPrefix(std::string_view name) {
    if (name.size() < 4) return -1;
    for (int i = 0; i < kCount; ++i) {
        const size_t len = std::strlen(kBuiltins[i].name);
        if (name.size() < len && std::strncmp(kBuiltins[i].name, name.data(), name.size()) == 0)
            return i;
    }
    return -1;
}

const Builtin& GetBuiltin(int id) {
    return kBuiltins[id];
}

}  // namespace kestrel::formula
