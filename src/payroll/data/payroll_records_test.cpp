#include "payroll/data/payroll_records.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::payroll {
namespace {

using registry::testing::Row;

struct PayrollRecords : ::testing::Test, registry::testing::TestCompany {};

TEST_F(PayrollRecords, ComponentsComeInTheOrderOfTheChosenIndexWithoutDeletedOnes) {
    Make("PKSPL",
         {Row{{"SKLADN_PL", "ZASA"},
              {"NAZWA_", "Zasadnicze"},
              {"TYP_", "K"},
              {"SEKW_OBL", "20"},
              {"GRUPA_ALG", "B"}},
          Row{{"SKLADN_PL", "BRUT"},
              {"NAZWA_", "Brutto"},
              {"TYP_", "A"},
              {"SEKW_OBL", "90"},
              {"IL_MC_WST", "13"},
              {"ZAKR_MC_LS", "T"},
              {"MC_WYP_LST", "T"},
              {"TYP_LISTY", "A ,B"}},
          Row{{"SKLADN_PL", "DODA"}, {"NAZWA_", "Dodatek"}, {"TYP_", "A"}, {"SEKW_OBL", "10"}}});
    {
        dbf::WorkArea& a = tables.Open("PKSPL", {"PKSPL1"});
        ASSERT_TRUE(a.Seek("DODA").ok());
        tables.RLock(a);
        a.record().set_deleted(true);
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
        tables.CloseAll();
    }
    const std::vector<Component> by_symbol = ReadComponents(tables);
    ASSERT_EQ(by_symbol.size(), 2u);
    EXPECT_EQ(by_symbol[0].symbol, "BRUT");
    EXPECT_EQ(by_symbol[0].months_back, 13);
    EXPECT_TRUE(by_symbol[0].monthly);
    EXPECT_TRUE(by_symbol[0].by_payment_month);
    EXPECT_EQ(by_symbol[0].list_kinds, "A ,B");
    EXPECT_EQ(by_symbol[1].kind, 'K');
    EXPECT_EQ(by_symbol[1].group, 'B');

    const std::vector<Component> by_order = ReadComponents(tables, "PKSPL2");
    ASSERT_EQ(by_order.size(), 2u);
    EXPECT_EQ(by_order[0].symbol, "ZASA");
    EXPECT_EQ(by_order[1].symbol, "BRUT");
}

TEST_F(PayrollRecords, ACompanyWithoutTheTablesHasNoComponentsAndNoSymbols) {
    EXPECT_TRUE(ReadComponents(tables).empty());
    ListSymbol s;
    EXPECT_FALSE(FindListSymbol(tables, "A", &s));
}

TEST_F(PayrollRecords, AOneCharacterListSymbolIsFoundPaddedWithABlank) {
    Make("PKSLST",
         {Row{{"TYP_LST", "A"}, {"NAZWA_LST", "Etatowi"}, {"LOCAL_NR", "T"}, {"TYP_UZ_UD", "Z"}}});
    ListSymbol s;
    ASSERT_TRUE(FindListSymbol(tables, "A", &s));
    EXPECT_EQ(s.symbol, "A ");
    EXPECT_TRUE(s.own_numbering);
    EXPECT_EQ(s.contract, 'Z');
    EXPECT_FALSE(FindListSymbol(tables, "B", &s));
}

TEST(PayrollListKey, IsYearSymbolAndTheNumberRightAlignedInFour) {
    PayrollList l;
    l.year = "2026";
    l.symbol = "A ";
    l.number = 7;
    EXPECT_EQ(l.Key(), "2026A    7");
    EXPECT_EQ(StrN(12345, 4), "****");
}

}  // namespace
}  // namespace kestrel::payroll
