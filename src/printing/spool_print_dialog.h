// F7 of the spool screen: how a spool file is to be printed.
#pragma once

#include "common/session/runtime.h"
#include "printing/data/spool_pages.h"

namespace kestrel::printing {

struct SpoolPrintChoice {
    PageRange range;    // {1, 0}: the whole file
    bool keep = false;  // the file stays after printing
    char port = '1';    // the printer port digit 1-9
};

/// A box over rows 13-21: "<F1>-" with "Wydruk całego pliku" or, after F1,
/// "Selektywny wydruk", and "<F8>-" with "Plik kasowany po wydruku" or,
/// after F8, "Plik pozostaje po wydruku"; Enter goes on. Selective printing
/// reads "Od strony:" (at least 1) and "       Do:" (not below the first;
/// the default is the page count `pages`, or 9999 when that is below the
/// first page). Then "Port drukarki (LPT1 - LPT9):" (default NAGLNDR) and
/// "Ustaw papier na drukarce" with a key. Esc at any step gives false (at
/// the port "Operacja skasowana" first). The box stays drawn for the
/// printing that follows; the caller restores the screen.
bool AskSpoolPrint(common::Runtime& rt, int pages, SpoolPrintChoice* choice);

/// "Port drukarki (LPT1 - LPT9):" at (row, col) with "LPT" before a
/// one-digit field accepting 1-9 (default `*port` when it is one);
/// Esc shows "Operacja skasowana" and gives false.
bool AskPort(common::Runtime& rt, int row, int col, char* port);

}  // namespace kestrel::printing
