// Tables shared by the parts of one working-time run: a part opens a table
// only when no other part has it open with the index files it needs, so
// that the work areas the others hold stay valid.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// The work area of `table` already open in `tables` with every index file
/// of `indexes`, or else the table opened there with them (which replaces
/// an area of the same name).
dbf::WorkArea& OpenOnce(common::Tables& tables, std::string_view table,
                        const std::vector<std::string>& indexes = {});

/// Orders `area` by the index read from file `index` ("PKCZAS1").
void OrderBy(dbf::WorkArea& area, std::string_view index);

}  // namespace kestrel::worktime
