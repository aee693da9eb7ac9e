#include "payroll/printouts/data/matrix_store.h"

#include <gtest/gtest.h>

#include "payroll/printouts/data/matrix_grid.h"
#include "payroll_company.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

MatrixCell Cell(int row, int column, const std::string& content, int width = 12) {
    MatrixCell c;
    c.row = row;
    c.column = column;
    c.width = width;
    c.content = content;
    c.heading = "Op " + content;
    c.picture = "999,999.99";
    c.total = true;
    return c;
}

MatrixDefinition Matrix(const std::string& symbol, std::vector<MatrixCell> cells) {
    MatrixDefinition m;
    m.symbol = symbol;
    m.type = '1';
    m.title = codepage::FromUtf8("Lista płac");
    m.condition = "ZASD > 0";
    m.sort = 3;
    m.sort_key = "pkprac->dzial_";
    m.level_chars = 2;
    m.level_name = "Dział";
    m.list_symbols = "A,Z";
    m.start = "1";
    m.cells = std::move(cells);
    return m;
}

std::string Contents(const MatrixDefinition& m) {
    std::string out;
    for (const MatrixCell& c : m.cells)
        out += std::to_string(c.row) + "." + std::to_string(c.column) + "=" + c.content + " ";
    return out;
}

struct StoreCompany : testing::PayCompany {
    StoreCompany() {
        Make("PKNTBW");
        Make("PKTBW");
    }
};

TEST(WriteMatrix, ReadsBackWholeAndReplacesTheOldCells) {
    StoreCompany c;
    std::string message;
    ASSERT_TRUE(WriteMatrix(
        c.tables, Matrix("LP", {Cell(1, 1, "ZASD"), Cell(1, 2, "PREM"), Cell(2, 1, "ZALI")}),
        &message))
        << message;
    // Another matrix whose symbol begins the same way stays apart.
    ASSERT_TRUE(WriteMatrix(c.tables, Matrix("LPX", {Cell(1, 1, "BRUT")}), &message));
    MatrixDefinition back;
    ASSERT_EQ(ReadMatrix(c.tables, "LP", &back), MatrixRead::kRead);
    EXPECT_EQ(Contents(back), "1.1=ZASD 1.2=PREM 2.1=ZALI ");
    EXPECT_EQ(back.type, '1');
    EXPECT_EQ(codepage::ToUtf8(back.title), "Lista płac");
    EXPECT_EQ(back.condition, "ZASD > 0");
    EXPECT_EQ(back.sort, 3);
    EXPECT_EQ(back.sort_key, "pkprac->dzial_");
    EXPECT_EQ(back.level_chars, 2);
    EXPECT_EQ(back.list_symbols, "A,Z");
    EXPECT_EQ(back.start, "1");
    EXPECT_EQ(back.cells[1].heading, "Op PREM");
    EXPECT_EQ(back.cells[1].picture, "999,999.99");
    EXPECT_TRUE(back.cells[1].total);

    // Saved again with a column deleted: the cell of the old layout goes.
    MatrixDefinition changed = back;
    ASSERT_TRUE(DeleteColumn(&changed, 1, 1));
    changed.title = "Nowy";
    ASSERT_TRUE(WriteMatrix(c.tables, changed, &message)) << message;
    ASSERT_EQ(ReadMatrix(c.tables, "LP", &back), MatrixRead::kRead);
    EXPECT_EQ(Contents(back), "1.1=PREM 2.1=ZALI ");
    EXPECT_EQ(back.title, "Nowy");
    ASSERT_EQ(ReadMatrix(c.tables, "LPX", &back), MatrixRead::kRead);
    EXPECT_EQ(Contents(back), "1.1=BRUT ");
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKNTBW", "TBW_"), (std::vector<std::string>{"LP", "LPX"}));
}

// Saving the same matrix again reuses the records it deleted the time
// before: the table does not grow with every save.
TEST(WriteMatrix, RepeatedSavesDoNotGrowTheTable) {
    StoreCompany c;
    const MatrixDefinition m = Matrix("LP", {Cell(1, 1, "ZASD"), Cell(1, 2, "PREM")});
    std::string message;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(WriteMatrix(c.tables, m, &message)) << message;
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKTBW", "ZAWARTOSC_").size(), 4u);
    EXPECT_EQ(c.Records("PKTBW", "ZAWARTOSC_", false).size(), 2u);
    EXPECT_EQ(c.Records("PKNTBW", "TBW_").size(), 1u);
}

// A matrix that cannot be stored whole (a width of three digits in a field
// of two) is not stored at all: the old matrix reads back unchanged.
TEST(WriteMatrix, AFailedSaveLeavesTheOldMatrix) {
    StoreCompany c;
    std::string message;
    ASSERT_TRUE(
        WriteMatrix(c.tables, Matrix("LP", {Cell(1, 1, "ZASD"), Cell(1, 2, "PREM")}), &message));
    MatrixDefinition bad = Matrix("LP", {Cell(1, 1, "BRUT"), Cell(1, 2, "ZALI", 100)});
    bad.title = "Zmieniony";
    EXPECT_FALSE(WriteMatrix(c.tables, bad, &message));
    EXPECT_EQ(codepage::ToUtf8(message), "Błąd zapisu: PKTBW");
    MatrixDefinition back;
    ASSERT_EQ(ReadMatrix(c.tables, "LP", &back), MatrixRead::kRead);
    EXPECT_EQ(Contents(back), "1.1=ZASD 1.2=PREM ");
    EXPECT_EQ(codepage::ToUtf8(back.title), "Lista płac");
}

TEST(ListMatrices, SymbolsInOrderWithoutDeleted) {
    StoreCompany c;
    std::string message;
    for (const char* s : {"Z1", "A1", "M"})
        ASSERT_TRUE(WriteMatrix(c.tables, Matrix(s, {Cell(1, 1, "ZASD")}), &message));
    dbf::WorkArea& h = *c.tables.workspace().Find("PKNTBW");
    worktime::OrderBy(h, "PKNTBW1");
    ASSERT_TRUE(h.Seek("M   ").ok());
    ASSERT_TRUE(h.RLock().ok());
    ASSERT_TRUE(h.Delete().ok());
    const auto list = ListMatrices(c.tables);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].symbol, "A1");
    EXPECT_EQ(list[1].symbol, "Z1");
    EXPECT_EQ(list[1].type, '1');
    testing::PayCompany bare;
    EXPECT_TRUE(ListMatrices(bare.tables).empty());
}

}  // namespace
}  // namespace kestrel::payroll
