// The program directory, the company data directory and the piecework
// directory, worked out from the command line, the current directory and
// the environment.
#pragma once

#include <string>

namespace kestrel::startup {

struct Directories {
    std::string program;  // NAGLX: without a trailing "/"
    std::string data;     // NAGL0: with a trailing "/"
    std::string akord;    // NAGL0AK: with a trailing "/"
    std::string company;  // the company directory's name as found on disk, "" = none
};

/// `cwd` is the current directory (absolute), `company` the directory
/// parameter as given ("" when none), `qrmakord` the value of QRMAKORD
/// (null when unset).
///
/// Without a parameter, a current directory whose last component contains
/// ".PK" is the company directory and its parent the program directory.
/// A parameter is upper-cased and gets ".PK" when it has no "."; it is used
/// only when it ends in ".PK", is a single name (no "/", "\" or "..": a
/// company never lies outside the program directory) and names an existing
/// directory there, found without regard to case. Otherwise the program
/// directory holds the data.
Directories ResolveDirectories(const std::string& cwd, const std::string& company,
                               const char* qrmakord);

}  // namespace kestrel::startup
