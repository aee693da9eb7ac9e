#include "payroll/data/seniority.h"

#include <gtest/gtest.h>

#include "month_close_test_support.h"

namespace kestrel::payroll {
namespace {

using testing::CloseCompany;
using testing::ScriptedDialog;

// The control record with a seniority step of `step` years and 1.5 % more
// per step, and employees 000011... with the given seniority dates and 5 %.
struct SeniorityCompany : CloseCompany {
    SeniorityCompany(int year, int month, int step, const std::vector<std::string>& dates)
        : CloseCompany(year, month, {{"KROK_DOD_S", std::to_string(step)}, {"PR_DOD_S", "1.5"}}) {
        int n = 11;
        for (const std::string& d : dates)
            Add("PKPRAC", {{"NR_PRAC", "0000" + std::to_string(n++)},
                           {"NAZWX_", "Staż"},
                           {"DATA_STAZ", d},
                           {"DOD_STAZ", "5"}});
        tables.CloseAll();
    }
};

std::vector<std::string> Stored(CloseCompany& c, const std::string& field) {
    c.tables.CloseAll();
    std::vector<std::string> out;
    for (const std::string& v : c.Records("PKPRAC", field)) out.push_back(base::Trim(v));
    return out;
}

// Due: the date moved by the step falls in or before the new month (year
// and month compared); the day and month stay, 29 February becomes 28
// February in a common year.
TEST(Seniority, TheStepMovesDueDatesAndRaisesTheAllowance) {
    SeniorityCompany c(2027, 1, 3, {"20240229", "20240301", "20240215", "", "20231231"});
    const SeniorityPlan plan = PlanSeniority(c.h.rt, c.tables, {2027, 2}, 3, 1.5);
    ASSERT_EQ(plan.error, "");
    ASSERT_EQ(plan.changes.size(), 3u);
    EXPECT_EQ(plan.changes[0].number, "000011");
    EXPECT_EQ(plan.changes[0].date_after, (base::Date{2027, 2, 28}));
    EXPECT_EQ(plan.changes[1].number, "000013");
    EXPECT_EQ(plan.changes[2].number, "000015");
    EXPECT_EQ(plan.changes[2].date_after, (base::Date{2026, 12, 31}));
    EXPECT_DOUBLE_EQ(plan.changes[2].percent_after, 6.5);
    ApplySeniority(c.h.rt, c.tables, plan);
    // The two employees of the company itself come first (no dates).
    EXPECT_EQ(Stored(c, "DATA_STAZ"), (std::vector<std::string>{"", "", "20270228", "20240301",
                                                                "20270215", "", "20261231"}));
    EXPECT_EQ(Stored(c, "DOD_STAZ"),
              (std::vector<std::string>{"", "", "6.5", "5.0", "6.5", "5.0", "6.5"}));
}

// A date that even two steps later falls in or before the new month is
// wrong; it is found before any employee is changed, also when an employee
// who is due comes first.
TEST(Seniority, ADateTwoStepsBehindStopsBeforeAnyChange) {
    SeniorityCompany c(2026, 12, 2, {"20241201", "20221231", "20230115"});
    ScriptedDialog d;
    const CloseResult r = RunMonthClose(c.h.rt, c.tables, {2027, 1}, {}, d);
    EXPECT_EQ(r.outcome, CloseOutcome::kRefused);
    EXPECT_EQ(ScriptedDialog::U(r.message), "Błędna data \"stażowa\": 2022-12-31");
    EXPECT_EQ(Stored(c, "DATA_STAZ"),
              (std::vector<std::string>{"", "", "20241201", "20221231", "20230115"}));
    EXPECT_EQ(c.Month(), "2026.12");
}

TEST(Seniority, CountTexts) {
    CloseCompany c(2026, 12);
    const std::pair<int, const char*> cases[] = {
        {1, "Skorygowano 1 dodatek stażowy"},        {2, "Skorygowano 2 dodatki stażowe"},
        {4, "Skorygowano 4 dodatki stażowe"},        {5, "Skorygowano   5 dodatków stażowych"},
        {12, "Skorygowano  12 dodatków stażowych"},  {0, "Skorygowano   0 dodatków stażowych"},
        {125, "Skorygowano 125 dodatków stażowych"},
    };
    for (const auto& [n, text] : cases)
        EXPECT_EQ(ScriptedDialog::U(SeniorityCountText(c.h.rt, n)), text) << n;
}

// The close changes the allowances only when the new month is the next
// one, reports the count and the changes before and after, and a second
// close of the next month does not raise them again.
TEST(Seniority, TheCloseOfTheNextMonthReportsTheChanges) {
    SeniorityCompany c(2026, 12, 5, {"20220115", "20220201", "20211210"});
    ScriptedDialog d;
    ASSERT_EQ(RunMonthClose(c.h.rt, c.tables, {2027, 1}, {}, d).outcome, CloseOutcome::kDone);
    EXPECT_NE(std::find(d.seen.begin(), d.seen.end(), "# Skorygowano 2 dodatki stażowe"),
              d.seen.end());
    ASSERT_EQ(d.report.size(), 3u);  // the heading and two lines
    EXPECT_EQ(d.report[1], "000011 Staż                     2022-01-15   5.0  -> 2027-01-15   6.5");
    EXPECT_EQ(Stored(c, "DATA_STAZ"),
              (std::vector<std::string>{"", "", "20270115", "20220201", "20261210"}));

    ScriptedDialog again;
    EXPECT_EQ(c.Field("AKT_ZUS"), "F");  // the new month's absences were made again
    c.InsuranceDone();
    ASSERT_EQ(RunMonthClose(c.h.rt, c.tables, {2027, 2}, {}, again).outcome, CloseOutcome::kDone);
    EXPECT_NE(std::find(again.seen.begin(), again.seen.end(), "# Skorygowano 1 dodatek stażowy"),
              again.seen.end());
    EXPECT_EQ(Stored(c, "DOD_STAZ"), (std::vector<std::string>{"", "", "6.5", "6.5", "6.5"}));

    // A month further than the next one changes nothing.
    ScriptedDialog jump;
    c.InsuranceDone();
    ASSERT_EQ(RunMonthClose(c.h.rt, c.tables, {2032, 2}, {}, jump).outcome, CloseOutcome::kDone);
    EXPECT_EQ(Stored(c, "DOD_STAZ"), (std::vector<std::string>{"", "", "6.5", "6.5", "6.5"}));
}

}  // namespace
}  // namespace kestrel::payroll
