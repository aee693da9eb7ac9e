// Writing a print matrix as a whole, beside ReadMatrix (matrix_definition.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/printouts/data/matrix_definition.h"

namespace kestrel::payroll {

/// Stores `m` as matrix m.symbol of the company: its header record of
/// PKNTBW (added or rewritten) and exactly its cells in PKTBW (cells of the
/// symbol stored before and not in `m` are deleted). The cells of `m` must
/// have distinct row and column.
///
/// The save is safe: the new cells are first written as records marked
/// deleted (reusing a deleted record of the same key, so repeated saves do
/// not grow the table); only when every one of them and the header are
/// written are the old cells deleted and the new ones recalled, which
/// rewrites no more than each record's deletion mark. A value that does
/// not fit its field, a refused lock or a failed write stops the save
/// before that: it returns false with the message (CP852) and the matrix
/// read back is the old one. A PKTBW without the cell fields is refused
/// with "Błędna struktura zbioru PKTBW". The areas' orders and records are
/// left as they were.
bool WriteMatrix(common::Tables& tables, const MatrixDefinition& m, std::string* message);

/// A matrix of the company as the symbol list shows it.
struct MatrixEntry {
    std::string symbol;  // trimmed
    char type = ' ';
    std::string title;  // trimmed, CP852
};

/// The matrices of PKNTBW in the order of their symbols, deleted records
/// left out; none for a company without the table.
std::vector<MatrixEntry> ListMatrices(common::Tables& tables);

}  // namespace kestrel::payroll
