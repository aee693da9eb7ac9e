// The people of the demo company.
#pragma once

#include <string>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::tools {

/// Registers about twenty invented employees of all three kinds in the
/// company directory `dir` (whose tables exist), through the register's
/// layer: staff employees in departments ADM, PROD and HAND with their
/// positions, pay, allowances and insurance,
/// people on contracts, firms paid by the company, a former employee and a
/// man registered twice under one PESEL. Does nothing when the register
/// already has records.
/// Registers the demo people in the company directory `dir` (once: a
/// register that holds anyone is left alone), dated by `clock`.
base::Status AddDemoEmployees(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::tools
