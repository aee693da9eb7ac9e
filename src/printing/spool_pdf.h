// The PDF of a spool file, in the company's WYDRUKI/ directory.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "platform/base/clock.h"
#include "printing/data/spool_register.h"
#include "printing/spool_hooks.h"

namespace kestrel::printing {

/// The file name of a PDF: the title (CP852) in UTF-8 with every character
/// but letters and digits made "_" (runs of them one, at most 40 bytes,
/// "WYDRUK" when nothing is left), "_", the time as YYYYMMDD_HHMMSS, ".pdf".
std::string PdfName(const std::string& title, const base::LocalTime& time);

/// Renders spool file `path` (its PKLWYD entry `entry`) into NAGL0 +
/// "WYDRUKI/" (made when missing) and tells the operator where it went, or
/// "Błąd zapisu " + the name when it could not be made.
void SpoolFilePdf(common::Runtime& rt, const std::string& path, const SpoolEntry& entry,
                  const PrinterHooks& hooks);

}  // namespace kestrel::printing
