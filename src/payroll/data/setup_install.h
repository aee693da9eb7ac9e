// Installing the payroll setup (common/tables/setup_files.h) into a company
// that already has its tables: the formula updater's last step.
//
// A record of the setup is added when the company has no record of its key
// (a component, function, income type, list symbol, optional component,
// insurance title code, remuneration code or algorithm row of that symbol;
// a tax-scale row of that year, last month and lower bound; the cells of a
// print matrix as a whole, only when the company has no cell of that
// matrix). A record of the key that the company has is left as it stands,
// whether it equals the setup's or the company changed it: the setup never
// overwrites a company's own values. Algorithm tables without a key
// (PKAWYNG) get the setup's rows only while they are empty. The control
// record (PKSTER) takes the setup's values only in fields it holds empty
// (blank, 0 or false); a company without a control record gets none.
#pragma once

#include <string>
#include <vector>

#include "common/tables/setup_files.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

struct SetupInstallOutcome {
    int installed = 0;  // records added (or control-record fields filled)
    int unchanged = 0;  // present with the setup's values
    /// Present with the company's own values, kept: "TABLE key" (UTF-8).
    std::vector<std::string> kept;
};

/// Whether the installer knows `table` (the payroll setup's tables).
bool InstallableTable(std::string_view table);

/// The key of a setup record as the installer compares it (CP852, blanks
/// cut, a function's name in upper case, numbers with two decimals, parts
/// joined by "/").
std::string SetupKey(const common::SetupRecord& record);

/// Installs `setup` into the company of `tables`, each table opened with
/// all its indexes (and closed again when this opened it); records are
/// appended under their lock. Throws common::Abandon for a record of a table
/// the installer does not know, naming its file and line, before anything
/// is written, and for a failure of the tables.
SetupInstallOutcome InstallSetup(common::Tables& tables,
                                 const std::vector<common::SetupRecord>& setup);

}  // namespace kestrel::payroll
