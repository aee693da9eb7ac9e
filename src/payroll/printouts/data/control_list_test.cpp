#include "payroll/printouts/data/control_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

struct ListCompany : testing::PayCompany {
    PayrollList list;

    ListCompany() {
        Component("ZASD", "K", 1);
        Component("PREM", "K", 2);
        Component("BRUT", "A", 3);
        Component("ZALI", "A", 4);
        list = List("2026", "A", 1, "03", "20260310");
        Pay("000001", "ZASD", 5000);
        Pay("000001", "PREM", 250.5);
        Pay("000001", "BRUT", 5250.5, false, true);
        Pay("000001", "ZALI", 420.25, true);
        Pay("000002", "ZASD", 3000);
        Pay("000002", "ZALI", 3100, true);
        // Another list of the month stays out.
        const PayrollList other = List("2026", "Z", 1, "03", "20260310");
        Add("PKPLACE", {{"ROK_LST", other.year},
                        {"TYP_LST", other.symbol},
                        {"NR_LST", "1"},
                        {"MC_LST", "03"},
                        {"NR_PRAC", "000002"},
                        {"SKLADN_PL", "ZASD"},
                        {"KWOTA_", "999"}});
        Add("PKPRAC", {{"NR_PRAC", "000003"}, {"NAZWX_", "Bez Pozycji"}});
    }
    void Pay(const std::string& number, const std::string& symbol, double amount,
             bool deduction = false, bool auxiliary = false) {
        Add("PKPLACE", {{"ROK_LST", list.year},
                        {"TYP_LST", list.symbol},
                        {"NR_LST", std::to_string(list.number)},
                        {"MC_LST", list.month},
                        {"DATA_WYP", list.paid},
                        {"NR_PRAC", number},
                        {"SKLADN_PL", symbol},
                        {"KWOTA_", std::to_string(amount)},
                        {"POTRAC_", deduction ? "T" : "F"},
                        {"POZA_LISTA", auxiliary ? "T" : "F"}});
    }
};

// The print file's lines (UTF-8, trailing blanks cut), pages separated by
// a line "<FF>".
std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    for (char ch : ss.str()) {
        if (ch == '\n') {
            lines.push_back(base::TrimRight(codepage::ToUtf8(line)));
            line.clear();
        } else if (ch == '\f') {
            lines.push_back(base::TrimRight(codepage::ToUtf8(line)));
            lines.push_back("<FF>");
            line.clear();
        } else if (ch != '\r') {
            line += ch;
        }
    }
    if (!line.empty()) lines.push_back(base::TrimRight(codepage::ToUtf8(line)));
    return lines;
}

TEST(ControlList, EmployeesComponentsColumnsAndTotals) {
    ListCompany c;
    const std::string path = c.dir.File("KONTROL.PRT");
    printing::PrintOutput out;
    ASSERT_TRUE(out.Open(path).ok());
    const ControlListEnd end = PrintControlList(c.h.rt, c.tables, c.list, out);
    ASSERT_TRUE(out.Close().ok());
    EXPECT_EQ(end.employees, 2);
    EXPECT_FALSE(end.interrupted);
    std::vector<std::string> lines = Lines(path);
    // From the column headings on.
    size_t first = 0;
    while (first < lines.size() && lines[first].rfind("  Lp", 0) != 0) ++first;
    ASSERT_LT(first, lines.size());
    lines.erase(lines.begin(), lines.begin() + static_cast<long>(first));
    const std::vector<std::string> expected = {
        "  Lp Nr prac. Nazwisko i imię",
        "      Skł. Nazwa składnika                  Pomocnicze        Płaca   Potrącenia",
        std::string(79, '-'),
        "   1 000001  Nowak",
        "      BRUT Składnik BRUT                     5.250,50",
        "      PREM Składnik PREM                                    250,50",
        "      ZALI Składnik ZALI                                                 420,25",
        "      ZASD Składnik ZASD                                  5.000,00",
        "                                         Do wypłaty:                   4.830,25",
        "",
        "   2 000002  Kowal",
        "      ZALI Składnik ZALI                                               3.100,00",
        "      ZASD Składnik ZASD                                  3.000,00",
        "                                         Do wypłaty:                    -100,00",
        "",
        std::string(79, '='),
        "Razem lista, pracowników: 2                  5.250,50     8.250,50     3.520,25",
        "                                         Do wypłaty:                   4.730,25",
    };
    EXPECT_EQ(lines, expected);
}

// Stopped before the second employee: the first and the totals so far.
TEST(ControlList, StoppedBetweenEmployees) {
    ListCompany c;
    const std::string path = c.dir.File("KONTROL.PRT");
    printing::PrintOutput out;
    ASSERT_TRUE(out.Open(path).ok());
    int asked = 0;
    const ControlListEnd end =
        PrintControlList(c.h.rt, c.tables, c.list, out, [&] { return ++asked == 2; });
    ASSERT_TRUE(out.Close().ok());
    EXPECT_TRUE(end.interrupted);
    EXPECT_EQ(end.employees, 1);
    const std::vector<std::string> lines = Lines(path);
    bool second = false;
    for (const std::string& l : lines) second = second || l.find("000002") != std::string::npos;
    EXPECT_FALSE(second);
    EXPECT_EQ(lines.back(),
              "                                         Do wypłaty:                   4.830,25");
}

// A long list goes on over pages, each with its header and headings.
TEST(ControlList, PagesWithTheirHeadings) {
    ListCompany c;
    for (int i = 4; i <= 30; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%06d", i);
        c.Pay(number, "ZASD", 100);
    }
    const std::string path = c.dir.File("KONTROL.PRT");
    printing::PrintOutput out;
    ASSERT_TRUE(out.Open(path).ok());
    EXPECT_EQ(PrintControlList(c.h.rt, c.tables, c.list, out).employees, 29);
    ASSERT_TRUE(out.Close().ok());
    int pages = 1, headings = 0;
    size_t longest = 0;
    int rows = 0;
    for (const std::string& l : Lines(path)) {
        if (l == "<FF>") {
            ++pages;
            rows = 0;
            continue;
        }
        longest = std::max(longest, static_cast<size_t>(++rows));
        if (l.rfind("  Lp Nr prac.", 0) == 0) ++headings;
    }
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(headings, 3);
    EXPECT_LE(longest, static_cast<size_t>(kPrintoutPageRows));
}

}  // namespace
}  // namespace kestrel::payroll
