// The window "Katalogi archiwalne:" in which the operator chooses one of a
// company's annual archive directories (the browses of archived years and
// the printouts of archived payroll lists).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/session/runtime.h"

namespace kestrel::common {

/// Shows `dirs` (names of archive directories) in a framed window at row 8
/// under "Katalogi archiwalne:", up to ten rows at a time, the entry named
/// `current` highlighted first. The chosen name, or "" on Esc or when
/// `dirs` is empty. The screen under the window is restored.
std::string PickArchive(Runtime& rt, const std::vector<std::string>& dirs,
                        const std::string& current = "");

/// The same with "Zbiory bieżące" (the working tables) as the first entry:
/// "" when it is chosen, a name of `dirs`, or nothing on Esc.
std::optional<std::string> PickTablesOrArchive(Runtime& rt, const std::vector<std::string>& dirs,
                                               const std::string& current = "");

}  // namespace kestrel::common
