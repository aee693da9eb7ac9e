#include "worktime/time_browse.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using testing::WorkCompany;

TEST(TimeBrowse, TheMonthsLinesByEmployeeWithTheSearchOfAnEmployee) {
    WorkCompany c;
    c.Employee("000001", "NOWAK");
    c.Employee("000002", "LIS");
    c.Code("NORM", "E", 1, "", "Godziny normalne");
    c.Line("000002", "NORM", 160);
    c.Line("000001", "NORM", 8.5);
    c.Line("000001", "ZZZZ", 1);  // a code PKROB lacks
    c.Add("PKCZAS", {{"ROK_", "2026"},
                     {"MIESIAC_", "4"},
                     {"NR_PRAC", "000001"},
                     {"KOD_OB", "NORM"},
                     {"ILOSC_GODZ", "99"}});  // another month
    std::vector<std::vector<std::string>> shots;
    std::vector<int> current_rows;  // the row whose employee cell is emphasised
    c.h.con.keyboard().Bind(key::F(11), [&] {
        std::vector<std::string> rows;
        for (int r = 9; r <= 12; ++r) rows.push_back(base::TrimRight(c.h.Row(r)));
        shots.push_back(rows);
        const size_t col = rows[0].find("000001");
        const auto& screen = c.h.con.screen();
        for (int r = 9; r <= 11; ++r) {
            int others = 0;
            for (int o = 9; o <= 11; ++o)
                if (!(screen.At(o, static_cast<int>(col)).attr ==
                      screen.At(r, static_cast<int>(col)).attr))
                    ++others;
            if (others == 2) current_rows.push_back(r);
        }
    });
    c.Keys({key::F(11), key::F(2), '2', key::kEnter, key::F(11), key::kEsc});
    BrowseWorkingTime(c.h.rt, c.tables);
    ASSERT_EQ(shots.size(), 2u);
    const auto& first = shots[0];
    EXPECT_NE(first[0].find("000001"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("NOWAK"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("Godziny nor"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("   8.50"), std::string::npos) << first[0];
    EXPECT_NE(first[1].find("Błędny kod "), std::string::npos) << first[1];
    EXPECT_NE(first[2].find("000002"), std::string::npos) << first[2];
    EXPECT_NE(first[2].find(" 160.00"), std::string::npos) << first[2];
    EXPECT_EQ(first[3].find("99.00"), std::string::npos) << first[3];
    // The current line stands out: the first, and after the search the
    // second employee's.
    EXPECT_EQ(current_rows, (std::vector<int>{9, 11}));
}

}  // namespace
}  // namespace kestrel::worktime
