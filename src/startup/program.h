// The program after its console exists: the main screen and the main loop.
#pragma once

#include "platform/base/clock.h"
#include "platform/console/console.h"

namespace kestrel::startup {

/// Runs the program on `con` until the operator leaves it; returns the exit
/// status. A scripted console's ScriptEnded passes through.
int RunProgram(console::Console& con, const base::Clock& clock);

}  // namespace kestrel::startup
