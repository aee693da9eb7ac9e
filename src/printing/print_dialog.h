// The print dialog every print-out begins with (QRMWLPT) and the list of
// printer definitions to choose another one (QRMZMDR).
#pragma once

#include "common/session/runtime.h"
#include "printing/data/definitions.h"
#include "printing/data/print_system.h"

namespace kestrel::printing {

/// QRMSETDR with its messages shown (row 23 in YCOWP, a tone, the wait
/// for a key).
void ApplyAndReport(common::Runtime& rt, const PrinterDefinition& d, PrintSystem& printers);

/// QRMZMDR: the window " DRUKARKI " over the definitions of PKDRUK; Enter
/// applies the chosen one (with its messages). False on Esc.
bool ChoosePrinter(common::Runtime& rt, PrintSystem& printers);

/// QRMWLPT: shows the printer in force ("Drukarka:" and its description)
/// and what is wrong with it ("Błędny port drukarki", "Błędna definicja
/// drukarki", "Błędny typ papieru"); F3 chooses another definition. True
/// to print, false when the operator cancelled (Esc). Without printer
/// definitions (NAGLCFGD false) it asks for the port digit instead.
bool PrintDialog(common::Runtime& rt, PrintSystem& printers = LocalPrinters());

}  // namespace kestrel::printing
