#include "payroll/printouts/data/matrix_print.h"

#include <gtest/gtest.h>

#include "matrix_test_support.h"
#include "payroll/printouts/data/matrix_cells.h"

namespace kestrel::payroll {
namespace {

using testing::PrintedLines;
using testing::With;

struct Printed {
    std::string message;
    std::vector<std::string> numbers;  // the employees kept, in order
    std::vector<std::string> lines;    // the print file
};

struct MatrixTest : testing::PrintCompany {
    PayrollList a = List("2026", "A", 1, "03", "20260310");
    PayrollList z = List("2026", "Z", 1, "03", "20260315");

    MatrixTest() {
        Component("ZASD", "A", 10, "1");  // stored amounts are printed, never computed
        Component("PREM", "K", 20);
        Component("ZALI", "A", 30, "0");
    }

    Printed Run(MatrixRequest r) {
        Printed p;
        if (r.lists.empty()) r.lists = {a, z};
        MatrixRun run(h.rt, tables, nullptr);
        p.message = codepage::ToUtf8(run.Prepare(r));
        for (const MatrixEmployee& e : run.employees()) p.numbers.push_back(e.number);
        if (!p.message.empty()) return p;
        printing::PrintOutput out;
        const std::string path = dir.File("OUT.PRT");
        EXPECT_TRUE(out.Open(path).ok());
        const MatrixPrinted done = run.Print(out);
        EXPECT_TRUE(out.Close().ok());
        p.message = codepage::ToUtf8(done.message);
        p.lines = PrintedLines(path);
        return p;
    }
    Printed Run(const std::string& matrix, char type = '1') {
        MatrixRequest r;
        r.matrix = matrix;
        r.type = type;
        return Run(r);
    }
};

TEST(MatrixRun, EveryEmployeeStartsWithEveryComponentAtZero) {
    MatrixTest c;
    // The first employee has a bonus, the second none: the condition must
    // not see the first one's bonus while it tests the second.
    c.Position(c.a, "000001", "ZASD", 3000);
    c.Position(c.a, "000001", "PREM", 500);
    c.Position(c.a, "000002", "ZASD", 2000);
    c.Matrix("NOPR", "1", {{"WARUNEK_", "PREM = 0"}, {"TYP_LISTY", "A"}});
    c.Cell("NOPR", 1, 1, "ZASD");
    c.Cell("NOPR", 1, 2, "PREM");
    const Printed p = c.Run("NOPR");
    ASSERT_EQ(p.message, "");
    EXPECT_EQ(p.numbers, std::vector<std::string>{"000002"});
    // The algorithmic ZASD shows its stored amount, not its algorithm's 1.
    ASSERT_EQ(With(p.lines, "2000.00").size(), 2U) << "the employee and RAZEM";
    EXPECT_TRUE(With(p.lines, "3000.00").empty());
}

TEST(MatrixRun, ListSymbolsTheMatrixAdmits) {
    struct Case {
        std::string admitted;
        std::string total;
    } cases[] = {
        {"", "1300.00"},     // blank: every list of the request
        {"A", "1000.00"},    // the list of symbol A only
        {"Z", "300.00"},     //
        {"B, Z", "300.00"},  // a list of symbols, blanks around them
        {"A,Z", "1300.00"},
    };
    for (const Case& k : cases) {
        MatrixTest c;
        c.Position(c.a, "000001", "ZASD", 1000);
        c.Position(c.z, "000001", "ZASD", 300);
        c.Matrix("M", "1", {{"TYP_LISTY", k.admitted}});
        c.Cell("M", 1, 1, "ZASD");
        const Printed p = c.Run("M");
        ASSERT_EQ(p.message, "") << k.admitted;
        const std::vector<std::string> razem = With(p.lines, "RAZEM:");
        ASSERT_EQ(razem.size(), 1U);
        const auto at = std::find(p.lines.begin(), p.lines.end(), razem[0]);
        ASSERT_NE(at + 1, p.lines.end());
        EXPECT_NE(at[1].find(k.total), std::string::npos) << k.admitted << ": " << at[1];
    }
    EXPECT_FALSE(AdmitsList("A,ZZ", "Z"));
    EXPECT_TRUE(AdmitsList("A,ZZ", "ZZ"));
}

TEST(MatrixRun, SubtotalPerDepartmentWithTwoCharacterLevel) {
    MatrixTest c;
    c.Department("000011", "Adamski", "01AA");
    c.Department("000012", "Bielski", "02BB");
    c.Department("000013", "Cichy", "01CC");
    c.Position(c.a, "000011", "ZASD", 100);
    c.Position(c.a, "000012", "ZASD", 20);
    c.Position(c.a, "000013", "ZASD", 3);
    c.Matrix("DZ", "1",
             {{"NR_IND", "3"},
              {"WZOR_", "pkprac->dzial_"},
              {"IL_ZNAKOW", "2"},
              {"NAZWA_SUMY", "Razem dział"}});
    c.Cell("DZ", 1, 1, "ZASD");
    const Printed p = c.Run("DZ");
    ASSERT_EQ(p.message, "");
    EXPECT_EQ(p.numbers, (std::vector<std::string>{"000011", "000013", "000012"}));
    const std::vector<std::string> levels = With(p.lines, "Razem dział");
    ASSERT_EQ(levels.size(), 2U);
    EXPECT_EQ(levels[0], "Razem dział 01:");
    EXPECT_EQ(levels[1], "Razem dział 02:");
    // Each subtotal line follows its label: 103 for 01, 20 for 02; 123 in all.
    for (const auto& [label, sum] : {std::pair{levels[0], "103.00"},
                                     {levels[1], "20.00"},
                                     {std::string("RAZEM:"), "123.00"}}) {
        const auto at = std::find(p.lines.begin(), p.lines.end(), label);
        ASSERT_NE(at, p.lines.end());
        EXPECT_NE(at[1].find(sum), std::string::npos) << label << ": " << at[1];
    }
}

TEST(MatrixRun, RefusalsOfTheMatrix) {
    struct Case {
        std::string symbol;
        char type;
        std::string message;
    } cases[] = {
        {"NONE", '1', "Brak definicji tabulogramu"},
        {"T2", '1', "Błędny typ tabulogramu"},
        {"BADC", '1', "Błędna definicja tabulogramu"},  // a cell that does not compile
        {"BADS", '1', "Błędna definicja tabulogramu"},  // WZOR_START fails
        {"NOCE", '1', "Błędna definicja tabulogramu"},  // no cells
        {"WAR", '1', "Błędna wartość warunku"},         // a condition that is a number
        {"VAR", '1', "Błędna zmienna: NIEMA"},          // the words of the formula language
        {"ZLIS", '1', "Brak danych do wydruku"},        // admits no list of the request
        {"NONE", '1', "Brak definicji tabulogramu"},
        {"NOBO", '1', "Lista nie dotyczy żadnego pracownika"},
    };
    MatrixTest c;
    c.Position(c.a, "000001", "ZASD", 1000);
    c.Matrix("T2", "2");
    c.Cell("T2", 1, 1, "ZASD");
    c.Matrix("BADC", "1");
    c.Cell("BADC", 1, 1, "ZASD +* (");
    c.Matrix("BADS", "1", {{"WZOR_START", "niema(1)"}});
    c.Cell("BADS", 1, 1, "ZASD");
    c.Matrix("NOCE", "1");
    c.Matrix("WAR", "1", {{"WARUNEK_", "ZASD"}});
    c.Cell("WAR", 1, 1, "ZASD");
    c.Matrix("VAR", "1");
    c.Cell("VAR", 1, 1, "NIEMA");
    c.Matrix("ZLIS", "1", {{"TYP_LISTY", "X"}});
    c.Cell("ZLIS", 1, 1, "ZASD");
    c.Matrix("NOBO", "1", {{"WARUNEK_", "ZASD > 5000"}});
    c.Cell("NOBO", 1, 1, "ZASD");
    for (const Case& k : cases) EXPECT_EQ(c.Run(k.symbol, k.type).message, k.message) << k.symbol;
}

TEST(MatrixRun, TotalByFormulaEvaluatesOverTheSums) {
    // A rate column: its total is the rate of the sums, not the sum of
    // the rates; an ordinary column adds.
    MatrixTest c;
    c.Position(c.a, "000001", "ZASD", 1000);
    c.Position(c.a, "000001", "ZALI", 100);
    c.Position(c.a, "000002", "ZASD", 3000);
    c.Position(c.a, "000002", "ZALI", 900);
    for (const char* type : {"3", "1"}) {
        const std::string symbol = std::string("R") + type;
        c.Matrix(symbol, type);
        c.Cell(symbol, 1, 1, "ZALI/ZASD*100", "Stopa", 10, {{"WZOR_SUMY", "T"}});
    }
    MatrixRequest r;
    r.matrix = "R3";
    r.type = '3';
    Printed p = c.Run(r);
    ASSERT_EQ(p.message, "");
    auto total = [](const Printed& p) {
        const auto at = std::find(p.lines.begin(), p.lines.end(), "RAZEM:");
        return at == p.lines.end() ? std::string() : base::Trim(at[1]);
    };
    EXPECT_EQ(total(p), "25.00");  // 1000 / 4000
    // A payroll list (type 1) adds: 10 + 30.
    EXPECT_EQ(total(c.Run("R1")), "40.00");
}

TEST(MatrixRun, PayslipsOnePerEmployeeWithHeadingsOverValues) {
    MatrixTest c;
    c.Position(c.a, "000001", "ZASD", 1000);
    c.Position(c.a, "000002", "ZASD", 2000);
    c.Matrix("PS", "1", {{"NR_IND", "2"}});
    c.Cell("PS", 1, 1, "ZASD", "Płaca zasadnicza", 18);
    MatrixRequest r;
    r.matrix = "PS";
    r.layout = MatrixLayout::kPayslips;
    const Printed p = c.Run(r);
    ASSERT_EQ(p.message, "");
    // Sorted by name: Kowal (000002) before Nowak (000001).
    const std::vector<std::string> who = With(p.lines, "Pracownik:");
    ASSERT_EQ(who.size(), 2U);
    EXPECT_EQ(who[0], "Pracownik: 000002 Kowal");
    EXPECT_EQ(who[1], "Pracownik: 000001 Nowak");
    EXPECT_EQ(With(p.lines, "Płaca zasadnicza").size(), 2U);
    EXPECT_TRUE(With(p.lines, "RAZEM:").empty());
}

// Answers "t" to "Przerwać wydruk?" when asked the `at`-th time.
struct StopAt : MatrixObserver {
    int at = 0, asked = 0;
    bool function_ok = true;
    std::vector<std::string> function_errors;
    bool Interrupted() override { return ++asked == at; }
    bool FunctionError(const std::string& m) override {
        function_errors.push_back(codepage::ToUtf8(m));
        return function_ok;
    }
};

TEST(MatrixRun, TheOperatorStopsBetweenEmployees) {
    MatrixTest c;
    c.Position(c.a, "000001", "ZASD", 1000);
    c.Position(c.a, "000002", "ZASD", 2000);
    c.Matrix("M", "1");
    c.Cell("M", 1, 1, "ZASD");
    MatrixRequest r;
    r.matrix = "M";
    r.lists = {c.a};
    {
        // Two questions while reading, the third before the second is printed.
        StopAt stop;
        stop.at = 4;
        MatrixRun run(c.h.rt, c.tables, &stop);
        ASSERT_EQ(run.Prepare(r), "");
        printing::PrintOutput out;
        ASSERT_TRUE(out.Open(c.dir.File("STOP.PRT")).ok());
        const MatrixPrinted done = run.Print(out);
        ASSERT_TRUE(out.Close().ok());
        EXPECT_TRUE(done.interrupted);
        EXPECT_EQ(done.numbers, std::vector<std::string>{"000001"});
        EXPECT_TRUE(With(PrintedLines(c.dir.File("STOP.PRT")), "RAZEM:").empty());
    }
    {
        StopAt stop;
        stop.at = 1;
        MatrixRun run(c.h.rt, c.tables, &stop);
        EXPECT_EQ(run.Prepare(r), "");
        EXPECT_TRUE(run.interrupted());
        EXPECT_TRUE(run.employees().empty());
    }
    {
        // A user function that does not compile: Esc stops, any other key
        // goes on without it.
        c.Function("zla", "", "1 +* (");
        StopAt stop;
        stop.function_ok = false;
        MatrixRun run(c.h.rt, c.tables, &stop);
        run.Prepare(r);
        EXPECT_TRUE(run.interrupted());
        EXPECT_EQ(stop.function_errors,
                  std::vector<std::string>{"Błędna definicja funkcji \"zla\""});
        StopAt go_on;
        MatrixRun again(c.h.rt, c.tables, &go_on);
        EXPECT_EQ(again.Prepare(r), "");
        EXPECT_EQ(again.employees().size(), 2U);
    }
}

TEST(CellText, PicturesTypesAndWidths) {
    struct Case {
        formula::Value v;
        std::string picture;
        int width;
        std::string text;
    } cases[] = {
        {formula::Value::Number(1234.5, 2), "", 10, "   1234.50"},
        {formula::Value::Number(1234.5, 2), "@E 9,999.99", 10, "  1.234,50"},
        {formula::Value::Number(0, 2), "@Z 9999.99", 8, "        "},
        {formula::Value::Number(123456789, 2), "", 6, "******"},
        {formula::Value::String("Kowalski"), "", 4, "Kowa"},
        {formula::Value::String("ab"), "", 4, "ab  "},
        {formula::Value::Logical(true), "", 2, "T "},
        {formula::Value(), "", 3, "   "},
    };
    for (const Case& k : cases) {
        MatrixCell cell;
        cell.width = k.width;
        cell.picture = k.picture;
        EXPECT_EQ(CellText(k.v, cell), k.text) << k.picture << "|" << k.text;
    }
}

TEST(CellColumns, RowsLaidOutEachFromTheLead) {
    MatrixDefinition m;
    for (auto [row, col, width] : {std::tuple{1, 1, 6}, {1, 2, 10}, {2, 1, 4}, {2, 2, 3}}) {
        MatrixCell c;
        c.row = row;
        c.column = col;
        c.width = width;
        m.cells.push_back(c);
    }
    EXPECT_EQ(CellColumns(m, 5), (std::vector<int>{5, 12, 5, 10}));
    EXPECT_EQ(BlockWidth(m, 5), 22);
    EXPECT_EQ(BlockRows(m), 2);
}

}  // namespace
}  // namespace kestrel::payroll
