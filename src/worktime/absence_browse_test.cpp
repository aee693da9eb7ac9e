#include "worktime/absence_browse.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using testing::WorkCompany;

struct AbsenceCompany : WorkCompany {
    AbsenceCompany() : WorkCompany({"PKNIEOB"}) {}

    void Absence(const std::string& number, int lp, const std::string& code, int entered_month,
                 int cal_month, int from, int to, double qty, double qty2) {
        Add("PKNIEOB", {{"ROK_", "2026"},
                        {"MIESIAC_", std::to_string(entered_month)},
                        {"LP_", std::to_string(lp)},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"ROK_KAL", "2026"},
                        {"MC_KAL", std::to_string(cal_month)},
                        {"DZ_ROZP", std::to_string(from)},
                        {"DZ_ZAK", std::to_string(to)},
                        {"ILOSC_", std::to_string(qty)},
                        {"ILOSC_2", std::to_string(qty2)},
                        {"ROK_ZUS", "2026"},
                        {"MC_ZUS", std::to_string(entered_month)}});
    }
};

TEST(AbsenceBrowse, TheMonthsLinesByEmployeeAndLineWithTheSearchOfAnEmployee) {
    AbsenceCompany c;
    c.Employee("000001", "NOWAK");
    c.Employee("000002", "LIS");
    c.Add("PKRNB", {{"KOD_NIEOB", "UW"}, {"NAZWA_", "Urlop wypoczynkowy"}, {"TYP_", "U"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "CH"}, {"NAZWA_", "Choroba 80%"}, {"TYP_", "Z"}});
    c.Absence("000002", 1, "UW", 3, 3, 9, 13, 5, 40);
    c.Absence("000001", 2, "UW", 3, 3, 23, 24, 2, 16);
    c.Absence("000001", 1, "CH", 3, 2, 25, 28, 4, 0);  // runs on from February
    c.Absence("000001", 1, "CH", 2, 2, 20, 24, 5, 0);  // entered in February
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
    BrowseAbsences(c.h.rt, c.tables);
    ASSERT_EQ(shots.size(), 2u);
    const auto& first = shots[0];
    // Employee 000001's lines in line order: the sickness from February
    // first, with its calendar month and days.
    EXPECT_NE(first[0].find("000001"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("NOWAK"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("CH"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("Choroba"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("2026.02"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("25-28"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("  4.000"), std::string::npos) << first[0];
    EXPECT_NE(first[0].find("2026.03"), std::string::npos) << first[0];  // reporting month
    EXPECT_NE(first[1].find("Urlop w"), std::string::npos) << first[1];
    EXPECT_NE(first[1].find(" 16.000"), std::string::npos) << first[1];
    EXPECT_NE(first[2].find("000002"), std::string::npos) << first[2];
    EXPECT_NE(first[2].find("LIS"), std::string::npos) << first[2];
    EXPECT_NE(first[2].find("09-13"), std::string::npos) << first[2];
    // February's own line is not the month's.
    EXPECT_EQ(first[3].find("20-24"), std::string::npos) << first[3];
    // After the search the second employee's line is the current one.
    EXPECT_EQ(current_rows, (std::vector<int>{9, 11}));
}

}  // namespace
}  // namespace kestrel::worktime
