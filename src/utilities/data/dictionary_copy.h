// Copying dictionary tables from one company into another.
//
// Each table of the copy list travels with its memo file and its index
// files. Its files are first copied under temporary names beside the
// target's (PKURZ.DBF → PKURZ.DBF.KOP) and renamed into place only when
// every one of them has been copied: a copy that fails leaves the target's
// table as it was.
#pragma once

#include <string>
#include <vector>

#include "common/session/configuration.h"

namespace kestrel::utilities {

/// One table of the copy list.
struct DictionaryRow {
    const char* stem;         // "PKURZ"
    const char* description;  // UTF-8
    bool memo;                // has a .DBT
    int indexes;              // PKURZ1.NTX … PKURZn.NTX
};

/// The copy list in its order; the extended personnel file's tables when
/// the source company has them (PKUMTR.DBF), the loan fund's with NAGLKWP,
/// the PFRON module's with NAGLXSDML.
std::vector<DictionaryRow> DictionaryCopyList(const common::Configuration& config,
                                              const std::string& source_dir);

/// The files of a row: the .DBF, the .DBT when it has one, the indexes.
std::vector<std::string> RowFiles(const DictionaryRow& row);

/// The first file of `rows` missing in `source_dir` ("" when all are there).
std::string FirstMissingFile(const std::string& source_dir, const std::vector<DictionaryRow>& rows);

/// Copies one row's files from `source_dir` into `target_dir` (files found
/// without regard to case). Returns "" or the message (UTF-8): "Błąd
/// kopiowania FILE" (the target's table unchanged; temporary copies
/// removed), "Zbiór TABLE jest używany" when the target's table is open
/// elsewhere.
std::string CopyDictionary(const std::string& source_dir, const std::string& target_dir,
                           const DictionaryRow& row);

}  // namespace kestrel::utilities
