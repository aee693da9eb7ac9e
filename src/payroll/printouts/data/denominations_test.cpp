#include "payroll/printouts/data/denominations.h"

#include <gtest/gtest.h>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

TEST(Denominations, OutOfOrderTableIsSortedDescending) {
    testing::PayCompany c;
    c.Make("PKNOM");
    for (const char* v : {"50", "0.1", "200", "5", "0.2"}) c.Add("PKNOM", {{"NOMINAL_", v}});
    // A deleted record keeps its place and its value.
    c.Add("PKNOM", {{"NOMINAL_", "1000"}});
    dbf::WorkArea& a = *c.tables.workspace().Find("PKNOM");
    ASSERT_TRUE(a.RLock().ok());
    ASSERT_TRUE(a.Delete().ok());
    EXPECT_EQ(ReadDenominations(c.tables), (std::vector<int64_t>{5000, 10, 20000, 500, 20}));
    EXPECT_TRUE(SortDenominations(c.tables));
    EXPECT_EQ(ReadDenominations(c.tables), (std::vector<int64_t>{20000, 5000, 500, 20, 10}));
    EXPECT_FALSE(SortDenominations(c.tables)) << "in order: nothing to do";
    c.tables.CloseAll();
    std::vector<std::string> stored = c.Records("PKNOM", "NOMINAL_");
    for (std::string& v : stored) v = base::Trim(v);
    EXPECT_EQ(stored,
              (std::vector<std::string>{"200.00", "50.00", "5.00", "0.20", "0.10", "1000.00*"}));
}

TEST(Denominations, ValuesMustBePositiveAndFitTheField) {
    EXPECT_FALSE(ValidDenomination(0));
    EXPECT_FALSE(ValidDenomination(-100));
    EXPECT_TRUE(ValidDenomination(1));
    EXPECT_TRUE(ValidDenomination(999999999));
    EXPECT_FALSE(ValidDenomination(1000000000));
    testing::PayCompany bare;
    EXPECT_TRUE(ReadDenominations(bare.tables).empty());
    EXPECT_FALSE(SortDenominations(bare.tables));
}

}  // namespace
}  // namespace kestrel::payroll
