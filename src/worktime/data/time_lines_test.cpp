#include "worktime/data/time_lines.h"

#include <gtest/gtest.h>

#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

using testing::WorkCompany;
using V = std::vector<std::string>;

TEST(TimeLines, ZeroHoursLeaveNoVisibleLineAndRewritingReusesTheRecord) {
    WorkCompany c;
    TimeLines lines(c.h.rt, c.tables, c.month);
    lines.Write("000001", "NORM", "", "01", 0, true);
    EXPECT_EQ(c.Lines(), (V{"000001 NORM 0.00*"}));
    EXPECT_FALSE(lines.HasLine("000001", "NORM"));
    EXPECT_TRUE(lines.LinesOf("000001").empty());

    lines.Write("000001", "NORM", "", "01", 160, true);
    EXPECT_EQ(c.Lines(), (V{"000001 NORM 160.00"}));
    EXPECT_TRUE(lines.HasLine("000001", "NORM"));

    // Deleted and entered again: the deleted record takes the new hours.
    EXPECT_EQ(lines.DeleteCode("000001", "NORM"), 1);
    lines.Write("000001", "NORM", "", "01", 8.5, true);
    EXPECT_EQ(c.Lines(), (V{"000001 NORM 8.50"}));
    const std::vector<TimeLine> got = lines.LinesOf("000001");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, "NORM");
    EXPECT_DOUBLE_EQ(got[0].hours, 8.5);
}

TEST(TimeLines, ALineReservedButNotAcceptedStaysDeletedAndIsReusedLater) {
    WorkCompany c;
    TimeLines lines(c.h.rt, c.tables, c.month);
    lines.Reserve("000001", "NORM", "");
    lines.area().Unlock();  // the operator left the hours with Esc
    EXPECT_EQ(c.Lines(), (V{"000001 NORM 0.00*"}));
    lines.Write("000001", "NORM", "", "01", 4, true);
    EXPECT_EQ(c.Lines(), (V{"000001 NORM 4.00"}));
}

TEST(TimeLines, OneLinePerCodeWithoutAccountsSeveralWithThem) {
    WorkCompany c;
    TimeLines lines(c.h.rt, c.tables, c.month);
    lines.Write("000001", "NORM", "501", "01", 10, false);
    lines.Write("000001", "NORM", "502", "01", 20, false);
    lines.Write("000002", "NORM", "", "01", 5, false);
    EXPECT_EQ(c.VisibleLines(),
              (V{"000001 NORM 501 10.00", "000001 NORM 502 20.00", "000002 NORM 5.00"}));
    EXPECT_TRUE(lines.HasLine("000001", "NORM", "502"));
    EXPECT_FALSE(lines.HasLine("000001", "NORM", "503"));

    // Deleting one account's line keeps the other.
    EXPECT_EQ(lines.DeleteLine("000001", "NORM", "501"), 1);
    EXPECT_EQ(c.VisibleLines(), (V{"000001 NORM 502 20.00", "000002 NORM 5.00"}));

    // Without accounts the code keeps only the line just written.
    lines.Write("000001", "NORM", "", "01", 7, true);
    EXPECT_EQ(c.VisibleLines(), (V{"000002 NORM 5.00", "000001 NORM 7.00"}));
    EXPECT_EQ(lines.LinesOf("000002").size(), 1u);
}

TEST(TimeLines, LinesOfOtherMonthsAndEmployeesAreNotTheEmployees) {
    WorkCompany c;
    c.Line("000001", "NORM", 1);
    c.Line("000012", "NORM", 2);
    TimeLines other(c.h.rt, c.tables, {2026, 4});
    other.Write("000001", "NADG", "", "01", 3, true);
    TimeLines lines(c.h.rt, c.tables, c.month);
    const std::vector<TimeLine> got = lines.LinesOf("000001");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_DOUBLE_EQ(got[0].hours, 1);
    EXPECT_FALSE(lines.HasLine("000001", "NADG"));
    lines.Write("000002", "DNOC", "", "01", 4, true);
    V all;
    for (const TimeLine& l : lines.AllLines()) all.push_back(l.number + " " + l.code);
    EXPECT_EQ(all, (V{"000001 NORM", "000002 DNOC", "000012 NORM"}));
    EXPECT_EQ(lines.DeleteCode("000001", "NORM"), 1);
    EXPECT_EQ(c.VisibleLines(), (V{"000012 NORM 2.00", "000001 NADG 3.00", "000002 DNOC 4.00"}));
}

TEST(TimeLines, TheBrigadeOfTheMonthIsCreatedChangedAndRemoved) {
    WorkCompany c;
    TimeLines lines(c.h.rt, c.tables, c.month);
    EXPECT_EQ(lines.Brigade("000001"), "");
    lines.SetBrigade("000001", "B1", "XYZ");
    EXPECT_EQ(lines.Brigade("000001"), "B1");
    lines.SetBrigade("000001", "B2", "XYZ");
    EXPECT_EQ(lines.Brigade("000001"), "B2");
    EXPECT_EQ(c.Records("PKBRYG", "BRYGADA_"), (V{"B2"}));
    EXPECT_EQ(c.Records("PKBRYG", "NAZWX_"), (V{"XYZ"}));
    EXPECT_EQ(TimeLines(c.h.rt, c.tables, {2026, 4}).Brigade("000001"), "");
    lines.SetBrigade("000001", "  ", "XYZ");
    EXPECT_EQ(lines.Brigade("000001"), "");
    // A brigade given again reuses the removed record.
    lines.SetBrigade("000001", "B3", "XYZ");
    EXPECT_EQ(c.Records("PKBRYG", "BRYGADA_"), (V{"B3"}));
}

}  // namespace
}  // namespace kestrel::worktime
