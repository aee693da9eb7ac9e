// Renaming and deleting company directories.
//
// Deleting first renames the directory to a working name that is never
// listed (ABC.DEL, or ABC.DE1 … when that exists), then removes what it
// holds: a deletion that stops half-way leaves no company that could be
// chosen with tables missing, only the working directory.
#pragma once

#include <functional>
#include <string>

namespace kestrel::utilities {

struct RenameOutcome {
    bool renamed = false;
    /// "" or (UTF-8) "Błąd zmiany nazwy" (nothing changed), "Błąd
    /// modyfikacji haseł" (renamed; the list of operators stayed under the
    /// old name).
    std::string message;
};

/// Renames `root`/`old_name` to `root`/`new_name` (never over anything
/// that exists) and moves its list of operators along.
RenameOutcome RenameCompany(const std::string& root, const std::string& old_name,
                            const std::string& new_name);

/// What a company directory holds, for the question before deleting it.
struct CompanyContents {
    long files = 0;  // its files and those of its archive and password folders
    /// A subdirectory other than ARCH*, HASLA.QRM and the formula updater's
    /// backups U2020 and X_PPK21, or any inside those: the directory is not
    /// deleted.
    bool foreign_subdirectory = false;
};
CompanyContents SurveyCompany(const std::string& dir);

/// Removes one file or empty directory; false when it could not.
using RemoveFn = std::function<bool(const std::string& path)>;
bool RemovePath(const std::string& path);

/// Deletes `root`/`name` (which SurveyCompany found deletable): renames it
/// to its working name, removes every file of its allowed subdirectories
/// and them, its files, then the directory; the company's list of
/// operators goes with it. Returns "" or the message (UTF-8): "Błąd
/// kasowania NAME" (a file or subdirectory), "Błąd kasowania katalogu".
/// `remove` does each removal (RemovePath).
std::string DeleteCompany(const std::string& root, const std::string& name,
                          const RemoveFn& remove = RemovePath);

}  // namespace kestrel::utilities
