// The grid of a print matrix as its editor changes it: rows of an
// employee's block, each with its own cells numbered from 1 left to right.
//
// The operations keep the cells of a matrix numbered without gaps (rows 1..n,
// in each row columns 1..k) and ordered by row and column, as Normalize()
// leaves them; a matrix always has at least one cell, so the editor always
// stands on one.
#pragma once

#include "payroll/printouts/data/matrix_definition.h"

namespace kestrel::payroll {

/// The limits of the stored fields: WIERSZ_, NR_KOL and SZER_KOL are two
/// digits.
inline constexpr int kMaxMatrixRows = 99;
inline constexpr int kMaxMatrixColumns = 99;
inline constexpr int kMaxColumnWidth = 99;
/// The width of a new cell.
inline constexpr int kNewColumnWidth = 10;

/// Orders the cells by row and column and numbers them again from 1 without
/// gaps (a matrix read from the table may have them); an empty matrix gets
/// one empty cell.
void Normalize(MatrixDefinition* m);

int RowCount(const MatrixDefinition& m);
/// Cells of row `row` (0 for a row that does not exist).
int ColumnCount(const MatrixDefinition& m, int row);
/// The cell at row and column, null when there is none.
MatrixCell* CellAt(MatrixDefinition* m, int row, int column);
const MatrixCell* CellAt(const MatrixDefinition& m, int row, int column);

/// A new empty numeric cell of the new-cell width before cell `column` of
/// row `row` (`column` one past the last appends it); the cells from
/// `column` on move one to the right. False (nothing changed) when the row
/// already has the most columns or there is no such place.
bool InsertColumn(MatrixDefinition* m, int row, int column);
/// Removes the cell; the cells right of it move one to the left. A row left
/// without cells goes as DeleteRow() does. False when there is no such
/// cell.
bool DeleteColumn(MatrixDefinition* m, int row, int column);
/// A new row of one empty cell before row `row` (one past the last appends
/// it); the rows from `row` on move one down. False when the matrix already
/// has the most rows or there is no such place.
bool InsertRow(MatrixDefinition* m, int row);
/// Removes every cell of row `row`; the rows below move one up. The last
/// row of a matrix leaves one empty cell in its place. False when there is
/// no such row.
bool DeleteRow(MatrixDefinition* m, int row);
/// Changes the cell's width by `delta`, kept within 1..kMaxColumnWidth;
/// false when the cell is missing or the width would leave that range.
bool ChangeWidth(MatrixDefinition* m, int row, int column, int delta);

/// The cells of another matrix for a new one: `to` takes the cells and the
/// selection, sort, summing, list and start fields of `from`; its own
/// symbol, type and title stay.
void CopyMatrix(const MatrixDefinition& from, MatrixDefinition* to);

}  // namespace kestrel::payroll
