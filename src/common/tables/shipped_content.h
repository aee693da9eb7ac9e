// Initial contents shipped with the program: the code dictionaries (tax
// offices, countries, communes, professions) as tab-separated UTF-8 files
// "TABLE.tsv" in the program directory's data/ folder. The first line names
// the fields; every further line is one record. See data/README.md.
#pragma once

#include <cstdint>
#include <string>

#include "common/tables/company_tables.h"
#include "platform/base/status.h"
#include "platform/dbf/table.h"

namespace kestrel::common {

/// The folder of shipped data for company directory `data_dir` (NAGL0): the
/// data/ folder of the program directory, which holds the company
/// directories ("ROOT/DEMO.PK/" → "ROOT/data/"; a program directory used as
/// the data directory → its own data/).
std::string ShippedDataDir(const std::string& data_dir);

/// Appends the records of the tab-separated file `path` to `table`: texts
/// converted to CP852 and cut to their width, numbers, logicals (T/F),
/// dates (YYYYMMDD) and memo texts (written to the table's memo file, with
/// \n for a line break, stored as CR LF, \t for a tab and \\ for a
/// backslash). InvalidArgument names an unknown field or a bad line.
base::Status LoadTabSeparated(const std::string& path, dbf::Table& table,
                              uint32_t* loaded = nullptr);

/// Fills a new table from `dir`/TABLE.tsv when that file exists; tables
/// without a shipped file stay empty.
TableFiller ShippedContent(const std::string& dir);

}  // namespace kestrel::common
