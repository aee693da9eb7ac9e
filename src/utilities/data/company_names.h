// Company directories under the program directory: the rules of their
// names, the list of them and the words the company functions count with.
//
// A company directory is a subdirectory of the program directory named
// 1 to 8 characters + ".PK" (ABC.PK); it is usable as a company only when
// it holds a QRM.MEM. The program directory itself may serve as a company
// (the root entry). Texts here are UTF-8 unless said otherwise.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/session/letters.h"

namespace kestrel::utilities {

/// What a typed directory name is worth.
enum class NameCheck {
    kOk,
    kBadExtension,  // "Błędne rozszerzenie": an extension other than ".PK"
    kBadName,       // "Błędna nazwa": empty, too long or not a file name
};

/// Upper-cases `typed` (blanks around it dropped), appends ".PK" when it
/// has no "." and checks it: the extension must be ".PK" and the part
/// before it 1 to 8 characters that a file name may hold (letters, digits
/// and _ - $ ~ ! # % & ' @ ^ ( ) { }). `*name` receives the result even
/// when it is refused.
NameCheck CheckCompanyName(std::string_view typed, std::string* name);

/// The message of a refused name (UTF-8), "" for kOk.
const char* NameCheckMessage(NameCheck check);

/// A company directory as listed: its name as found on disk and whether
/// it holds a QRM.MEM.
struct CompanyEntry {
    std::string name;
    bool usable = false;
};

/// The *.PK subdirectories of `root` (the extension without regard to
/// case), ordered by the Polish collation of their upper-case names.
std::vector<CompanyEntry> ListCompanies(const std::string& root, const common::LetterSet& letters);

/// The listed entry named `name` (without regard to case), or nullptr.
const CompanyEntry* FindCompany(const std::vector<CompanyEntry>& list, std::string_view name);

/// The label of the root entry: " <" + the last component of `root` + ">",
/// " </>" for the file system's root.
std::string RootLabel(const std::string& root);

/// The noun after a count of files in correct Polish: "zbiór" for 1,
/// "zbiory" when the count ends in 2, 3 or 4 but not in 12, 13 or 14,
/// "zbiorów" otherwise.
std::string FilesNoun(long count);

/// The working name of a new company while it is being built: "ABC.TMP"
/// for "ABC.PK" (never listed as a company).
std::string WorkingName(const std::string& name);

}  // namespace kestrel::utilities
