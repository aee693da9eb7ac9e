// F3 of the spool screen: a print file shown read-only.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"

namespace kestrel::printing {

/// Shows spool file `path`, written for printer type `type`, with `title`
/// (CP852) on the frame. The file is copied (under its read lock) to the
/// working copy PKWYD.TM1, its readable text (data/spool_text.h), with the
/// letters of the printer in force turned back into the screen's, written
/// to PKWYD.TM2 and shown from there; both live in a directory of their own
/// made for the look, so two workstations never share them, and go with it.
/// "Błąd otwarcia " + the name in double quotes when the file cannot be
/// read.
void ViewSpoolFile(common::Runtime& rt, const std::string& path, char type,
                   const std::string& title);

/// The viewer over `lines` (CP852): a double frame over rows 1-22, the
/// text in rows 2-21, columns 1-78. Up, Down, PgUp, PgDn, Home and End
/// (first and last line), Left and Right (eight columns), Esc leaves.
void ViewLines(common::Runtime& rt, const std::vector<std::string>& lines,
               const std::string& title);

}  // namespace kestrel::printing
