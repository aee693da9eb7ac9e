// What the browses of menu 3 share: cells cut to their width and the F2
// search of an employee.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/console/colour.h"

namespace kestrel::worktime {

/// `s` cut or padded with spaces to `width`.
std::string Cut(std::string_view s, size_t width);

/// Asks "Pracownik:" on `row` (F3 picks from the register) and gives the
/// normalised six-character number in `number`; false when left with Esc
/// or the number is not one.
bool AskEmployee(common::Runtime& rt, common::Tables& tables, int row, console::Attr attr,
                 std::string* number);

}  // namespace kestrel::worktime
