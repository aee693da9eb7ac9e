#include "worktime/data/absence_rules.h"

#include <gtest/gtest.h>

namespace kestrel::worktime {
namespace {

TEST(AbsenceRules, LineNumberProposedAfterTheLastWrapsAt100) {
    EXPECT_EQ(ProposedLineNumber(0), 1);
    EXPECT_EQ(ProposedLineNumber(7), 8);
    EXPECT_EQ(ProposedLineNumber(98), 99);
    EXPECT_EQ(ProposedLineNumber(99), 1);  // line 100 is proposed as 1
}

TEST(AbsenceRules, DaysOverlapWhenAnEndLiesInsideOrOneRangeHoldsTheOther) {
    struct Case {
        int from, to, other_from, other_to;
        bool overlap;
    };
    const Case cases[] = {
        {10, 14, 10, 14, true}, {10, 14, 14, 20, true}, {10, 14, 1, 10, true},
        {10, 14, 11, 12, true}, {10, 14, 1, 31, true},  {10, 14, 15, 20, false},
        {10, 14, 1, 9, false},  {1, 1, 1, 1, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DaysOverlap(c.from, c.to, c.other_from, c.other_to), c.overlap)
            << c.from << "-" << c.to << " vs " << c.other_from << "-" << c.other_to;
}

TEST(AbsenceRules, CollisionNamesTheOtherMonthOnlyWhenItDiffers) {
    EXPECT_EQ(CollisionText({2026, 3, 4}, {2026, 3}), "Od-Do sprzeczne z poz.: 4");
    EXPECT_EQ(CollisionText({2026, 2, 12}, {2026, 3}), "Od-Do sprzeczne z: 2026.02  poz.:12");
    EXPECT_EQ(CollisionText({2025, 3, 1}, {2026, 3}), "Od-Do sprzeczne z: 2025.03  poz.: 1");
}

// Reporting months relative to the settlement month, with and without
// NAGLWPPM (previous) and NAGLMCWYP2 (two ahead), across year ends.
TEST(AbsenceRules, ReportingMonthTable) {
    struct Case {
        SettlementMonth settlement;
        int year, month;
        bool previous, two_ahead;
        bool accepted;
    };
    const Case cases[] = {
        {{2026, 6}, 2026, 6, false, false, true},    // the same month
        {{2026, 6}, 2026, 7, false, false, true},    // the next
        {{2026, 6}, 2026, 8, false, false, false},   // two later: only with NAGLMCWYP2
        {{2026, 6}, 2026, 8, false, true, true},     //
        {{2026, 6}, 2026, 9, true, true, false},     // three later: never
        {{2026, 6}, 2026, 5, false, false, false},   // the month before: only with NAGLWPPM
        {{2026, 6}, 2026, 5, true, false, true},     //
        {{2026, 6}, 2026, 4, true, true, false},     // two before: never
        {{2026, 1}, 2025, 12, true, false, true},    // December before a January
        {{2026, 1}, 2025, 12, false, true, false},   //
        {{2026, 2}, 2025, 12, true, true, false},    // December is two before February
        {{2026, 12}, 2027, 1, false, false, true},   // January after a December
        {{2026, 11}, 2027, 1, false, false, false},  // January two after November
        {{2026, 11}, 2027, 1, false, true, true},    //
        {{2026, 12}, 2027, 2, false, false, false},  // February after a December
        {{2026, 12}, 2027, 2, false, true, true},    //
        {{2026, 10}, 2027, 1, true, true, false},    //
        {{2026, 6}, 2026, 0, true, true, false},     // months outside 1-12
        {{2026, 6}, 2026, 13, true, true, false},    //
        {{2026, 12}, 2026, 13, true, true, false},   // not the "next" January
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportingMonthAccepted(c.settlement, c.year, c.month, {c.previous, c.two_ahead}),
                  c.accepted)
            << c.settlement.Text() << " -> " << c.year << "." << c.month << " previous "
            << c.previous << " two ahead " << c.two_ahead;
    EXPECT_EQ(NextMonth({2026, 12}).Text(), "2027-01");
    EXPECT_EQ(NextMonth({2026, 3}).Text(), "2026-04");
}

TEST(AbsenceRules, QuantityBoundsFollowTheUnitOfTheCode) {
    const QuantityBounds days(false, false, 31, 8);
    EXPECT_TRUE(days.QuantityFits(31));
    EXPECT_TRUE(days.QuantityFits(0));
    EXPECT_FALSE(days.QuantityFits(32));
    EXPECT_FALSE(days.QuantityFits(2.5));  // whole days
    EXPECT_FALSE(days.QuantityFits(-1));
    EXPECT_TRUE(days.Quantity2Fits(248));
    EXPECT_FALSE(days.Quantity2Fits(248.5));
    const QuantityBounds fractional(false, true, 30, 8);
    EXPECT_TRUE(fractional.QuantityFits(2.5));
    EXPECT_FALSE(fractional.QuantityFits(30.5));
    const QuantityBounds hours(true, false, 28, 7);
    EXPECT_TRUE(hours.QuantityFits(196));
    EXPECT_TRUE(hours.QuantityFits(3.5));
    EXPECT_FALSE(hours.QuantityFits(196.5));
}

TEST(AbsenceRules, AComputedEntryMustFitTheLine) {
    EXPECT_TRUE(FitsLine(5, 40, 1, 5, 31, 80));
    EXPECT_TRUE(FitsLine(999.999, 0, 0, 0, 31, 0));
    EXPECT_TRUE(FitsLine(-99.999, 0, 0, 0, 31, 0));
    EXPECT_FALSE(FitsLine(1000, 0, 0, 0, 31, 0));  // beyond N7.3
    EXPECT_FALSE(FitsLine(-100, 0, 0, 0, 31, 0));  //
    EXPECT_FALSE(FitsLine(1, 1000, 0, 0, 31, 0));  // second quantity likewise
    EXPECT_FALSE(FitsLine(1, 0, 1, 31, 30, 0));    // day 31 of a 30-day month
    EXPECT_FALSE(FitsLine(1, 0, 0, 5, 31, 0));     // first day 0 with a last day
    EXPECT_FALSE(FitsLine(1, 0, 6, 5, 31, 0));     // first after last
    EXPECT_FALSE(FitsLine(1, 0, 1, 5, 31, 1000));  // percentage
    EXPECT_FALSE(FitsLine(1, 0, 1, 5, 31, -1));    //
    EXPECT_FALSE(FitsLine(1, 0, 1, 5, 31, 80.5));  //
}

}  // namespace
}  // namespace kestrel::worktime
