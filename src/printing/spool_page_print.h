// QRMWSP on the screen: a spool file printed page by page.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "printing/data/spool_pages.h"
#include "printing/spool_hooks.h"

namespace kestrel::printing {

enum class SpoolPrintEnd { kDone, kNoPages, kInterrupted, kFailed };

/// Prints pages `range` of spool file `path`: the pages go into a new
/// print file (hooks.open_print_file) while "Drukowana strona:" at row 17
/// shows the page being printed (highlighted); Esc asks "Przerwać
/// wydruk?" and on "t" the print ends with YPR10 + "*** Wydruk przerwany
/// ***" two lines lower and a page eject. What was printed is delivered
/// (hooks.deliver); at the end the paper is ejected (unless the last page
/// did so itself) and "Koniec wydruku" is shown, or "Brak stron do
/// wydruku" when no page lay in the range (nothing is delivered). Errors:
/// "Błąd otwarcia " or "Błąd odczytu " + the file name in double quotes.
SpoolPrintEnd PrintSpoolPages(common::Runtime& rt, const std::string& path, PageRange range,
                              const PrinterHooks& hooks);

}  // namespace kestrel::printing
