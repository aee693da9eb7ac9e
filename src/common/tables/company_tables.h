// The tables of a company directory as a whole: creating every table of the
// catalogue that is missing, without questions (new and demo companies).
#pragma once

#include <functional>
#include <string>

#include "common/session/letters.h"
#include "platform/base/status.h"
#include "platform/dbf/table.h"

namespace kestrel::common {

/// Fills a newly created table (open exclusively) with its initial content.
using TableFiller = std::function<base::Status(const std::string& table, dbf::Table& t)>;

/// Creates in `dir` every company table of the catalogue that is missing
/// (filled by `fill` where it is given), then builds every missing index
/// file of every company table. Tables that exist are left as they are.
/// *created (optional) counts the tables made. Headers are dated by
/// `clock` (nullptr: the system clock).
base::Status CreateMissingTables(const std::string& dir, const LetterSet& letters,
                                 const TableFiller& fill, int* created = nullptr,
                                 const base::Clock* clock = nullptr);

}  // namespace kestrel::common
