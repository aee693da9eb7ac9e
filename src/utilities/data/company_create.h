// Creating a company directory: the configuration of the new company, the
// leftover of an interrupted creation, and the building itself.
//
// A company is built under its working name (ABC.TMP for ABC.PK: never
// listed as a company) and renamed to its own name only when its tables
// and its QRM.MEM are complete, so a failed creation never leaves a
// half-built company that could be chosen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/session/letters.h"
#include "platform/base/clock.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::utilities {

/// What the operator gave for a new company (texts in CP852).
struct NewCompany {
    std::string name;          // the directory, "ABC.PK" (already checked)
    std::string short_name;    // NAGL1, the company name of the stamp
    std::string first_line;    // NAGL2
    std::string other_line;    // layout A: the third line (NAGL3); B: the second (NAGL4)
    bool second_line = false;  // layout B
};

/// The new company's configuration: the template's variables, NAGL1 and
/// NAGL2 set (padded to 20 and 30), then for layout A NAGL3 set and NAGL4
/// removed, for layout B NAGL4 set; then every start-up default of the
/// configuration catalogue that is still missing.
std::vector<memfile::MemEntry> NewCompanyConfiguration(std::vector<memfile::MemEntry> from_template,
                                                       const NewCompany& company);

/// What stands at a path the creation needs.
enum class PathKind { kNothing, kDirectory, kFile };
PathKind KindOf(const std::string& path);

/// Removes a leftover working directory: its files, then itself. Refused
/// (message "Przerwanie - istniejąpodkatalogi") when it has a
/// subdirectory; "Błąd kasowania DIR\FILE" or "Błąd kasowania DIR" when a
/// removal fails. Returns the message (UTF-8), "" when it is gone.
std::string RemoveLeftover(const std::string& path);

struct CreateOutcome {
    /// Why the creation stopped (UTF-8), "" when the company exists.
    std::string error;
    /// The company exists but its list of operators could not be made: it
    /// is not protected by passwords.
    bool operator_list_failed = false;
    bool ok() const { return error.empty(); }
};

struct CreateOptions {
    const common::LetterSet* letters = nullptr;  // for the tables' index keys (CP852 when null)
    const base::Clock* clock = nullptr;          // dates the tables' headers
    /// The company whose list of operators the new company starts with
    /// ("" = the program directory's own).
    std::string operators_from;
    /// Called before each further attempt to rename the working directory
    /// (the program waits a second there); null: no wait.
    std::function<void()> retry_wait;
};

/// Builds company `company.name` in `root` from `template_mem` (the
/// QRM.MEM whose variables the new one starts from; a missing file gives
/// none): the working directory (which must not exist), every table with
/// its initial contents (the shipped data of root/data/), the QRM.MEM,
/// the rename to the own name (up to 10 attempts), the list of operators.
/// Messages: "Błąd tworzenia katalogu NAME", "Błąd tworzenia zbioru …",
/// "Błąd zapisu QRM.MEM".
CreateOutcome CreateCompany(const std::string& root, const NewCompany& company,
                            const std::string& template_mem, const CreateOptions& options);

}  // namespace kestrel::utilities
