#include "worktime/printouts/data/attendance_list.h"

#include <gtest/gtest.h>

#include "worktime/printouts/data/report_test_support.h"

namespace kestrel::worktime {
namespace {

using memfile::MemValue;
using testing::Contains;
using testing::LineStarting;
using testing::ReportCompany;

class AttendanceListTest : public ::testing::Test {
  protected:
    std::vector<std::vector<std::string>> List(const MonthReport& r) {
        return c.Pages([&](printing::PrintOutput& out) { PrintAttendanceList(c.h.rt, out, r); });
    }
    // The text of the cell of `day` in a row of cells (days 1-16 or 17-31).
    // Columns count in the printer's bytes, not in UTF-8.
    static std::string Cell(const std::string& row, int day) {
        const size_t at = 35 + static_cast<size_t>((day - 1) % 16) * 6;
        return codepage::ToUtf8(codepage::FromUtf8(row).substr(at, 6));
    }
    ReportCompany c;
};

TEST_F(AttendanceListTest, CellsHoldTheAbsencesTheFreeDaysAndRoomToSign) {
    const auto pages = List(c.Read(ReportCompany::March()));
    ASSERT_EQ(pages.size(), 1u);
    const auto& p = pages[0];
    EXPECT_TRUE(Contains(p, "LISTA OBECNOŚCI - marzec 2026"));
    size_t at = 0;
    while (at < p.size() && p[at].rfind("  1 000001 Żółkiewski Stanisław", 0) != 0) ++at;
    ASSERT_LT(at + 2, p.size());
    const std::string first = p[at];
    EXPECT_EQ(Cell(first, 1), "| N   ");
    EXPECT_EQ(Cell(first, 2), "| UW  ");
    EXPECT_EQ(Cell(first, 4), "|     ");
    EXPECT_EQ(Cell(first, 7), "| W   ");
    EXPECT_EQ(Cell(first, 16), "| CH  ");
    EXPECT_EQ(first.substr(first.size() - 1), "|");
    // The second row: days 17-31, then the days of absence (2 + 5).
    const std::string second = p[at + 1];
    EXPECT_EQ(Cell(second, 17), "| CH  ");
    EXPECT_EQ(Cell(second, 21), "| W   ");
    EXPECT_EQ(Cell(second, 31), "|     ");
    EXPECT_EQ(second.substr(35 + 15 * 6), "| Nb.:  7");
    EXPECT_EQ(p[at + 2], std::string(35 + 16 * 6 + 1, '-'));
    // The day numbers head the cells.
    EXPECT_EQ(Cell(LineStarting(p, "Lp. Nr"), 16), "| 16  ");
    // Dismissed on 15 March: no room to sign after it.
    at = 0;
    while (at < p.size() && p[at].rfind("  3 000006 Odchodzi Ewa", 0) != 0) ++at;
    ASSERT_LT(at + 1, p.size());
    EXPECT_EQ(Cell(p[at], 13), "|     ");
    EXPECT_EQ(Cell(p[at], 16), "| -   ");
    EXPECT_EQ(Cell(p[at + 1], 31), "| -   ");
}

TEST_F(AttendanceListTest, TheMarksAndTheCodesShownAreExplained) {
    const auto pages = List(c.Read(ReportCompany::March()));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(LineStarting(pages[0], "CH "), "CH    Zwolnienie chorobowe");
    EXPECT_EQ(LineStarting(pages[0], "NG "), "NG    Nieobecność godzinowa");
    EXPECT_EQ(LineStarting(pages[0], "UW "), "UW    Urlop wypoczynkowy");
    EXPECT_TRUE(Contains(pages[0], "N - niedziela   S - święto   W - dzień wolny"));
}

TEST_F(AttendanceListTest, ExtraRowsUnderEachEmployeeAndPagesThatNeverSplitOne) {
    for (int i = 10; i < 40; ++i)
        c.Add("PKPRAC", {{"NR_PRAC", "0000" + std::to_string(i)}, {"GRUPA_KAL", "01"}});
    c.tables.CloseAll();
    c.h.rt.config().Set("NAGLDLN385", MemValue::Numeric(2, 2, 0));
    const auto pages = List(c.Read(ReportCompany::March()));
    // 33 employees of 2 + 2 + 1 rows, 46 rows a page with 8 of header.
    ASSERT_EQ(pages.size(), 5u);
    for (size_t n = 0; n < pages.size(); ++n) {
        const auto& p = pages[n];
        EXPECT_LE(p.size(), static_cast<size_t>(kListRows));
        EXPECT_TRUE(Contains(p, "Str.   " + std::to_string(n + 1)));
        EXPECT_TRUE(Contains(p, "Lp. Nr     Nazwisko i imię"));
        for (size_t i = 0; i < p.size(); ++i) {
            if (p[i].size() < 11 || p[i].substr(3, 1) != " " || p[i][4] != '0') continue;
            // An employee's rows of cells, the two extra ones and the rule.
            ASSERT_LT(i + 4, p.size()) << p[i];
            EXPECT_NE(p[i + 1].find("Nb.:"), std::string::npos);
            EXPECT_EQ(p[i + 2].substr(0, 35), std::string(35, ' '));
            EXPECT_EQ(Cell(p[i + 2], 1), "|     ");
            EXPECT_EQ(Cell(p[i + 3], 16), "|     ");
            EXPECT_EQ(p[i + 4][0], '-');
        }
    }
    EXPECT_TRUE(Contains(pages.back(), " 33 000039"));
}

TEST_F(AttendanceListTest, LandscapeAndSeventeenCharactersPerInch) {
    const MonthReport r = c.Read(ReportCompany::March());
    c.Printer('H');
    const std::string bytes =
        c.Bytes([&](printing::PrintOutput& out) { PrintAttendanceList(c.h.rt, out, r); });
    const std::string landscape = c.h.rt.config().Text("YPRLS");
    EXPECT_EQ(bytes.rfind(landscape, 0), 0u);
    const size_t header = bytes.find(c.h.rt.config().Text("YPR10"));
    const size_t cells = bytes.find(c.h.rt.config().Text("YPR17"));
    ASSERT_NE(cells, std::string::npos);
    EXPECT_LT(header, cells);
    EXPECT_LT(cells, bytes.find("Lp. Nr"));
}

}  // namespace
}  // namespace kestrel::worktime
