// The spool screen: the spool files of the company (PKLWYD) with their
// looking, printing, deleting and PDF.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "printing/spool_hooks.h"

namespace kestrel::printing {

/// Lists the spool files registered in PKLWYD whose files are in NAGL0
/// (oldest first; the cursor on `current` when given, else on the newest)
/// with "Nazwa pliku:", "Rozmiar pliku:", "Ilość stron:" and "Tytuł
/// wydruku:" of the current one and the legend "<Esc>-Wyjście
/// <F3>-Przeglądanie     <F7>-Wydruk     <Del>-Kasowanie" (and "<F5>-Plik
/// PDF"). F3 looks at the file, Del deletes it when no other process holds
/// it ("Zbiór skasowany", else "Błąd kasowania"), F7 prints it
/// (spool_print_dialog.h, spool_page_print.h; the file is deleted after a
/// complete print unless kept), F5 writes its PDF into WYDRUKI/. Esc leaves.
void SpoolScreen(common::Runtime& rt, const PrinterHooks& hooks = DefaultPrinterHooks(),
                 const std::string& current = "");

}  // namespace kestrel::printing
