#include "register/data/formula_symbols.h"

#include <gtest/gtest.h>

#include "platform/base/files.h"
#include "test_company.h"

namespace kestrel::registry {
namespace {

using testing::TestCompany;

TEST(FormulaSymbol, ALetterThenUpToThreeLettersOrDigits) {
    for (const char* good : {"A", "UW", "DFUN", "X12", "Z9  "})
        EXPECT_TRUE(IsFormulaSymbol(good)) << good;
    for (const char* bad : {"", "    ", "1AB", "ABCDE", "A B", "_AB", "A-B",
                            "\xA5"
                            "A"})
        EXPECT_FALSE(IsFormulaSymbol(bad)) << bad;
}

TEST(FormulaSymbol, IsRefusedWhereAnyOtherTableOfTheNamespaceHoldsIt) {
    TestCompany c;
    c.Make("PKSRDOD", {{{"RODZAJ_DOD", "DFUN"}}});
    c.Make("PKRNB", {{{"KOD_NIEOB", "UW"}}});
    c.Make("PKROB", {{{"KOD_OB", "PR"}}});
    c.Make("PKSPL", {{{"SKLADN_PL", "BRUT"}}});
    c.Make("PKUMTR", {{{"NR_POLA", "0001"}, {"KLUCZ_", "staz"}}});
    c.Make("PKFUNC", {{{"FUN_", "Max"}}});
    struct Case {
        const char* symbol;
        const char* own;
        const char* holder;
    };
    const Case cases[] = {
        {"UW", "PKSRDOD", "PKRNB"},    {"PR", "PKSRDOD", "PKROB"},   {"BRUT", "PKSRDOD", "PKSPL"},
        {"STAZ", "PKSRDOD", "PKUMTR"}, {"MAX", "PKSRDOD", "PKFUNC"}, {"uw", "PKSRDOD", "PKRNB"},
        {"DFUN", "PKSRDOD", ""},       {"DFUN", "PKRNB", "PKSRDOD"}, {"UW", "PKRNB", ""},
        {"NOWY", "PKSRDOD", ""},       {"U", "PKSRDOD", ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SymbolTakenIn(c.h.rt, c.tables, k.symbol, k.own), k.holder)
            << k.symbol << " in " << k.own;
}

TEST(FormulaSymbol, AnOptionalComponentHoldsItsSymbolInTheNamespaceToo) {
    TestCompany c;
    c.Make("PKSPL", {{{"SKLADN_PL", "BRUT"}}});
    c.Make("PKOSPL", {{{"SKLADN_PL", "OPC1"}}, {{"SKLADN_PL", "STAR"}}, {{"SKLADN_PL", "BRUT"}}});
    c.Make("PKFUNC", {{{"FUN_", "OPC1"}}});
    // A deleted optional component holds nothing.
    dbf::WorkArea& ospl = c.tables.Open("PKOSPL");
    ASSERT_TRUE(ospl.Goto(2).ok());
    c.tables.RLock(ospl);
    ASSERT_TRUE(ospl.Delete().ok());
    ASSERT_TRUE(ospl.Unlock().ok());
    struct Case {
        const char* symbol;
        const char* own;
        const char* holder;
    };
    const Case cases[] = {
        {"OPC1", "PKSPL", "PKOSPL"},    // a new component
        {"opc1", "PKSRDOD", "PKOSPL"},  // any case
        {"OPC1", "PKROB", "PKOSPL"},   {"OPC1", "PKRNB", "PKOSPL"}, {"OPC1", "PKUMTR", "PKOSPL"},
        {"OPC1", "PKOSPL", "PKFUNC"},  // its own table is not asked, the rest is
        {"BRUT", "PKSRDOD", "PKSPL"},  // a component comes first
        {"BRUT", "PKOSPL", "PKSPL"},   // a new optional component
        {"STAR", "PKSPL", ""},         // deleted
        {"OPC", "PKSPL", ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SymbolTakenIn(c.h.rt, c.tables, k.symbol, k.own), k.holder)
            << k.symbol << " in " << k.own;
    // The position of PKOSPL is kept.
    ASSERT_TRUE(ospl.Goto(3).ok());
    EXPECT_EQ(SymbolTakenIn(c.h.rt, c.tables, "OPC1", "PKSPL"), "PKOSPL");
    EXPECT_EQ(ospl.recno(), 3u);
}

TEST(FormulaSymbol, ATableTheCompanyLacksHoldsNothingAndIsNotCreated) {
    TestCompany c;
    c.Make("PKRNB", {{{"KOD_NIEOB", "UW"}}});
    EXPECT_EQ(SymbolTakenIn(c.h.rt, c.tables, "FUN", "PKSRDOD"), "");
    EXPECT_EQ(SymbolTakenIn(c.h.rt, c.tables, "UW", "PKSRDOD"), "PKRNB");
    EXPECT_FALSE(base::Exists(c.dir.File("PKFUNC.DBF")));
    EXPECT_TRUE(c.h.backend.exhausted());  // no question was asked
}

}  // namespace
}  // namespace kestrel::registry
