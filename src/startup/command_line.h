// The program's command line.
//
//   kestrel [company] [/D:printer] [--script FILE] [--screens DIR] [--now "YYYY-MM-DD HH:MM"]
//
// Up to three plain parameters, each taken in upper case: "/D:" + a printer
// definition name, anything else the company directory; the two in either
// order, a later one examined only for the option not yet given.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/base/clock.h"

namespace kestrel::startup {

struct CommandLine {
    std::string company;                 // as given, upper case; "" = none
    std::string printer;                 // name after "/D:", upper case, padded to 20; "" = none
    std::string script;                  // key script file; "" = the terminal
    std::string screens;                 // directory for screen dumps
    std::optional<base::LocalTime> now;  // fixed clock
};

/// Parses argv[1..]. On a malformed option returns false with a message
/// for the operator in *error.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error);

}  // namespace kestrel::startup
