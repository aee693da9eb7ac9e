// Menu 9.8 "Hasła systemu": the list of operators, their rights and
// passwords.
#pragma once

#include <string>
#include <vector>

#include "common/session/operators.h"
#include "common/session/runtime.h"

namespace kestrel::utilities {

/// Why a list cannot be saved, in CP852 for the message line; "" when it
/// can: "Załóż jakiegoś użytkownika" when it has no operator besides the
/// administrator, "Żaden użytkownik nie ma uprawn. "n"" when kind n (1-7)
/// is held by no active operator.
std::string CheckOperatorList(const common::Runtime& rt, const std::vector<common::Operator>& list);

/// The company directories whose lists a save writes: the program
/// directory's own company ("") and every *.PK directory in it.
std::vector<std::string> CompanyDirectories(const std::string& program_dir);

/// QRM98: the whole function of menu 9.8 (rights check, the first
/// administrator password when there is no list, the editor).
void Qrm98(common::Runtime& rt);

}  // namespace kestrel::utilities
