// The printout of a dictionary (F7 in the dictionary dialogs): one line per
// code with the columns the dialog shows, under the page header of the
// company with the dictionary's title.
//
// The columns stand left to right one blank apart. When they fit in 78
// characters the list has the narrow header; otherwise the wide one, and a
// column that would run past 136 characters starts a further line of the
// row, under the second column. The list ends with "Razem pozycji: " and
// the count.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"

namespace kestrel::registry {

struct ListColumn {
    std::string heading;  // CP852
    int width = 0;
};

/// Gives the next row's cells (CP852, one per column, cut to its width);
/// false when no row is left.
using CodeListRows = std::function<bool(std::vector<std::string>* cells)>;

struct CodeList {
    std::string title;  // CP852
    std::vector<ListColumn> columns;
    CodeListRows rows;
    /// Asked between rows; true ends the list there (nullptr: never).
    std::function<bool()> interrupted;
};

/// Where each column of a list stands: the line of the row (0, 1 …) and
/// the column on it.
struct ListPlace {
    int line = 0;
    int col = 0;
};
struct ListLayout {
    bool wide = false;
    std::vector<ListPlace> places;
    int lines = 1;  // printed lines per row
};
ListLayout LayOutList(const std::vector<ListColumn>& columns);

/// Writes the list; the number of rows printed.
int WriteCodeList(common::Runtime& rt, printing::PrintOutput& out, const CodeList& list);

}  // namespace kestrel::registry
