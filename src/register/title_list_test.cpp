#include "register/title_list.h"

#include <gtest/gtest.h>

#include "registration_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Cp;
using testing::Desk;
using testing::Utf;

struct Titles : Desk {
    EmployeeRecord employee;
    Titles() {
        employee = EmployeeRecord::Blank(prac());
        employee.set_number("000007");
        employee.SetText("TYTUL_PODM", "0110");
        employee.SetDate("DATA_ZATR", "20200101");
    }
    ListEnd Edit(std::string_view script) {
        Script(script);
        const ListEnd end = EditTitles(h.rt, *tables, *areas.ktyub, employee, 16);
        EXPECT_TRUE(h.backend.exhausted());
        return end;
    }
    std::vector<InsuranceTitle> Stored() { return ReadTitles(*areas.ktyub, "000007"); }
};

TEST(TitleList, MainTitleWithinTheEmploymentIsADuplicate) {
    Titles c;
    EXPECT_EQ(c.Edit("{screen open}011020210101{Enter}{screen duplicate}{Enter}"
                     "{Ctrl+Y}041120210101{Enter}{Enter}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("open").find("0110   Pracownik"), std::string::npos)
        << c.ScreenFile("open");
    EXPECT_NE(c.ScreenFile("duplicate").find("Zdublowany tytuł ubezpieczenia"), std::string::npos)
        << c.ScreenFile("duplicate");
    const std::vector<InsuranceTitle> t = c.Stored();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].title, "0411");
    EXPECT_EQ(t[0].to, "");
}

TEST(TitleList, MainTitleBeforeTheEmploymentOrAfterTheDismissalIsNoDuplicate) {
    Titles c;
    c.employee.SetDate("DATA_ZWOLN", "20221231");
    c.employee.SetText("PRZYCZ_ZW", "01");
    // The main title runs to the day after the dismissal: 2023-01-01.
    EXPECT_EQ(MainTitleOf(c.employee).to, "20230101");
    EXPECT_EQ(c.Edit("01102019010120191231011020230102{Enter}{Enter}"), ListEnd::kDone);
    ASSERT_EQ(c.Stored().size(), 2u);
}

TEST(TitleList, ALongListScrollsWithTheLineBeingTypedOnTheLastRow) {
    Titles c;
    for (int line = 1; line <= 6; ++line) {
        InsuranceTitle t;
        t.line = line;
        t.title = "0411";
        t.from = "20210" + std::to_string(line) + "01";
        t.to = "20210" + std::to_string(line) + "10";
        WriteTitle(*c.tables, *c.areas.ktyub, "000007", t);
    }
    std::string keys;
    for (int line = 1; line <= 6; ++line) keys += "{Enter}{Enter}{Enter}";
    EXPECT_EQ(c.Edit(keys + "{screen scrolled}{Esc}"), ListEnd::kEscape);
    std::vector<std::string> rows;
    std::stringstream ss(c.ScreenFile("scrolled"));
    for (std::string row; std::getline(ss, row);) rows.push_back(row);
    ASSERT_EQ(rows.size(), 25u);
    // Rows 16-19 hold lines 3-6, row 20 the new line 7.
    EXPECT_NE(rows[16].find(" 3  0411"), std::string::npos) << c.ScreenFile("scrolled");
    EXPECT_NE(rows[19].find(" 6  0411   Zleceniobiorca"), std::string::npos);
    EXPECT_NE(rows[20].find(" 7 "), std::string::npos);
    EXPECT_EQ(c.ScreenFile("scrolled").find(" 2  0411"), std::string::npos);
    EXPECT_EQ(c.Stored().size(), 6u);
}

TEST(TitleList, AnEmptyTitleEndsTheListAndDeletesTheLinesFromIt) {
    Titles c;
    for (int line = 1; line <= 3; ++line) {
        InsuranceTitle t;
        t.line = line;
        t.title = "0411";
        t.from = "2021010" + std::to_string(line);
        t.to = "2021010" + std::to_string(line);
        WriteTitle(*c.tables, *c.areas.ktyub, "000007", t);
    }
    // Line 1 is taken as it stands, line 2 emptied: lines 2 and 3 go.
    EXPECT_EQ(c.Edit("{Enter}{Enter}{Enter}{Ctrl+Y}{Enter}"), ListEnd::kDone);
    const std::vector<InsuranceTitle> t = c.Stored();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].from, "20210101");
    // Esc leaves the list at once.
    EXPECT_EQ(c.Edit("{Esc}"), ListEnd::kEscape);
}

}  // namespace
}  // namespace kestrel::registry
