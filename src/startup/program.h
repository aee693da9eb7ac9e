// The program after its console exists: loading the configuration, the
// main screen and the main loop, and the full reload when the
// configuration changed.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "startup/directories.h"

namespace kestrel::startup {

struct StartOptions {
    Directories dirs;
    std::string printer;        // "/D:" name padded to 20, "" = the default definition
    std::string company_param;  // the directory parameter as given (upper case)
};

/// Runs the program until the operator leaves it; returns the exit status.
/// A scripted console's ScriptEnded passes through.
int RunProgram(common::Runtime& rt, const StartOptions& options);

}  // namespace kestrel::startup
