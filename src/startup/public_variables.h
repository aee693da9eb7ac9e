// The public variables start-up creates besides the configuration: the
// directories, the printer requested on the command line, the operator's
// state, the version stamp, the money pictures and the Polish letters with
// everything derived from them.
#pragma once

#include <string>
#include <vector>

#include "common/session/configuration.h"
#include "common/session/letters.h"
#include "platform/memfile/mem_file.h"
#include "startup/directories.h"

namespace kestrel::startup {

/// The version of the program, and the stamp made of it ("92325").
inline constexpr const char* kVersion = "9.23.25";
std::string VersionStamp();

/// Variables that keep their values across a reload of the configuration.
std::vector<memfile::MemEntry> SavePreserved(const common::Configuration& vars);
void RestorePreserved(const std::vector<memfile::MemEntry>& saved, common::Configuration* vars);

/// Creates the start-up variables that are not there yet (the operator's
/// state keeps what it had) and sets the directory variables.
/// `printer` is the "/D:" name padded to 20, or "".
void SetStartupVariables(common::Configuration* vars, const Directories& dirs,
                         const std::string& printer, const std::string& company_param);

/// The eighteen letter variables (A_D … X_D, A_M … X_M), their printer
/// renderings (AP_D … XP_M) and the derived texts of the letter set.
void SetLetterVariables(common::Configuration* vars, const common::LetterSet& letters);

}  // namespace kestrel::startup
