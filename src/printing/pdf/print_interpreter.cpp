#include "printing/pdf/print_interpreter.h"

#include "printing/pdf/family_interpreters.h"

namespace kestrel::printing {

PrinterFamily InterpreterFamilyOf(char printer_type) {
    switch (printer_type) {
        case '8':
        case '9':
            return PrinterFamily::kTwentyFourPin;
        case 'S':
        case 's':
            return PrinterFamily::kStar;
        case 'I':
        case 'i':
        case 'J':
        case 'j':
            return PrinterFamily::kIbm;
        case 'H':
            return PrinterFamily::kPcl;
        case '4':
        case 'L':
        case 'K':
        case '1':
            return PrinterFamily::kPclSymbolSet;
        case '0':
            return PrinterFamily::kNone;
        case 'V':
        case 'W':
            return PrinterFamily::kSymbolic;
        default:
            return PrinterFamily::kNinePin;
    }
}

bool BasicControl(unsigned char byte, PrintHead& head) {
    switch (byte) {
        case '\r':
            head.CarriageReturn();
            return true;
        case '\n':
        case '\v':
            head.LineFeed();
            return true;
        case '\f':
            head.FormFeed();
            return true;
        case '\t':
            head.Tab();
            return true;
        case '\b':
            head.Backspace();
            return true;
        default:
            return false;
    }
}

PrintedDocument Interpret(std::string_view bytes, char printer_type, char letter_set) {
    PrintHead head(codepage::LetterSetOf(letter_set));
    const PrinterFamily family = InterpreterFamilyOf(printer_type);
    switch (family) {
        case PrinterFamily::kPcl:
        case PrinterFamily::kPclSymbolSet:
            InterpretPcl(bytes, family, head);
            break;
        case PrinterFamily::kSymbolic:
            InterpretSymbolic(bytes, head);
            break;
        case PrinterFamily::kNone:
            InterpretPlain(bytes, head);
            break;
        default:
            InterpretEscP(bytes, family, head);
    }
    return head.Finish();
}

}  // namespace kestrel::printing
