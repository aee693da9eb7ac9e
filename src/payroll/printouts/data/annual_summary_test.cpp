#include "payroll/printouts/data/annual_summary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

struct YearCompany : testing::PayCompany {
    YearCompany() {
        Component("ZASD", "K", 1);
        Component("ZALI", "A", 2);
        Add("PKPRAC", {{"NR_PRAC", "000003"}, {"NAZWX_", "Adamska"}, {"DZIAL_", "02"}});
        // December's list paid in January; February's list paid in March.
        const PayrollList dec = List("2025", "A", 12, "12", "20260108");
        const PayrollList jan = List("2026", "A", 1, "01", "20260128");
        const PayrollList feb = List("2026", "A", 2, "02", "20260302");
        const PayrollList next = List("2027", "A", 1, "01", "20270128");
        Position(dec, "000001", "ZASD", 900);
        Position(jan, "000001", "ZASD", 1000);
        Position(jan, "000001", "ZALI", 80);
        Position(feb, "000001", "ZASD", 1100.55);
        Position(jan, "000002", "ZASD", 2000);
        Position(feb, "000003", "ZASD", 3000);
        Position(next, "000001", "ZASD", 5000);
    }
};

std::string Months(const AnnualRow& r) {
    std::string out = r.symbol + ":";
    for (int m = 0; m < 12; ++m)
        if (r.months[static_cast<size_t>(m)] != 0)
            out += " " + std::to_string(m + 1) + "=" +
                   base::Trim(ColumnAmount(r.months[static_cast<size_t>(m)], 12));
    return out + " rok=" + base::Trim(ColumnAmount(r.year, 12));
}

std::string Rows(const std::vector<AnnualRow>& rows) {
    std::string out;
    for (const AnnualRow& r : rows) out += Months(r) + "; ";
    return out;
}

TEST(AnnualSummary, ByListMonthAndByPaymentDate) {
    YearCompany c;
    AnnualOptions o;
    o.year = 2026;
    AnnualSummary s = CollectAnnual(c.h.rt, c.tables, o);
    ASSERT_EQ(s.employees.size(), 3u);
    EXPECT_EQ(s.employees[0].number, "000001");
    EXPECT_EQ(Rows(s.employees[0].rows),
              "ZALI: 1=80,00 rok=80,00; ZASD: 1=1000,00 2=1100,55 rok=2100,55; ");
    EXPECT_EQ(Rows(s.totals), "ZALI: 1=80,00 rok=80,00; ZASD: 1=3000,00 2=4100,55 rok=7100,55; ");
    EXPECT_EQ(s.employees[2].department, "02");
    ASSERT_EQ(s.departments.size(), 2u);
    EXPECT_EQ(s.departments[0].department, "");
    EXPECT_EQ(Rows(s.departments[1].rows), "ZASD: 2=3000,00 rok=3000,00; ");

    o.selection = 'W';
    s = CollectAnnual(c.h.rt, c.tables, o);
    EXPECT_EQ(Rows(s.employees[0].rows),
              "ZALI: 1=80,00 rok=80,00; ZASD: 1=1900,00 3=1100,55 rok=3000,55; ");
}

TEST(AnnualSummary, EmployeeRangeAndAlphabeticOrder) {
    YearCompany c;
    AnnualOptions o;
    o.year = 2026;
    o.from = "000002";
    o.to = "000003";
    AnnualSummary s = CollectAnnual(c.h.rt, c.tables, o);
    ASSERT_EQ(s.employees.size(), 2u);
    EXPECT_EQ(s.employees[0].number, "000002");
    o.from = "000000";
    o.to = "999999";
    o.sort = 2;
    s = CollectAnnual(c.h.rt, c.tables, o);
    ASSERT_EQ(s.employees.size(), 3u);
    EXPECT_EQ(codepage::ToUtf8(s.employees[0].name), "Adamska");
    EXPECT_EQ(codepage::ToUtf8(s.employees[1].name), "Kowal");
    EXPECT_EQ(codepage::ToUtf8(s.employees[2].name), "Nowak");
}

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    for (char ch : ss.str()) {
        if (ch == '\n' || ch == '\f') {
            lines.push_back(base::TrimRight(codepage::ToUtf8(line)));
            line.clear();
        } else if (ch != '\r') {
            line += ch;
        }
    }
    if (!line.empty()) lines.push_back(base::TrimRight(codepage::ToUtf8(line)));
    return lines;
}

TEST(AnnualSummary, PrintedWithTwelveMonthsAndTheYear) {
    YearCompany c;
    AnnualOptions o;
    o.year = 2026;
    o.type = 'C';
    o.to = "000001";
    const AnnualSummary s = CollectAnnual(c.h.rt, c.tables, o);
    const std::string path = c.dir.File("ROCZNE.PRT");
    printing::PrintOutput out;
    ASSERT_TRUE(out.Open(path).ok());
    EXPECT_TRUE(PrintAnnual(c.h.rt, s, o, out));
    ASSERT_TRUE(out.Close().ok());
    std::vector<std::string> lines = Lines(path);
    size_t first = 0;
    while (first < lines.size() && lines[first].rfind("Pracownik:", 0) != 0) ++first;
    ASSERT_LT(first, lines.size());
    lines.erase(lines.begin(), lines.begin() + static_cast<long>(first));
    const std::string headings =
        "Skł.          I        II       III        IV         V        VI       VII      VIII"
        "        IX         X        XI       XII        Rok";
    // The symbol in 5 columns, the months in 10 each, the year in 11.
    const std::string zali = "ZALI      80,00" + std::string(110, ' ') + "      80,00";
    const std::string zasd = "ZASD    1000,00   1100,55" + std::string(100, ' ') + "    2100,55";
    const std::vector<std::string> expected = {
        "Pracownik: 000001 Nowak", headings, zali, zasd, "",
        "Razem pracownicy: 1",     headings, zali, zasd,
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(headings.size(), 136u + 1u) << "136 columns, one letter of two bytes";
}

}  // namespace
}  // namespace kestrel::payroll
