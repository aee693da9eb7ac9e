#include "payroll/printouts/data/payroll_list_print.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "matrix_test_support.h"
#include "printing/pdf/pdf_render.h"

namespace kestrel::payroll {
namespace {

using testing::PrintedLines;
using testing::With;

std::string Shell(const std::string& command) {
    std::string out;
    std::FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

// A list of two employees: base pay, a bonus for one, the tax advance (a
// deduction) and the net pay (auxiliary).
struct ListCompany : testing::PrintCompany {
    PayrollList list = List("2026", "A", 1, "03", "20260310");

    ListCompany() {
        Employee("000003", "Wiśniewska");
        Comp("ZASD", "Płaca zasadnicza", 10);
        Comp("PREM", "Premia", 20);
        Comp("ZALI", "Zaliczka podatku", 30, true);
        Comp("DOWY", "Netto", 40, false, true);
        Pay("000001", "ZASD", 3000);
        Pay("000001", "PREM", 500.30);
        Pay("000001", "ZALI", 280);
        Pay("000001", "DOWY", 3220.30);
        Pay("000002", "ZASD", 2000);
        Pay("000002", "ZALI", 150);
        Pay("000002", "DOWY", 1850);
        Matrix("LP", "1");
        Cell("LP", 1, 1, "trim(dky(pkprac->nazwx_))", "Nazwisko", 20, {{"TYP_POLA", "C"}});
        Cell("LP", 1, 2, "ZASD", "Zasadnicza", 12, {{"MASKA_", "@E 9,999,999.99"}});
        Cell("LP", 1, 3, "PREM", "Premia", 12, {{"MASKA_", "@E 9,999,999.99"}});
        Cell("LP", 1, 4, "ZALI", "Zaliczka", 12, {{"MASKA_", "@E 9,999,999.99"}});
        Cell("LP", 1, 5, "DOWY", "Do wypłaty", 12, {{"MASKA_", "@E 9,999,999.99"}});
    }
    void Comp(const std::string& symbol, const std::string& name, int order, bool deduction = false,
              bool off_list = false) {
        Add("PKSPL", {{"SKLADN_PL", symbol},
                      {"NAZWA_", name},
                      {"TYP_", "K"},
                      {"SEKW_OBL", std::to_string(order)},
                      {"POTRAC_", deduction ? "T" : "F"},
                      {"POZA_LISTA", off_list ? "T" : "F"},
                      {"DRUK_", off_list ? "F" : "T"},
                      {"SEKW_WYDR", std::to_string(order)}});
    }
    void Pay(const std::string& number, const std::string& symbol, double amount) {
        const bool deduction = symbol == "ZALI", off = symbol == "DOWY";
        Add("PKPLACE", {{"ROK_LST", list.year},
                        {"TYP_LST", list.symbol},
                        {"NR_LST", "1"},
                        {"MC_LST", list.month},
                        {"DATA_WYP", list.paid},
                        {"NR_PRAC", number},
                        {"SKLADN_PL", symbol},
                        {"KWOTA_", std::to_string(amount)},
                        {"POTRAC_", deduction ? "T" : "F"},
                        {"POZA_LISTA", off ? "T" : "F"}});
    }

    struct Result {
        std::string message;
        std::vector<std::string> lines;
        std::string path;
    };
    Result Print(PayrollListRequest r) {
        r.list = list;
        Result out;
        out.path = dir.File("LISTA.PRT");
        printing::PrintOutput o;
        EXPECT_TRUE(o.Open(out.path).ok());
        const PayrollListOutcome done = PrintPayrollList(h.rt, tables, r, o, nullptr);
        EXPECT_TRUE(o.Close().ok());
        out.message = codepage::ToUtf8(done.message);
        out.lines = PrintedLines(out.path);
        return out;
    }
};

TEST(PayrollList, SummaryByMatrixToPrintFileAndPdf) {
    ListCompany c;
    PayrollListRequest r;
    r.layout = 'Z';
    r.sort = 2;  // Kowal (000002) before Nowak (000001)
    const auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    const std::vector<std::string> rows = With(p.lines, ".00");
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0],
              "   1 Kowal                    2.000,00         0,00       150,00     1.850,00");
    EXPECT_EQ(rows[1],
              "   2 Nowak                    3.000,00       500,30       280,00     3.220,30");
    // The totals under the amounts; the name column is text and has none.
    EXPECT_EQ(rows[2], std::string(30, ' ') + "5.000,00       500,30       430,00     5.070,30");
    // The net pay of the list in words: 3,220.30 + 1,850.00.
    EXPECT_EQ(
        With(p.lines, "Słownie złotych do wypłaty: pięć tysięcy siedemdziesiąt złotych 30/100")
            .size(),
        1U);
    EXPECT_EQ(With(p.lines, "Lista płac: 1/A /03/2026 (10.03.2026)").size(), 1U);

    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext missing (poppler-utils)";
    std::string bytes;
    ASSERT_TRUE(base::ReadFile(p.path, &bytes).ok());
    const std::string pdf = c.dir.File("LISTA.pdf");
    ASSERT_TRUE(printing::RenderPdf(bytes, printing::PdfOptions{'0', '1', "Lista"}, pdf).ok());
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    for (const char* want : {"Kowal", "Nowak", "2.000,00", "3.220,30", "1.850,00", "5.070,30",
                             "pięć tysięcy siedemdziesiąt złotych 30/100", "RAZEM:"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
}

TEST(PayrollList, DenominationsOfThePrintedNetPay) {
    ListCompany c;
    for (const char* v : {"200", "100", "50", "20", "10", "0.2", "0.1"})
        c.Add("PKNOM", {{"NOMINAL_", v}});
    PayrollListRequest r;
    r.layout = 'Z';
    r.denominations = true;
    const auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    // 3220.30 = 16x200 + 20 + 0.20 + 0.10; 1850 = 9x200 + 50.
    ASSERT_EQ(With(p.lines, "Specyfikacja nominałów do listy płac: 1/A /03/2026").size(), 1U);
    for (const char* want :
         {"      200.00        25         5000.00", "       50.00         1           50.00",
          "       20.00         1           20.00", "        0.20         1            0.20",
          "        0.10         1            0.10"})
        EXPECT_EQ(With(p.lines, want).size(), 1U) << want;
    EXPECT_TRUE(With(p.lines, "     100.00 ").empty());
    EXPECT_EQ(With(p.lines, "Razem:").size(), 1U);
    EXPECT_NE(With(p.lines, "Razem:")[0].find("5070.30"), std::string::npos);
}

TEST(PayrollList, ColumnsWithoutMatrixAndEnvelopes) {
    ListCompany c;
    PayrollListRequest r;
    r.layout = 'B';
    auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    // The list symbol's name is the title; three amount columns to a row:
    // base pay, bonus and tax advance, then the net pay computed.
    EXPECT_EQ(With(p.lines, "Lista płac etatowych").size(), 1U);
    const std::vector<std::string> nowak = With(p.lines, "000001 Nowak");
    ASSERT_EQ(nowak.size(), 1U);
    const auto at = std::find(p.lines.begin(), p.lines.end(), nowak[0]);
    EXPECT_EQ(at[1], "              3.000,00            500,30            280,00");
    EXPECT_EQ(at[2], "              3.220,30");

    r.layout = '1';
    p = c.Print(r);
    ASSERT_EQ(p.message, "");
    EXPECT_EQ(With(p.lines, "Pracownik:").size(), 2U);
    const std::vector<std::string> net = With(p.lines, "Do wypłaty");
    ASSERT_EQ(net.size(), 2U);
    EXPECT_NE(net[0].find("3.220,30"), std::string::npos) << net[0];
    EXPECT_NE(net[1].find("1.850,00"), std::string::npos) << net[1];
    // A zero bonus is left blank on the envelope.
    const std::vector<std::string> bonus = With(p.lines, "Premia");
    ASSERT_EQ(bonus.size(), 2U);
    EXPECT_EQ(bonus[1], "Premia");
}

TEST(PayrollList, RefusalsBeforeAnythingIsPrinted) {
    ListCompany c;
    PayrollListRequest r;
    r.layout = 'Z';
    r.matrix = "XX";
    EXPECT_EQ(c.Print(r).message, "Brak definicji tabulogramu");
    c.list.symbol = "Q ";
    r.matrix.clear();
    EXPECT_EQ(c.Print(r).message, "Błędny symbol listy płac");
}

}  // namespace
}  // namespace kestrel::payroll
