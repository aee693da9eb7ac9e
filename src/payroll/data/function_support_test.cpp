#include "payroll/data/function_support.h"

#include <gtest/gtest.h>

#include "common/checks/scramble.h"
#include "test_company.h"

namespace kestrel::payroll {
namespace {

using registry::testing::Row;

TEST(Mask, MatchesPositionByPositionWithQuestionMarksAndAStar) {
    struct Case {
        const char* mask;
        const char* symbol;
        bool matches;
    };
    // The examples of the function descriptions, and the edges of padding.
    const Case cases[] = {
        {"A*", "AB12", true},   {"A*", "A   ", true},   {"A*", "BA  ", false},
        {"A?1", "AB1 ", true},  {"A?1", "AB12", false}, {"a?1", "AB1", true},
        {"B100", "B100", true}, {"B1", "B1  ", true},   {"B1", "B100", false},
        {"*", "ZZZZ", true},    {"?", "X   ", true},    {"?", "XY  ", false},
        {"B1*", "B1  ", true},  {"B1*", "B2X ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Mask(c.mask).Matches(c.symbol), c.matches) << c.mask << " " << c.symbol;
    EXPECT_TRUE(Mask("B100").single());
    EXPECT_FALSE(Mask("B1*").single());
    EXPECT_EQ(Mask("B1*").text(), "B1??");
}

struct Groups : ::testing::Test, registry::testing::TestCompany {
    static std::string Pesel(const char* clear) {
        return common::Scramble(common::ScrambleKind::kIdentity, clear, 34);
    }
};

TEST_F(Groups, RecordsWithOneIdentityNumberFormOneGroupAndAnEmptyNumberIsAlone) {
    Make("PKPRAC", {Row{{"NR_PRAC", "000001"}, {"PESELX_", Pesel("80010112345")}},
                    Row{{"NR_PRAC", "000002"}, {"PESELX_", Pesel("90020254321")}},
                    Row{{"NR_PRAC", "000003"}, {"PESELX_", Pesel("80010112345")}},
                    Row{{"NR_PRAC", "000004"}}, Row{{"NR_PRAC", "000005"}}});
    const PeselGroups groups(tables);
    EXPECT_EQ(groups.Of("000001"), (std::vector<std::string>{"000001", "000003"}));
    EXPECT_EQ(groups.Of("000003"), (std::vector<std::string>{"000003", "000001"}));
    EXPECT_EQ(groups.Of("000002"), (std::vector<std::string>{"000002"}));
    // Two records without a number are not one person.
    EXPECT_EQ(groups.Of("000004"), (std::vector<std::string>{"000004"}));
    EXPECT_EQ(groups.Of("999999"), (std::vector<std::string>{"999999"}));
    EXPECT_EQ(groups.IdentityOf("000003"), "80010112345");
    EXPECT_EQ(groups.IdentityOf("000004"), "");
}

TEST_F(Groups, AFunctionLeavesTheAreasItTouchedAndTheSelectionAsItFoundThem) {
    Make("PKPRAC", {Row{{"NR_PRAC", "000002"}}, Row{{"NR_PRAC", "000001"}}});
    Make("PKSTER");
    dbf::WorkArea& prac = tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC2"});
    tables.Open("PKSTER");
    ASSERT_TRUE(prac.SetOrder(2).ok());
    ASSERT_TRUE(prac.Goto(2).ok());
    const int selected = tables.workspace().current_number();
    {
        AreasAsFound guard(tables.workspace());
        guard.Touch(prac);
        guard.Touch(prac);  // a second touch keeps the first state
        ASSERT_TRUE(prac.SetOrder(1).ok());
        ASSERT_TRUE(prac.Goto(1).ok());
        tables.workspace().Select("PKPRAC");
    }
    EXPECT_EQ(prac.order(), 2);
    EXPECT_EQ(prac.recno(), 2u);
    EXPECT_EQ(tables.workspace().current_number(), selected);
}

TEST_F(Groups, AnAreaOpenedAgainMeanwhileIsNotTheOneTheGuardPutsBack) {
    Make("PKPRAC", {Row{{"NR_PRAC", "000002"}}, Row{{"NR_PRAC", "000001"}}});
    dbf::WorkArea* prac = &tables.Open("PKPRAC", {"PKPRAC1"});
    ASSERT_TRUE(prac->Goto(2).ok());
    {
        AreasAsFound guard(tables.workspace());
        guard.Touch(prac);
        // The table opened again under its alias: the area found is gone.
        prac = &tables.Open("PKPRAC", {"PKPRAC1"});
        ASSERT_TRUE(prac->Goto(1).ok());
    }
    EXPECT_EQ(prac->recno(), 1u);
}

}  // namespace
}  // namespace kestrel::payroll
