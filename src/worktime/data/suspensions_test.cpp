#include "worktime/data/suspensions.h"

#include <gtest/gtest.h>

#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

using testing::WorkCompany;
using V = std::vector<std::string>;

base::Date D(int y, int m, int d) {
    return base::Date{y, m, d};
}

struct SuspensionCompany : WorkCompany {
    SuspensionCompany() : WorkCompany({"PKZAW"}) {}

    // Suspends `number` from `start` through the reservation, as the
    // dialog does.
    SuspendResult Suspend(Suspensions& zaw, const std::string& number, base::Date start,
                          const std::string& reason = "01") {
        if (!zaw.Reserve(number)) return SuspendResult::kAlreadySuspended;
        Suspension s;
        s.number = number;
        s.start = start;
        s.reason = reason;
        return zaw.Confirm(s);
    }

    // PKZAW in record order: "NR_PRAC DATA_ZAW-DATA_POWR", "*" after a
    // deleted record.
    V Stored() {
        V out;
        const V numbers = Records("PKZAW", "NR_PRAC");
        const V starts = Records("PKZAW", "DATA_ZAW");
        const V ends = Records("PKZAW", "DATA_POWR");
        for (size_t i = 0; i < numbers.size(); ++i) {
            std::string n = numbers[i];
            const bool deleted = !n.empty() && n.back() == '*';
            if (deleted) n.pop_back();
            auto plain = [](std::string v) {
                if (!v.empty() && v.back() == '*') v.pop_back();
                return v;
            };
            out.push_back(n + " " + plain(starts[i]) + "-" + plain(ends[i]) + (deleted ? "*" : ""));
        }
        return out;
    }
};

TEST(Suspensions, ASecondOpenSuspensionIsRefusedUntilTheLastDayIsRecorded) {
    SuspensionCompany c;
    Suspensions zaw(c.h.rt, c.tables);
    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 2)), SuspendResult::kDone);
    EXPECT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 20)), SuspendResult::kAlreadySuspended);
    // Another employee is not held up by it.
    EXPECT_EQ(c.Suspend(zaw, "000002", D(2026, 3, 5)), SuspendResult::kDone);

    const std::optional<Suspension> open = zaw.OpenOf("000001");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->start, D(2026, 3, 2));
    EXPECT_EQ(open->reason, "01");
    ASSERT_EQ(zaw.End(open->recno, D(2026, 3, 10)), SuspendResult::kDone);
    EXPECT_FALSE(zaw.OpenOf("000001"));
    // Ended once, it cannot be ended again.
    EXPECT_EQ(zaw.End(open->recno, D(2026, 3, 12)), SuspendResult::kNotSuspended);

    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 20)), SuspendResult::kDone);
    ASSERT_TRUE(zaw.OpenOf("000001"));
    EXPECT_EQ(zaw.OpenOf("000001")->start, D(2026, 3, 20));
    EXPECT_EQ(c.Stored(), (V{"000001 20260302-20260310", "000002 20260305-", "000001 20260320-"}));
    // By employee, the open suspension before the ended ones.
    V order;
    for (const Suspension& s : zaw.All())
        order.push_back(s.number + " " + base::DbfDateText(s.start));
    EXPECT_EQ(order, (V{"000001 20260320", "000001 20260302", "000002 20260305"}));
    EXPECT_EQ(zaw.All(true).size(), 2u);
}

// An entry the operator did not confirm, and a cancelled suspension, leave
// deleted records that the next entry of the employee takes again.
TEST(Suspensions, AnUnconfirmedOrCancelledRecordIsReusedSoTheTableDoesNotGrow) {
    SuspensionCompany c;
    Suspensions zaw(c.h.rt, c.tables);
    ASSERT_TRUE(zaw.Reserve("000001"));
    zaw.Release();
    EXPECT_FALSE(zaw.OpenOf("000001"));
    EXPECT_EQ(c.Stored(), V{"000001 -*"});

    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 2)), SuspendResult::kDone);
    EXPECT_EQ(c.Stored(), V{"000001 20260302-"});

    ASSERT_TRUE(zaw.Cancel(zaw.OpenOf("000001")->recno));
    EXPECT_EQ(c.Stored(), V{"000001 20260302-*"});
    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 9)), SuspendResult::kDone);
    EXPECT_EQ(c.Stored(), V{"000001 20260309-"});

    // Another employee's deleted record is not his.
    ASSERT_TRUE(zaw.Reserve("000002"));
    zaw.Release();
    EXPECT_EQ(c.Stored(), (V{"000001 20260309-", "000002 -*"}));
}

TEST(Suspensions, ASuspensionOfOneDayIsAcceptedAndALastDayBeforeTheStartIsNot) {
    SuspensionCompany c;
    Suspensions zaw(c.h.rt, c.tables);
    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 16)), SuspendResult::kDone);
    const uint32_t recno = zaw.OpenOf("000001")->recno;
    EXPECT_EQ(zaw.End(recno, D(2026, 3, 15)), SuspendResult::kBadPeriod);
    EXPECT_EQ(zaw.End(recno, base::Date{}), SuspendResult::kBadPeriod);
    EXPECT_TRUE(zaw.OpenOf("000001"));  // still open
    EXPECT_EQ(zaw.End(recno, D(2026, 3, 16)), SuspendResult::kDone);
    EXPECT_EQ(c.Stored(), V{"000001 20260316-20260316"});
}

