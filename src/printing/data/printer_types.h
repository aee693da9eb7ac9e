// Printer types: the one-character codes of PKDRUK's TYP_ (and NAGLTDR),
// the family of control sequences each belongs to, the model text the
// configuration editor shows and the 16-character label of the type list.
#pragma once

#include <string_view>

namespace kestrel::printing {

/// The families of control sequences.
enum class Family {
    kNinePin,     // E F e f
    kTwentyFour,  // 8 9
    kStar,        // S s (24-pin Star)
    kIbm,         // I i J j
    kPcl,         // H
    kPclSymbols,  // 4 L K 1 (PCL with a symbol set)
    kNone,        // 0: every sequence empty
    kSymbolic,    // V: each sequence its own name in braces
};

/// The codes a definition's type may hold when it prints: any other value
/// counts as "F" (ValidType).
inline constexpr std::string_view kPrintingTypes = "EFef89IiJjH4LKSs1V0";
/// The codes the definition editor accepts ("W": a printer that takes PDF,
/// named in PEL_NAZ_W, turned into "V" once found).
inline constexpr std::string_view kEditorTypes = "EFef98IiJjH4LKSs1VW0";

/// `type` when it is one of kPrintingTypes, else 'F'.
char ValidType(char type);
/// The family of a type (after ValidType).
Family FamilyOf(char type);
/// The model text of a type for the configuration editor, UTF-8
/// ("Typ drukarki  (Epson FX - 15\")"), "" for V and unknown codes.
std::string_view ModelText(char type);
/// The 16-character label of the type list, UTF-8; sixteen question marks
/// for an unknown code.
std::string_view TypeLabel(char type);

}  // namespace kestrel::printing
