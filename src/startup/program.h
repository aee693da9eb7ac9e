// The program after its console exists: the main screen and the main loop.
#pragma once

#include "common/runtime.h"

namespace kestrel::startup {

/// Runs the program until the operator leaves it; returns the exit status.
/// A scripted console's ScriptEnded passes through.
int RunProgram(common::Runtime& rt);

}  // namespace kestrel::startup
