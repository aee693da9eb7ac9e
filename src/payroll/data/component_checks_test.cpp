#include "payroll/data/component_checks.h"

#include <gtest/gtest.h>

#include "payroll/data/payroll_records.h"
#include "test_company.h"

namespace kestrel::payroll {
namespace {

using registry::testing::Cp;
using registry::testing::Row;

struct ComponentChecks : ::testing::Test, registry::testing::TestCompany {
    void SetUp() override {
        Make("PKSLST", {Row{{"TYP_LST", "P1"}, {"NAZWA_LST", "Płace"}},
                        Row{{"TYP_LST", "A"}, {"NAZWA_LST", "Akordy"}}});
        Make("PKRNB", {Row{{"KOD_NIEOB", "CH"}, {"NAZWA_", "Chorobowe"}},
                       Row{{"KOD_NIEOB", "ZC"}, {"NAZWA_", "Zasiłek"}}});
    }
};

TEST_F(ComponentChecks, ListKindsNameTheBadTokenInQuotes) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},                                 // every list symbol
        {"P1", ""},                               //
        {"P1,A", ""},                             // "A" is the symbol "A "
        {" P1 , A ", ""},                         // blanks around tokens
        {"P1,X", "Nieznany typ listy: \"X\""},    //
        {"PX,P1", "Nieznany typ listy: \"PX\""},  // the first bad token
        {"P1,ABC", "Błędny typ: \"ABC\""},        // longer than a symbol
        {"P1,,A", "Błędny typ: \"\""},            // an empty token
        {"P1,", "Błędny typ: \"\""},              //
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(ListKindsProblem(tables, Cp(text)), Cp(message)) << text;
}

TEST_F(ComponentChecks, AbsenceKindsNameTheBadTokenInQuotes) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"CH,ZC", ""},
        {"CH,UW", "Nieznany typ nieob.: \"UW\""},
        {"CHORO", "Błędny typ: \"CHORO\""},
        {"CH,,ZC", "Błędny typ: \"\""},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(AbsenceKindsProblem(tables, Cp(text)), Cp(message)) << text;
}

TEST_F(ComponentChecks, AbsenceKindsOfACompanyWithoutAbsenceCodesAreUnknown) {
    TestCompany bare;
    EXPECT_EQ(AbsenceKindsProblem(bare.tables, "CH"), Cp("Nieznany typ nieob.: \"CH\""));
    EXPECT_EQ(AbsenceKindsProblem(bare.tables, ""), "");
}

TEST_F(ComponentChecks, ThePpkColumnOnlyWithThePpkModule) {
    EXPECT_TRUE(IsIncomeFieldName("PRZYCHOD_", false));
    EXPECT_TRUE(IsIncomeFieldName("ZWOL_KOL_E", false));
    EXPECT_TRUE(IsIncomeFieldName("          ", false));
    EXPECT_FALSE(IsIncomeFieldName("KW_PPK_ZAK", false));
    EXPECT_TRUE(IsIncomeFieldName("KW_PPK_ZAK", true));
    EXPECT_FALSE(IsIncomeFieldName("PRZYCHOD", true));
    EXPECT_FALSE(IsIncomeFieldName("W_K", true));  // a column of PKDOCH, but no amount
    EXPECT_EQ(IncomeFieldNames(false).size(), 13u);
    EXPECT_EQ(IncomeFieldNames(true).back(), "KW_PPK_ZAK");
}

TEST_F(ComponentChecks, MemoryOnlyForcesAnAlgorithmKeptOffTheList) {
    Make("PKSPL", {Row{{"SKLADN_PL", "ZASA"},
                       {"TYP_", "K"},
                       {"POZA_LISTA", "F"},
                       {"DRUK_", "T"},
                       {"TYTUL_WYP", "0001"},
                       {"ZASILEK_", "T"},
                       {"ZUS_", "T"},
                       {"TYLKO_MEM", "T"}},
                   Row{{"SKLADN_PL", "ZAS2"}, {"TYP_", "K"}, {"DRUK_", "T"}, {"TYLKO_MEM", "F"}}});
    dbf::WorkArea& a = tables.Open("PKSPL", {"PKSPL1"});
    ASSERT_TRUE(a.GoTop().ok());
    ASSERT_TRUE(a.Seek("ZASA").ok());
    ForceMemoryOnly(a);
    const Component forced = ReadComponent(a);
    EXPECT_EQ(forced.kind, 'A');
    EXPECT_TRUE(forced.off_list);
    EXPECT_FALSE(forced.print);
    EXPECT_EQ(forced.income_kind, "");
    EXPECT_FALSE(forced.benefit);
    EXPECT_TRUE(forced.insurance);  // not one of the forced fields

    ASSERT_TRUE(a.Seek("ZAS2").ok());
    ForceMemoryOnly(a);
    const Component kept = ReadComponent(a);
    EXPECT_EQ(kept.kind, 'K');
    EXPECT_TRUE(kept.print);
}

TEST_F(ComponentChecks, ANewComponentStartsOffTheListAndPrintsInItsCalculationOrder) {
    Make("PKSPL", {Row{{"SKLADN_PL", "NOWY"},
                       {"IL_MC_WST", "3"},
                       {"MC_WYP_LST", "T"},
                       {"SEKW_OBL", "7"},
                       {"TYLKO_MEM", "T"},
                       {"DRUK_", "T"},
                       {"TYTUL_WYP", "0001"},
                       {"ZASILEK_", "T"}}});
    dbf::WorkArea& a = tables.Open("PKSPL", {"PKSPL1"});
    ASSERT_TRUE(a.GoTop().ok());
    SetNewComponentDefaults(a);
    const Component fresh = ReadComponent(a);
    EXPECT_EQ(fresh.months_back, 0);
    EXPECT_FALSE(fresh.by_payment_month);
    EXPECT_EQ(fresh.order, 0);
    EXPECT_FALSE(fresh.memory_only);
    EXPECT_TRUE(fresh.off_list);
    EXPECT_FALSE(fresh.print);
    EXPECT_EQ(fresh.income_kind, "");
    EXPECT_FALSE(fresh.benefit);

    // The operator gives the order 120 and the print order follows it.
    ASSERT_TRUE(a.record().SetNumber(a.FieldIndex("SEKW_OBL"), 120).ok());
    ASSERT_TRUE(a.record().SetLogical(a.FieldIndex("DRUK_"), true).ok());
    CompleteNewComponent(a);
    const Component done = ReadComponent(a);
    EXPECT_EQ(done.print_order, 120);
    EXPECT_TRUE(done.print);
}

}  // namespace
}  // namespace kestrel::payroll
