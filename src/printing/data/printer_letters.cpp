#include "printing/data/printer_letters.h"

namespace kestrel::printing {

PrinterLetters LettersInForce(const common::Configuration& config,
                              const common::LetterSet& screen) {
    PrinterLetters l;
    l.screen = screen.pl;
    l.printer = config.Text("NAGLPRTPL", screen.pl);
    if (l.printer.size() != 18) l.printer = screen.pl;
    l.simulate = config.Logical("NAGLSYMPL");
    return l;
}

std::string ToPrinter(const PrinterLetters& letters, std::string_view text) {
    // Plain letters cannot be told from Polish ones: the text goes as it is.
    if (letters.screen == common::kPolishPlain) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const size_t i = letters.screen.find(ch);
        if (i == std::string::npos || i >= 18) {
            out += ch;
        } else if (letters.simulate) {
            out += common::PrinterRendering(static_cast<int>(i));
        } else {
            out += letters.printer[i];
        }
    }
    return out;
}

std::string FromPrinter(const PrinterLetters& letters, std::string_view text) {
    if (letters.screen == common::kPolishPlain || letters.simulate ||
        letters.screen == letters.printer || letters.screen.size() != 18 ||
        letters.printer.size() != 18)
        return std::string(text);
    std::string out(text);
    for (char& ch : out) {
        const size_t i = letters.printer.find(ch);
        if (i != std::string::npos) ch = letters.screen[i];
    }
    return out;
}

PrintOutput::Converter MakeConverter(const PrinterLetters& letters) {
    // Nothing to convert: the text goes as it is.
    if (letters.screen == common::kPolishPlain) return {};
    if (!letters.simulate && letters.screen == letters.printer) return {};
    return [letters](std::string_view text) { return ToPrinter(letters, text); };
}

std::string LettersOfStandard(char standard, std::string_view screen) {
    switch (standard) {
        case '1':
            return std::string(common::kPolishCp852);
        case '2':
            return std::string(common::kPolishMazovia);
        case '3':
            return std::string(common::kPolishWin1250);
        case '4':
            return std::string(common::kPolishIso88592);
        default:
            return std::string(screen);
    }
}

char StandardOfLetters(std::string_view letters) {
    if (letters == common::kPolishMazovia) return '2';
    if (letters == common::kPolishWin1250) return '3';
    if (letters == common::kPolishIso88592) return '4';
    return '1';
}

}  // namespace kestrel::printing
