// The program after its console exists: loading the configuration, the
// main screen and the main loop, and the full reload when the
// configuration changed.
#pragma once

#include "common/runtime.h"
#include "startup/directories.h"

namespace kestrel::startup {

/// Runs the program until the operator leaves it; returns the exit status.
/// A scripted console's ScriptEnded passes through.
int RunProgram(common::Runtime& rt, const Directories& dirs);

}  // namespace kestrel::startup
