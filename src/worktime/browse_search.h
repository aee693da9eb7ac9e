// What the browses of menu 3 share: cells cut to their width and the F2
// search of an employee.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/screen/browse.h"
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

/// The browse of a month's `count` lines sorted by employee, in rows
/// `top`..`bottom` over 77 columns, standing on line *current (from 1): Esc
/// closes; F2 asks an employee (AskEmployee on `search_row`) and stands on
/// the line `first_from(number)` gives (0-based: the first of him or after
/// him), or says "Brak takiego klucza" when that is past the last line.
void BrowseByEmployee(common::Runtime& rt, common::Tables& tables, int top, int bottom,
                      int search_row, console::Attr attr, std::vector<common::BrowseColumn> columns,
                      size_t count, const std::function<size_t(const std::string&)>& first_from,
                      int* current);

}  // namespace kestrel::worktime
