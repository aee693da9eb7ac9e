// The working time of the demo company.
#pragma once

#include <string>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::tools {

/// Adds to the company directory `dir` (whose tables and people exist) the
/// usual working-time codes (normal hours, overtime 50 % and 100 %, night
/// hours and their computed total), a production brigade, and the working
/// time of the staff employees in the settlement month of PKSTER, which is
/// set to the month of `clock` when the control record is empty. Does
/// nothing when PKROB already has codes.
base::Status AddDemoWorkingTime(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::tools
