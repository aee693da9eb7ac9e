// How the cells of a print matrix are placed and written: each row of an
// employee's block is laid out on its own, its cells in column order one
// after another, each in its width and one blank apart, after a lead of
// `lead` characters (the "Lp." column of a list, 0 on a payslip).
#pragma once

#include <string>
#include <vector>

#include "payroll/printouts/data/matrix_definition.h"
#include "platform/formula/value.h"

namespace kestrel::payroll {

/// The printer column of each cell of `m` (same order as m.cells).
std::vector<int> CellColumns(const MatrixDefinition& m, int lead);

/// The widest row of the block: the lead and every cell with its blank.
int BlockWidth(const MatrixDefinition& m, int lead);

/// The highest WIERSZ_ of the matrix (0 without cells).
int BlockRows(const MatrixDefinition& m);

/// A cell's value in exactly the cell's width (CP852): a number through
/// MASKA_ (without a picture right-aligned with two decimals; asterisks
/// when it does not fit), a date as "YYYY-MM-DD", a logical as "T" or "N",
/// text through MASKA_ when it has one, left-aligned and cut to the width.
/// A NIL value (an empty cell) is blanks.
std::string CellText(const formula::Value& v, const MatrixCell& cell);

/// `text` cut or padded with blanks to `width`.
std::string Fit(std::string_view text, int width);

}  // namespace kestrel::payroll
