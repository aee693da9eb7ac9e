// Operators and their rights.
//
// Each company directory has its list of operators: a four-character
// identifier, a full name, the rights (kinds 1-7, one bit each; kind 8 is
// the administrator's alone), an inactive mark and the password. The lists
// live in the directory HASLA.QRM of the program directory, one table per
// company directory. Passwords are kept only as salted slow hashes of the
// system's crypt library; identifiers and rights are stored scrambled.
// While a company has no list, every function is open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::common {

/// The administrator's identifier; he maintains the list and does not work
/// in the system himself.
inline constexpr const char* kAdministrator = "ADMI";
/// Bit of kind k (1-8): 2^(k-1).
constexpr unsigned RightBit(int kind) {
    return 1u << (kind - 1);
}

struct Operator {
    std::string ident;          // 4 characters, upper case
    std::string name;           // full name, CP852
    unsigned rights = 0;        // bits of kinds 1-8
    bool inactive = false;      // cannot identify himself
    std::string password_hash;  // crypt() hash, "" = none
};

/// The ten-character mark string of the rights: characters 4-10 hold "X" or
/// a blank for kinds 7 down to 1 (character 4 is kind 7); kind 8 is marked
/// in character 3.
std::string RightsMarks(unsigned rights);
unsigned RightsFromMarks(std::string_view marks);

/// A salted slow hash of `password` (yescrypt where the library has it,
/// else the strongest method it offers). Empty on failure.
std::string HashPassword(std::string_view password);
/// True when `password` matches `hash`.
bool PasswordMatches(std::string_view password, const std::string& hash);

/// The table file holding the operators of a company directory
/// (`company` "" = the program directory's own company).
std::string OperatorListPath(const std::string& program_dir, const std::string& company);

/// Reads a list; NotFound when the company has none.
base::Status LoadOperators(const std::string& path, std::vector<Operator>* out);
/// Writes a list safely (a new copy renamed over the old one), its header
/// dated by `clock` (nullptr: the system clock).
base::Status SaveOperators(const std::string& path, const std::vector<Operator>& list,
                           const base::Clock* clock = nullptr);

/// For the company functions: a new directory starts with a copy of the
/// list of the company it was made from (nothing when that has none), and a
/// renamed directory takes its list along.
base::Status CopyOperatorList(const std::string& program_dir, const std::string& from_company,
                              const std::string& to_company);
base::Status MoveOperatorList(const std::string& program_dir, const std::string& old_company,
                              const std::string& new_company);

/// The current operator (YIDENT, YHASUZ, YUPRUZ) and whether the company has
/// a list of operators at all.
struct OperatorState {
    bool list_exists = false;
    std::string ident = "    ";
    unsigned rights = 0;
};

/// QRMYIDENT with a mask: true when the company has no list of operators,
/// or when the current operator holds any kind of `mask`.
inline bool RightsAllow(const OperatorState& state, unsigned mask) {
    return !state.list_exists || (mask & state.rights) != 0;
}

}  // namespace kestrel::common
