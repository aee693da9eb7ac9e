// Initial contents shipped with the program: the code dictionaries (tax
// offices, countries, communes, professions) as tab-separated UTF-8 files
// "TABLE.tsv" in the program directory's data/ folder (the first line names
// the fields; every further line is one record, see data/README.md), and
// the payroll setup, records of the payroll tables in the files
// data/payroll/*.setup (common/tables/setup_files.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/tables/company_tables.h"
#include "common/tables/setup_files.h"
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

/// The folder of the payroll setup under the shipped data folder.
inline constexpr const char* kSetupFolder = "payroll/";

/// Appends to `table` the records of table `name` among `records`.
base::Status LoadSetupRecords(const std::vector<SetupRecord>& records, std::string_view name,
                              dbf::Table& table, uint32_t* loaded = nullptr);

/// Fills a new table from `dir`/TABLE.tsv when that file exists, then with
/// the table's records of the payroll setup in `dir`/payroll/ (`dir` with or
/// without its closing "/"); tables
/// without shipped content stay empty. A setup file that cannot be read
/// fails every table that is filled.
TableFiller ShippedContent(const std::string& dir);

}  // namespace kestrel::common
