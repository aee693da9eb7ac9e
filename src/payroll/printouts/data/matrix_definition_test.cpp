#include "payroll/printouts/data/matrix_definition.h"

#include <gtest/gtest.h>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

struct MatrixCompany : testing::PayCompany {
    MatrixCompany() {
        Make("PKNTBW");
        Make("PKTBW");
        Add("PKNTBW", {{"TBW_", "LP"},
                       {"TYP_", "1"},
                       {"NAZWA_", "Lista płac"},
                       {"NR_IND", "2"},
                       {"IL_ZNAKOW", "2"},
                       {"NAZWA_SUMY", "Dział"},
                       {"TYP_LISTY", "A,Z"}});
        Add("PKNTBW", {{"TBW_", "LPX"}, {"TYP_", "2"}});
    }
    void Cell(const std::string& symbol, int row, int column, const std::string& content) {
        Add("PKTBW", {{"TBW_", symbol},
                      {"WIERSZ_", std::to_string(row)},
                      {"NR_KOL", std::to_string(column)},
                      {"SZER_KOL", "12"},
                      {"ZAWARTOSC_", content},
                      {"TYP_POLA", "N"},
                      {"SUMA_", "T"}});
    }
};

TEST(ReadMatrix, HeaderAndCellsInRowAndColumnOrder) {
    MatrixCompany c;
    // Stored out of order, and a cell of a symbol that begins the same way.
    c.Cell("LP", 2, 1, "ZALI");
    c.Cell("LPX", 1, 1, "BRUT");
    c.Cell("LP", 1, 2, "PREM");
    c.Cell("LP", 1, 1, "ZASD");
    MatrixDefinition m;
    ASSERT_EQ(ReadMatrix(c.tables, "LP", &m), MatrixRead::kRead);
    EXPECT_EQ(m.symbol, "LP");
    EXPECT_EQ(m.type, '1');
    EXPECT_EQ(codepage::ToUtf8(m.title), "Lista płac");
    EXPECT_EQ(m.sort, 2);
    EXPECT_EQ(m.level_chars, 2);
    EXPECT_EQ(m.list_symbols, "A,Z");
    ASSERT_EQ(m.cells.size(), 3U);
    EXPECT_EQ(m.cells[0].content, "ZASD");
    EXPECT_EQ(m.cells[1].content, "PREM");
    EXPECT_EQ(m.cells[2].content, "ZALI");
    EXPECT_TRUE(m.cells[0].total);
    EXPECT_EQ(m.cells[0].width, 12);
}

TEST(ReadMatrix, MissingSymbolAndCompanyWithoutMatrices) {
    MatrixCompany c;
    MatrixDefinition m;
    EXPECT_EQ(ReadMatrix(c.tables, "NONE", &m), MatrixRead::kMissing);
    // "L" is a prefix of "LP", not a matrix of its own.
    EXPECT_EQ(ReadMatrix(c.tables, "L", &m), MatrixRead::kMissing);
    testing::PayCompany bare;
    EXPECT_EQ(ReadMatrix(bare.tables, "LP", &m), MatrixRead::kMissing);
}

}  // namespace
}  // namespace kestrel::payroll
