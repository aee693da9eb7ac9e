// The tax scales of the demo company.
#pragma once

#include <string>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::tools {

/// Adds to PKTAB of the company directory `dir` the Polish tax scales of
/// 2022 (both halves of the year) to 2027. Does nothing when PKTAB has
/// rows already.
base::Status AddDemoTaxScales(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::tools
