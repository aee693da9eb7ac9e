#include "payroll/printouts/data/matrix_grid.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrel::payroll {
namespace {

// "A:10 B:5/C:7": rows separated by "/", cells by blanks, each its content
// and width. Cells are listed in order; their row and column come from the
// place in the text.
MatrixDefinition Grid(const std::string& text) {
    MatrixDefinition m;
    int row = 1, column = 0;
    std::string cell;
    auto flush = [&] {
        if (cell.empty()) return;
        const size_t colon = cell.find(':');
        MatrixCell c;
        c.row = row;
        c.column = ++column;
        c.content = cell.substr(0, colon);
        c.width = std::stoi(cell.substr(colon + 1));
        m.cells.push_back(c);
        cell.clear();
    };
    for (char ch : text) {
        if (ch == ' ') {
            flush();
        } else if (ch == '/') {
            flush();
            ++row;
            column = 0;
        } else {
            cell += ch;
        }
    }
    flush();
    return m;
}

// The grid back as text, from each cell's own row and column: a cell
// numbered wrongly shows up as a misplaced or missing entry.
std::string Text(const MatrixDefinition& m) {
    std::string out;
    for (int r = 1; r <= RowCount(m); ++r) {
        if (r > 1) out += "/";
        for (int c = 1; c <= ColumnCount(m, r); ++c) {
            const MatrixCell* cell = CellAt(m, r, c);
            if (c > 1) out += " ";
            out += cell == nullptr ? "?" : cell->content + ":" + std::to_string(cell->width);
        }
    }
    return out;
}

struct GridCase {
    const char* name;
    const char* before;
    std::function<bool(MatrixDefinition*)> op;
    bool done;
    const char* after;
};

TEST(MatrixGrid, ColumnsRowsAndWidths) {
    const GridCase cases[] = {
        {"insert column before the current", "A:5 B:6/C:7",
         [](MatrixDefinition* m) { return InsertColumn(m, 1, 2); }, true, "A:5 :10 B:6/C:7"},
        {"insert column after the last", "A:5/C:7",
         [](MatrixDefinition* m) { return InsertColumn(m, 2, 2); }, true, "A:5/C:7 :10"},
        {"insert column beyond the row", "A:5/C:7",
         [](MatrixDefinition* m) { return InsertColumn(m, 2, 4); }, false, "A:5/C:7"},
        {"insert column in a missing row", "A:5",
         [](MatrixDefinition* m) { return InsertColumn(m, 2, 1); }, false, "A:5"},
        {"delete column moves the rest left", "A:5 B:6 C:7/D:8",
         [](MatrixDefinition* m) { return DeleteColumn(m, 1, 2); }, true, "A:5 C:7/D:8"},
        {"delete the only column of a row removes the row", "A:5/B:6/C:7",
         [](MatrixDefinition* m) { return DeleteColumn(m, 2, 1); }, true, "A:5/C:7"},
        {"delete a missing column", "A:5",
         [](MatrixDefinition* m) { return DeleteColumn(m, 1, 2); }, false, "A:5"},
        {"insert row before the current", "A:5/B:6",
         [](MatrixDefinition* m) { return InsertRow(m, 2); }, true, "A:5/:10/B:6"},
        {"insert row after the last", "A:5", [](MatrixDefinition* m) { return InsertRow(m, 2); },
         true, "A:5/:10"},
        {"insert row beyond the end", "A:5", [](MatrixDefinition* m) { return InsertRow(m, 3); },
         false, "A:5"},
        {"delete row moves the rest up", "A:5 B:6/C:7/D:8 E:9",
         [](MatrixDefinition* m) { return DeleteRow(m, 2); }, true, "A:5 B:6/D:8 E:9"},
        {"delete the last row leaves an empty cell", "A:5 B:6",
         [](MatrixDefinition* m) { return DeleteRow(m, 1); }, true, ":10"},
        {"delete the last cell leaves an empty cell", "A:5",
         [](MatrixDefinition* m) { return DeleteColumn(m, 1, 1); }, true, ":10"},
        {"wider", "A:5 B:6", [](MatrixDefinition* m) { return ChangeWidth(m, 1, 2, 1); }, true,
         "A:5 B:7"},
        {"narrower", "A:5 B:6", [](MatrixDefinition* m) { return ChangeWidth(m, 1, 1, -1); }, true,
         "A:4 B:6"},
        {"not below one", "A:1", [](MatrixDefinition* m) { return ChangeWidth(m, 1, 1, -1); },
         false, "A:1"},
        {"not above two digits", "A:99",
         [](MatrixDefinition* m) { return ChangeWidth(m, 1, 1, 1); }, false, "A:99"},
    };
    for (const GridCase& c : cases) {
        MatrixDefinition m = Grid(c.before);
        EXPECT_EQ(c.op(&m), c.done) << c.name;
        EXPECT_EQ(Text(m), c.after) << c.name;
    }
}

TEST(MatrixGrid, NoMoreThanTwoDigitsOfRowsAndColumns) {
    MatrixDefinition m;
    Normalize(&m);
    for (int i = 1; i < kMaxMatrixColumns; ++i) ASSERT_TRUE(InsertColumn(&m, 1, 1));
    EXPECT_FALSE(InsertColumn(&m, 1, 1));
    EXPECT_EQ(ColumnCount(m, 1), kMaxMatrixColumns);
    for (int i = 1; i < kMaxMatrixRows; ++i) ASSERT_TRUE(InsertRow(&m, 1));
    EXPECT_FALSE(InsertRow(&m, 1));
    EXPECT_EQ(RowCount(m), kMaxMatrixRows);
}

// A matrix read from the table may have gaps in its numbering and come in
// any order; the editor works on it numbered again.
TEST(MatrixGrid, NormalizeClosesGapsAndOrders) {
    MatrixDefinition m;
    auto cell = [&](int row, int column, const char* content) {
        MatrixCell c;
        c.row = row;
        c.column = column;
        c.content = content;
        c.width = 3;
        m.cells.push_back(c);
    };
    cell(5, 7, "D");
    cell(2, 4, "B");
    cell(2, 1, "A");
    cell(5, 2, "C");
    Normalize(&m);
    EXPECT_EQ(Text(m), "A:3 B:3/C:3 D:3");
    MatrixDefinition empty;
    Normalize(&empty);
    EXPECT_EQ(Text(empty), ":10");
}

TEST(MatrixGrid, CopyKeepsTheNewSymbolTypeAndTitle) {
    MatrixDefinition from = Grid("A:5/B:6");
    from.symbol = "OLD";
    from.type = '2';
    from.title = "Stara";
    from.condition = "ZASD > 0";
    from.sort = 3;
    from.sort_key = "pkprac->dzial_";
    from.level_chars = 2;
    from.level_name = "Dział";
    from.list_symbols = "A,Z";
    from.start = "1";
    MatrixDefinition to;
    to.symbol = "NEW";
    to.type = '1';
    to.title = "Nowa";
    CopyMatrix(from, &to);
    EXPECT_EQ(to.symbol, "NEW");
    EXPECT_EQ(to.type, '1');
    EXPECT_EQ(to.title, "Nowa");
    EXPECT_EQ(to.condition, "ZASD > 0");
    EXPECT_EQ(to.sort, 3);
    EXPECT_EQ(to.sort_key, "pkprac->dzial_");
    EXPECT_EQ(to.level_chars, 2);
    EXPECT_EQ(to.level_name, "Dział");
    EXPECT_EQ(to.list_symbols, "A,Z");
    EXPECT_EQ(to.start, "1");
    EXPECT_EQ(Text(to), "A:5/B:6");
}

}  // namespace
}  // namespace kestrel::payroll
