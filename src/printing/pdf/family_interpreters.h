// The interpreters of the families behind Interpret (print_interpreter.h).
// Each reads the whole file into the head.
#pragma once

#include <string_view>

#include "printing/pdf/print_head.h"
#include "printing/pdf/print_interpreter.h"

namespace kestrel::printing {

/// CR, LF, FF, HT, BS, VT; false for any other byte.
bool BasicControl(unsigned char byte, PrintHead& head);

void InterpretEscP(std::string_view bytes, PrinterFamily family, PrintHead& head);
void InterpretPcl(std::string_view bytes, PrinterFamily family, PrintHead& head);
void InterpretSymbolic(std::string_view bytes, PrintHead& head);
void InterpretPlain(std::string_view bytes, PrintHead& head);

}  // namespace kestrel::printing
