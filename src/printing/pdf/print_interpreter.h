// The interpreter of print files: the bytes of one printer family turned
// into what that printer would put on paper.
//
// Families (by printer type): 9-pin "E F e f", 24-pin "8 9", Star "S s",
// IBM "I i J j", PCL "H", PCL with a symbol set "4 L K 1", none "0", and
// the print program's symbolic sequences "V" (and "W"); any other type is
// read as "F". Every family knows CR, LF (which also returns the carriage),
// FF (a new page), HT (stops every 0.8 inch), BS and VT.
//
// Sequences of the family set pitch, line spacing, bold, emphasis (drawn
// as bold), italics, underline, super- and subscript, head positions and
// the portrait and landscape resets; every other sequence of the family is
// skipped with its arguments and data, so they never print. Any byte
// string is accepted: the interpreter consumes at least one byte per step
// and never reads past the end. Type "0" has no sequences: an ESC and the
// byte after it are skipped. Symbolic sequences are names in braces that
// begin with "YP" ("{YPR17}", "{YPRFONT,...}"); a brace that starts none
// prints as it is.
#pragma once

#include <string_view>

#include "printing/pdf/page_model.h"

namespace kestrel::printing {

enum class PrinterFamily {
    kNinePin,
    kTwentyFourPin,
    kStar,
    kIbm,
    kPcl,
    kPclSymbolSet,
    kNone,
    kSymbolic
};

PrinterFamily InterpreterFamilyOf(char printer_type);

/// The pages of `bytes`, a print file for `printer_type` written in the
/// letter set `letter_set` ('1' CP852, '2' Mazovia, '3' Windows-1250,
/// '4' ISO 8859-2, anything else CP852).
PrintedDocument Interpret(std::string_view bytes, char printer_type, char letter_set);

}  // namespace kestrel::printing
