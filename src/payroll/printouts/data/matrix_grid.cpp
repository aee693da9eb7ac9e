#include "payroll/printouts/data/matrix_grid.h"

#include <algorithm>

namespace kestrel::payroll {
namespace {

MatrixCell EmptyCell(int row, int column) {
    MatrixCell c;
    c.row = row;
    c.column = column;
    c.width = kNewColumnWidth;
    c.type = 'N';
    return c;
}

}  // namespace

void Normalize(MatrixDefinition* m) {
    auto& cells = m->cells;
    std::stable_sort(cells.begin(), cells.end(), [](const MatrixCell& a, const MatrixCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    int row = 0, column = 0, last = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i == 0 || cells[i].row != last) {
            last = cells[i].row;
            ++row;
            column = 0;
        }
        cells[i].row = row;
        cells[i].column = ++column;
    }
    if (cells.empty()) cells.push_back(EmptyCell(1, 1));
}

int RowCount(const MatrixDefinition& m) {
    int rows = 0;
    for (const MatrixCell& c : m.cells) rows = std::max(rows, c.row);
    return rows;
}

int ColumnCount(const MatrixDefinition& m, int row) {
    int columns = 0;
    for (const MatrixCell& c : m.cells)
        if (c.row == row) columns = std::max(columns, c.column);
    return columns;
}

MatrixCell* CellAt(MatrixDefinition* m, int row, int column) {
    for (MatrixCell& c : m->cells)
        if (c.row == row && c.column == column) return &c;
    return nullptr;
}

const MatrixCell* CellAt(const MatrixDefinition& m, int row, int column) {
    for (const MatrixCell& c : m.cells)
        if (c.row == row && c.column == column) return &c;
    return nullptr;
}

bool InsertColumn(MatrixDefinition* m, int row, int column) {
    const int columns = ColumnCount(*m, row);
    if (columns == 0 || columns >= kMaxMatrixColumns || column < 1 || column > columns + 1)
        return false;
    for (MatrixCell& c : m->cells)
        if (c.row == row && c.column >= column) ++c.column;
    m->cells.push_back(EmptyCell(row, column));
    Normalize(m);
    return true;
}

bool DeleteColumn(MatrixDefinition* m, int row, int column) {
    if (CellAt(m, row, column) == nullptr) return false;
    if (ColumnCount(*m, row) == 1) return DeleteRow(m, row);
    std::erase_if(m->cells,
                  [&](const MatrixCell& c) { return c.row == row && c.column == column; });
    for (MatrixCell& c : m->cells)
        if (c.row == row && c.column > column) --c.column;
    Normalize(m);
    return true;
}

bool InsertRow(MatrixDefinition* m, int row) {
    const int rows = RowCount(*m);
    if (rows >= kMaxMatrixRows || row < 1 || row > rows + 1) return false;
    for (MatrixCell& c : m->cells)
        if (c.row >= row) ++c.row;
    m->cells.push_back(EmptyCell(row, 1));
    Normalize(m);
    return true;
}

bool DeleteRow(MatrixDefinition* m, int row) {
    if (ColumnCount(*m, row) == 0) return false;
    std::erase_if(m->cells, [&](const MatrixCell& c) { return c.row == row; });
    for (MatrixCell& c : m->cells)
        if (c.row > row) --c.row;
    Normalize(m);
    return true;
}

bool ChangeWidth(MatrixDefinition* m, int row, int column, int delta) {
    MatrixCell* c = CellAt(m, row, column);
    if (c == nullptr) return false;
    const int width = c->width + delta;
    if (width < 1 || width > kMaxColumnWidth) return false;
    c->width = width;
    return true;
}

void CopyMatrix(const MatrixDefinition& from, MatrixDefinition* to) {
    to->condition = from.condition;
    to->sort = from.sort;
    to->sort_key = from.sort_key;
    to->level_chars = from.level_chars;
    to->level_name = from.level_name;
    to->list_symbols = from.list_symbols;
    to->start = from.start;
    to->cells = from.cells;
    Normalize(to);
}

}  // namespace kestrel::payroll
