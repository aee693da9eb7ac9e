// The Polish letters of a print-out on its printer.
//
// A report's text holds the letters of the screen's set (NAGLPL). On the
// way to the printer each of the eighteen letters becomes the letter at the
// same place of the printer's set (NAGLPRTPL), or, for a printer without
// Polish letters (NAGLSYMPL), its two-character rendering ("A," "L/" …);
// every other character stays. With the plain set on the screen nothing is
// converted.
#pragma once

#include <string>
#include <string_view>

#include "common/session/configuration.h"
#include "common/session/letters.h"
#include "printing/data/print_output.h"

namespace kestrel::printing {

struct PrinterLetters {
    std::string screen;     // the 18 letters of the text (NAGLPL)
    std::string printer;    // the 18 letters the printer takes (NAGLPRTPL)
    bool simulate = false;  // NAGLSYMPL: the two-character renderings
};

/// The settings in force: the screen's set, NAGLPRTPL (the screen's set
/// when absent or not 18 letters) and NAGLSYMPL.
PrinterLetters LettersInForce(const common::Configuration& config, const common::LetterSet& screen);

/// The text as the printer gets it.
std::string ToPrinter(const PrinterLetters& letters, std::string_view text);

/// Text of a print file written with these settings, back in the screen's
/// set: each of the printer's eighteen letters becomes the screen's letter
/// at its place; every other byte stays, and so do the two-character
/// renderings (they cannot be told from the text around them).
std::string FromPrinter(const PrinterLetters& letters, std::string_view text);

/// The Converter of a PrintOutput for these settings.
PrintOutput::Converter MakeConverter(const PrinterLetters& letters);

/// The printer's set of a definition's ZM_STD_PL: "1" CP852, "2" Mazovia,
/// "3" Windows-1250, "4" ISO 8859-2, anything else the screen's set.
std::string LettersOfStandard(char standard, std::string_view screen);

/// The code of a set as the PDF renderer names it ('1'-'4'; '1' for a set
/// that is none of the four).
char StandardOfLetters(std::string_view letters);

}  // namespace kestrel::printing
