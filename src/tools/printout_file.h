// The output file of a printout written by kestrel-tool: a print file, or,
// for a name ending ".pdf", its PDF (the print file made beside it first
// and removed after).
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"

namespace kestrel::tools {

/// True when `path` ends with ".pdf" in any case.
bool EndsWithPdf(const std::string& path);

/// Opens the print file, runs `block` into it and closes it; `block`
/// returns what stopped the printout (CP852, "" when it was printed).
/// A stopped or failed printout leaves no file and is refused (exit status
/// 1, the message on standard error: a write error gives "Błąd w trakcie
/// tworzenia wydruku"); 0 when the file (or the PDF, titled `title`, CP852)
/// is complete.
int WritePrintout(common::Runtime& rt, const std::string& out_path, const std::string& title,
                  const std::function<std::string(printing::PrintOutput&)>& block);

}  // namespace kestrel::tools
