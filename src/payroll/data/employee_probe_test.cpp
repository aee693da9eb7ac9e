#include "payroll/data/employee_probe.h"

#include <gtest/gtest.h>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

using testing::Eval;
using testing::PayCompany;

struct Probe : ::testing::Test, PayCompany {
    Probe() {
        Component("ZASA", "K", 10);
        Component("PREM", "A", 20, "ZASA * 0.1");
        closed = List("2024", "A", 1, "01", "20240131", false);
        open = List("2024", "LP", 12, "02", "20240229");
        Position(closed, "000001", "ZASA", 4000);
        Position(open, "000001", "ZASA", 4200);
        Position(open, "000001", "PREM", 420);  // computed again by a run
    }
    PayrollList closed, open;
};

TEST_F(Probe, AListIsFoundByItsKeyWithOrWithoutTheBlanksOrAsTheOpenOne) {
    PayrollList l;
    for (const char* key : {"2024A    1", "2024A 1", "2024A1"}) {
        ASSERT_TRUE(FindProbeList(tables, key, &l)) << key;
        EXPECT_EQ(l.Key(), "2024A    1");
    }
    ASSERT_TRUE(FindProbeList(tables, "2024LP12", &l));
    EXPECT_EQ(l.month, "02");
    ASSERT_TRUE(FindProbeList(tables, "", &l));
    EXPECT_EQ(l.Key(), "2024LP  12");
    EXPECT_FALSE(FindProbeList(tables, "2024A 2", &l));
}

TEST_F(Probe, TheEmployeeIsSeenAsTheRunSeesHimBeforeHisFirstComponent) {
    PayrollHost host(h.rt, tables);
    std::vector<std::string> messages;
    std::string message;
    ASSERT_TRUE(LoadForProbe(host, "1", "", &messages, &message)) << message;
    EXPECT_EQ(Eval(host, "str(ZASA,7,2) + str(PREM,7,2) + PKPRAC->NR_PRAC + PKLISTY->TYP_LST"),
              "\"4200.00   0.00000001LP\"");
    PayrollHost old(h.rt, tables);
    ASSERT_TRUE(LoadForProbe(old, "000001", "2024A 1", &messages, &message)) << message;
    EXPECT_EQ(Eval(old, "ZASA"), "4000.00");
}

TEST_F(Probe, AMissingListOrEmployeeIsNamed) {
    std::vector<std::string> messages;
    std::string message;
    {
        PayrollHost host(h.rt, tables);
        EXPECT_FALSE(LoadForProbe(host, "000009", "", &messages, &message));
        EXPECT_EQ(message, "no employee 000009");
    }
    {
        PayrollHost host(h.rt, tables);
        EXPECT_FALSE(LoadForProbe(host, "000001", "2023A 1", &messages, &message));
        EXPECT_EQ(message, "no list 2023A 1");
    }
    // The open list closed: nothing is open any more.
    dbf::WorkArea& lists = tables.Open("PKLISTY", {"PKLISTY1"});
    ASSERT_TRUE(lists.Seek("2024LP  12").ok());
    tables.RLock(lists);
    ASSERT_TRUE(lists.record().SetLogical(lists.FieldIndex("WSK_AKTYWN"), false).ok());
    ASSERT_TRUE(lists.Commit().ok());
    lists.Unlock();
    tables.CloseAll();
    PayrollHost host(h.rt, tables);
    EXPECT_FALSE(LoadForProbe(host, "000001", "", &messages, &message));
    EXPECT_EQ(codepage::ToUtf8(message), "Brak aktywnej listy plac");
}

}  // namespace
}  // namespace kestrel::payroll
