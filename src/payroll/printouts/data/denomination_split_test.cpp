#include "payroll/printouts/data/denomination_split.h"

#include <gtest/gtest.h>

#include "matrix_test_support.h"

namespace kestrel::payroll {
namespace {

TEST(Denominations, GreedySplitInGrosze) {
    struct Case {
        std::vector<int64_t> denominations;
        std::vector<double> net;  // employees' net pay
        std::vector<int64_t> counts;
    } cases[] = {
        // 0.30 in 0.10 coins: three, where 0.30 / 0.10 in floating point is 2.99...
        {{10}, {0.30}, {3}},
        // 0.30 = 20 + 10, 0.70 = 50 + 20, 0.90 = 50 + 20 + 20.
        {{50, 20, 10}, {0.30, 0.70, 0.90}, {2, 4, 1}},
        // Net pay of 0 or less takes no denomination.
        {{20000, 100}, {0, -150}, {0, 0}},
        // 388.80 takes one of each.
        {{20000, 10000, 5000, 2000, 1000, 500, 200, 100, 50, 20, 10},
         {388.80},
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        // What no denomination covers stays over.
        {{500}, {12.34}, {2}},
    };
    for (const Case& k : cases) {
        DenominationCounts counts(k.denominations);
        for (double n : k.net) counts.Add(ToGrosze(n));
        EXPECT_EQ(counts.counts, k.counts) << k.net[0];
    }
}

TEST(Denominations, ReadHighestFirstWithoutZeroOrDeleted) {
    testing::PrintCompany c;
    for (const char* v : {"0.1", "100", "0", "0.5", "200", "-5"}) c.Add("PKNOM", {{"NOMINAL_", v}});
    EXPECT_EQ(DenominationsHighestFirst(c.tables), (std::vector<int64_t>{20000, 10000, 50, 10}));
    testing::PayCompany bare;
    EXPECT_TRUE(DenominationsHighestFirst(bare.tables).empty());
}

}  // namespace
}  // namespace kestrel::payroll
