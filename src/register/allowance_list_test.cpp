#include "register/allowance_list.h"

#include <gtest/gtest.h>

#include "registration_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Cp;
using testing::Desk;
using testing::Utf;

struct Lists : Desk {
    ListEnd Allowances(std::string_view script, bool update = false) {
        Script(script);
        AllowanceListOptions o;
        o.update = update;
        const ListEnd end = EditAllowances(h.rt, *tables, *areas.dod, "000007", o);
        EXPECT_TRUE(h.backend.exhausted());
        return end;
    }
    std::vector<Allowance> Stored() { return ReadAllowances(*areas.dod, "000007"); }
};

TEST(AllowanceList, OverlappingMonthRangesOfOneSymbolCollide) {
    Lists c;
    // Line 1: 2024/01-2024/06. Line 2 asks 2024/06-2024/12, which collides;
    // the range is asked again from its start and moved to 2024/07.
    EXPECT_EQ(c.Allowances("{Enter}DODAT20240120240610000{Enter}"
                           "{Enter}DODA202406202412{screen collision}{Enter}"
                           "20240720241220000{Enter}{F10}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("collision").find("Kolizja zakresów miesięcy"), std::string::npos)
        << c.ScreenFile("collision");
    const std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from_month, 1);
    EXPECT_EQ(lines[0].to_month, 6);
    EXPECT_DOUBLE_EQ(lines[0].value, 10000);
    EXPECT_EQ(lines[1].from_year, 2024);
    EXPECT_EQ(lines[1].from_month, 7);
    EXPECT_EQ(lines[1].to_month, 12);
}

TEST(AllowanceList, AdjacentRangesAreAcceptedAndTheSecondLineIsForcedTimed) {
    Lists c;
    // The second DODA line never offers "Czasowy?": the first is timed.
    EXPECT_EQ(c.Allowances("{Enter}DODAT20240120240510000{Enter}"
                           "{Enter}DODA20240620241220000{Enter}{F10}"),
              ListEnd::kDone);
    const std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].timed);
    EXPECT_EQ(lines[1].from_month, 6);
    EXPECT_EQ(lines[1].to_year, 2024);
}

TEST(AllowanceList, UnknownAndGloballyDuplicatedSymbolsAreRefused) {
    Lists c;
    EXPECT_EQ(c.Allowances("{Enter}PREMN5{Enter}"
                           "{Enter}XYZ{Enter}{screen unknown}{Enter}"
                           "{Ctrl+Y}PREM{screen duplicated}{Enter}{F10}"
                           "{F10}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("unknown").find("Błędny symbol dodatku"), std::string::npos)
        << c.ScreenFile("unknown");
    EXPECT_NE(c.ScreenFile("duplicated").find("Zdublowany \"globalny\" symbol"), std::string::npos)
        << c.ScreenFile("duplicated");
    ASSERT_EQ(c.Stored().size(), 1u);
}

TEST(AllowanceList, FlagsAmountsAndPercentsAndDeletionInTheUpdate) {
    Lists c;
    EXPECT_EQ(c.Allowances("{Enter}KAS{Enter}NT{Enter}PREMN7.5{Enter}{F10}"), ListEnd::kDone);
    std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].value, 1);  // a yes/no kind is stored as 1
    EXPECT_DOUBLE_EQ(lines[1].value, 7.5);
    // F8 on line 1 after "t" removes it; Esc leaves the list.
    EXPECT_EQ(c.Allowances("{Ctrl+Y}1{F8}{screen ask}t{Esc}", true), ListEnd::kEscape);
    EXPECT_NE(c.ScreenFile("ask").find("Kasować symbol \"KAS\" ?"), std::string::npos)
        << c.ScreenFile("ask");
    lines = c.Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].symbol, "PREM");
}

TEST(AllowanceList, F3PicksTheSymbolFromTheDictionary) {
    Lists c;
    EXPECT_EQ(c.Allowances("{Enter}{F3}{screen picker}{Enter}T20240120241210{Enter}{F10}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("picker").find("KAS"), std::string::npos) << c.ScreenFile("picker");
    const std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].symbol, "DODA");
    EXPECT_TRUE(lines[0].timed);
}

TEST(AllowanceList, SymbolShape) {
    for (const char* ok : {"A", "PREM", "A1  ", "Z99"})
        EXPECT_TRUE(AllowanceSymbolWellFormed(ok)) << ok;
    for (const char* bad : {"", "    ", "1ABC", "prem", "A-1", " ABC", "A B"})
        EXPECT_FALSE(AllowanceSymbolWellFormed(bad)) << bad;
}

}  // namespace
}  // namespace kestrel::registry
