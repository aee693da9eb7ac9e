#include "payroll/printouts/data/period_print.h"

#include <gtest/gtest.h>

#include "matrix_test_support.h"

namespace kestrel::payroll {
namespace {

using testing::PrintedLines;
using testing::With;

struct PeriodCompany : testing::PrintCompany {
    PeriodCompany() {
        Component("ZASD", "K", 10);
        Department("000011", "Adamski", "01");
        Department("000012", "Bielski", "02");
        const PayrollList jan = List("2026", "A", 1, "01", "20260110", false);
        const PayrollList feb = List("2026", "A", 2, "02", "20260210", false);
        const PayrollList feb_z = List("2026", "Z", 1, "02", "20260215", false);
        const PayrollList mar = List("2026", "A", 3, "03", "20260310");
        Position(jan, "000011", "ZASD", 1000);
        Position(feb, "000011", "ZASD", 100);
        Position(feb_z, "000012", "ZASD", 10);
        Position(mar, "000011", "ZASD", 5000);
        Matrix("OKR", "3");
        Cell("OKR", 1, 1, "ZASD");
        Matrix("MIES", "2", {{"TYP_LISTY", "A"}});
        Cell("MIES", 1, 1, "ZASD");
    }
    struct Result {
        std::string message;
        std::vector<std::string> lines;
    };
    Result Print(const SummaryRequest& r) {
        Result out;
        printing::PrintOutput o;
        const std::string path = dir.File("OKRES.PRT");
        EXPECT_TRUE(o.Open(path).ok());
        out.message = codepage::ToUtf8(PrintSummary(h.rt, tables, r, o, nullptr).message);
        EXPECT_TRUE(o.Close().ok());
        out.lines = PrintedLines(path);
        return out;
    }
    static std::string After(const std::vector<std::string>& lines, const std::string& label) {
        const auto at = std::find(lines.begin(), lines.end(), label);
        return at == lines.end() || at + 1 == lines.end() ? "" : base::Trim(at[1]);
    }
};

TEST(PeriodSummary, EveryListOfThePeriodWhenTheMatrixNamesNoSymbol) {
    PeriodCompany c;
    SummaryRequest r;
    r.matrix = "OKR";
    r.type = '3';
    r.from = {2026, 1};
    r.to = {2026, 2};
    const auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    // January and February, lists A and Z; March is outside.
    EXPECT_EQ(c.After(p.lines, "RAZEM:"), "1110.00");
    EXPECT_EQ(With(p.lines, "Okres: 2026-01 - 2026-02").size(), 1U);

    r.from = r.to = {2025, 12};
    EXPECT_EQ(c.Print(r).message, "Brak list płac w podanym okresie");
}

TEST(PeriodSummary, TotalsPerDepartmentOnly) {
    PeriodCompany c;
    SummaryRequest r;
    r.matrix = "OKR";
    r.type = '3';
    r.from = {2026, 1};
    r.to = {2026, 3};
    r.grouping = PeriodGrouping::kDepartmentTotals;
    const auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    EXPECT_EQ(c.After(p.lines, "Razem dział 01:"), "6100.00");
    EXPECT_EQ(c.After(p.lines, "Razem dział 02:"), "10.00");
    EXPECT_EQ(c.After(p.lines, "RAZEM:"), "6110.00");
    // No employee's line.
    EXPECT_TRUE(With(p.lines, "   1 ").empty());

    r.grouping = PeriodGrouping::kDepartments;
    EXPECT_EQ(With(c.Print(r).lines, "   1 ").size(), 1U);
}

TEST(MonthSummary, TheListsOfOneMonthOfTheAdmittedSymbols) {
    PeriodCompany c;
    SummaryRequest r;
    r.matrix = "MIES";
    r.type = '2';
    r.from = r.to = {2026, 2};
    const auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    EXPECT_EQ(c.After(p.lines, "RAZEM:"), "100.00");  // list Z is not admitted
    r.matrix = "OKR";
    EXPECT_EQ(c.Print(r).message, "Błędny typ tabulogramu");
}

TEST(PayOfPeriod, ByListMonthOrPaymentMonthAndEmployeeRange) {
    PeriodCompany c;
    // A list of February paid in March.
    const PayrollList late = c.List("2026", "A", 4, "02", "20260305", false);
    c.Position(late, "000011", "ZASD", 7);
    c.Matrix("PLAC", "5");
    c.Cell("PLAC", 1, 1, "ZASD");
    SummaryRequest r;
    r.matrix = "PLAC";
    r.type = '5';
    r.from = r.to = {2026, 2};
    EXPECT_EQ(c.After(c.Print(r).lines, "RAZEM:"), "117.00");  // lists of February
    r.by_payment = true;
    EXPECT_EQ(c.After(c.Print(r).lines, "RAZEM:"), "110.00");  // paid in February
    r.by_payment = false;
    r.first_employee = "000012";
    r.last_employee = "000099";
    EXPECT_EQ(c.After(c.Print(r).lines, "RAZEM:"), "10.00");
}

}  // namespace
}  // namespace kestrel::payroll
