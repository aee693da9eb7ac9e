#include "payroll/printouts/denominations_screen.h"

#include <gtest/gtest.h>

#include "payroll/printouts/data/denominations.h"
#include "payroll_company.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

// A table found out of order is shown sorted; a value of 0 is refused, a
// new value and a changed one take their places in the order, a deletion
// confirmed removes the record.
TEST(DenominationsScreen, KeptInDescendingOrder) {
    testing::PayCompany c;
    c.Make("PKNOM", {{{"NOMINAL_", "10"}}, {{"NOMINAL_", "100"}}, {{"NOMINAL_", "1"}}});
    std::vector<std::string> shown;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        std::string rows;
        for (int r = 9; r <= 13; ++r) rows += base::Trim(c.h.At(r, 30, 21)) + "|";
        shown.push_back(rows);
    });
    c.Keys({key::F(11),
            // a new value: 0 refused, then 20
            key::kIns, '0', key::kEnter, key::F(12), key::kEnter, key::Ctrl('y'), '2', '0',
            key::kEnter, key::F(11),
            // the first row (100) changed to 5
            key::kEnter, key::Ctrl('y'), '5', key::kEnter, key::F(11),
            // the first row (20) deleted after a declined question
            key::kDel, 'n', key::kDel, 't', key::F(11), key::kEsc});
    EditDenominations(c.h.rt, c.tables);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błędna wartość"}));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0], "100,00|10,00|1,00|||");
    EXPECT_EQ(shown[1], "100,00|20,00|10,00|1,00||");
    EXPECT_EQ(shown[2], "20,00|10,00|5,00|1,00||");
    EXPECT_EQ(shown[3], "10,00|5,00|1,00|||");
    EXPECT_EQ(ReadDenominations(c.tables), (std::vector<int64_t>{1000, 500, 100}));
}

}  // namespace
}  // namespace kestrel::payroll
