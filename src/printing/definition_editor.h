// The printer definition editor: a browse of PKDRUK (program directory)
// where Enter corrects the current column, Ins adds a definition and Del
// marks one deleted (Del again takes the mark back); on leaving, the
// deleted ones are removed by packing the table when the operator agrees.
// Afterwards the definition in force is applied again.
//
// Column rules: the name is not empty and not used by another definition
// ("Istnieje drukarka o takiej nazwie"); the type is chosen from the type
// list; the port (a digit after "LPT", 0 = to file) and the
// initialisation files are not for types 0, V and W; the letter
// simulation is not for types V and W; the queue (WIN_NAZ: the CUPS queue
// of a port, or the printer of type V) is not for type W; the printer
// name of type W (PEL_NAZ_W) is for type W only, chosen from the queues of
// this machine or typed when the print system gives none; duplex only when
// NAGLDUPLEX is true and never with fanfold paper; choosing fanfold paper
// clears duplex. Setting the default mark clears it on every other
// definition.
#pragma once

#include "common/session/runtime.h"
#include "printing/data/print_system.h"

namespace kestrel::printing {

void EditPrinterDefinitions(common::Runtime& rt, PrintSystem& printers = LocalPrinters());

}  // namespace kestrel::printing
