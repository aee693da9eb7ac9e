// The directories of the bank files (4.A.8, 4.A.3): the output directory
// kept in the company's configuration (NAGLRORPLI in QRM.MEM), and the
// files of a directory as the file manager shows, copies and deletes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/session/runtime.h"

namespace kestrel::payroll::bank {

/// Sets the output directory to `dir` (blanks cut; "/" added): it must be
/// an existing directory ("Brak katalogu: " + dir). The company's QRM.MEM is
/// rewritten safely with NAGLRORPLI (added when missing, every other
/// variable kept) and the configuration in force takes it; a failed write
/// gives "Błąd zapisu QRM.MEM". "" when it is done.
std::string SaveOutputDirectory(common::Runtime& rt, const std::string& dir);

/// One file of a directory.
struct FileEntry {
    std::string name;
    uintmax_t size = 0;
    std::string when;  // "YYYY-MM-DD HH:MM" of its last change
};

/// The regular files of `dir` by name; temporary files of a bank run that
/// is writing ("~" + name) are not shown. None when it cannot be read.
std::vector<FileEntry> ListFiles(const std::string& dir);

/// Copies `name` from `from` to `to` (directories ending in "/"): written
/// as a temporary copy and renamed over a file of that name. "Błąd
/// kopiowania pliku: <name>" when it fails, "" when done.
std::string CopyFileTo(common::Runtime& rt, const std::string& from, const std::string& name,
                       const std::string& to);

/// Deletes `name` of `dir`: "Błąd kasowania pliku: <name>" when it stays.
std::string DeleteFileIn(common::Runtime& rt, const std::string& dir, const std::string& name);

}  // namespace kestrel::payroll::bank