// The rules of the dates, with the message each fault shows.
TEST(Suspensions, ThePeriodChecks) {
    struct Case {
        base::Date start, planned, last;
        PeriodFault fault;
    };
    const Case cases[] = {
        {D(2026, 3, 16), {}, {}, PeriodFault::kNone},
        {D(2026, 3, 16), D(2026, 3, 16), D(2026, 3, 16), PeriodFault::kNone},
        {D(2026, 3, 16), D(2026, 4, 30), {}, PeriodFault::kNone},
        {{}, D(2026, 4, 30), {}, PeriodFault::kNoStart},
        {D(2026, 3, 16), D(2026, 3, 15), {}, PeriodFault::kPlannedBeforeStart},
        {D(2026, 3, 16), {}, D(2026, 2, 28), PeriodFault::kLastDayBeforeStart},
    };
    for (const Case& k : cases) {
        Suspension s;
        s.start = k.start;
        s.planned_end = k.planned;
        s.last_day = k.last;
        EXPECT_EQ(CheckPeriod(s), k.fault)
            << base::DateText(k.start) << " " << base::DateText(k.planned) << " "
            << base::DateText(k.last);
    }
    EXPECT_EQ(PeriodFaultMessage(PeriodFault::kNone), "");
    EXPECT_EQ(PeriodFaultMessage(PeriodFault::kLastDayBeforeStart), "Data przed datą zawieszenia");
    EXPECT_TRUE(InMonth(D(2026, 3, 31), SettlementMonth{2026, 3}));
    EXPECT_FALSE(InMonth(D(2025, 3, 1), SettlementMonth{2026, 3}));
    EXPECT_FALSE(InMonth(base::Date{}, SettlementMonth{2026, 3}));
}

TEST(Suspensions, ACorrectionKeepsTheRulesAndOneOpenSuspension) {
    SuspensionCompany c;
    Suspensions zaw(c.h.rt, c.tables);
    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 2, 2)), SuspendResult::kDone);
    Suspension ended = *zaw.OpenOf("000001");
    ASSERT_EQ(zaw.End(ended.recno, D(2026, 2, 20)), SuspendResult::kDone);
    ASSERT_EQ(c.Suspend(zaw, "000001", D(2026, 3, 2)), SuspendResult::kDone);

    ended = *zaw.At(ended.recno);
    Suspension changed = ended;
    changed.start = D(2026, 2, 21);  // after its last day
    EXPECT_EQ(zaw.Correct(changed), SuspendResult::kBadPeriod);
    changed = ended;
    changed.last_day = {};  // open again beside the open one
    EXPECT_EQ(zaw.Correct(changed), SuspendResult::kAlreadySuspended);
    changed = ended;
    changed.reason = "02";
    changed.planned_end = D(2026, 2, 28);
    EXPECT_EQ(zaw.Correct(changed), SuspendResult::kDone);
    EXPECT_EQ(zaw.At(ended.recno)->reason, "02");
    EXPECT_EQ(zaw.At(ended.recno)->planned_end, D(2026, 2, 28));
    EXPECT_EQ(c.Stored(), (V{"000001 20260202-20260220", "000001 20260302-"}));

    ASSERT_TRUE(zaw.Cancel(ended.recno));
    EXPECT_FALSE(zaw.Cancel(ended.recno));
    EXPECT_EQ(zaw.Correct(ended), SuspendResult::kNotSuspended);
}

// Another workstation suspends the employee while this one is entering a
// suspension: the confirmation is refused, so he keeps one open suspension.
TEST(Suspensions, AConfirmationAfterAnotherWorkstationSuspendedTheEmployeeIsRefused) {
    SuspensionCompany c;
    common::Tables my_tables(c.h.rt);
    Suspensions mine(c.h.rt, my_tables);
    ASSERT_TRUE(mine.Reserve("000001"));
    c.tables.Open("PKZAW", {"PKZAW1"});  // the other workstation's index kept too
    c.Add("PKZAW", {{"NR_PRAC", "000001"}, {"DATA_ZAW", "20260303"}, {"PRZYCZ_ZAW", "01"}});
    Suspension s;
    s.number = "000001";
    s.start = D(2026, 3, 2);
    EXPECT_EQ(mine.Confirm(s), SuspendResult::kAlreadySuspended);
    EXPECT_EQ(mine.All(true).size(), 1u);
    EXPECT_EQ(mine.OpenOf("000001")->start, D(2026, 3, 3));
    EXPECT_EQ(c.Stored(), (V{"000001 -*", "000001 20260303-"}));
}

}  // namespace
}  // namespace kestrel::worktime
