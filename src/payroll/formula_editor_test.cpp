#include "payroll/formula_editor.h"

#include <gtest/gtest.h>

#include "payroll/data/function_help.h"
#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"
#include "worktime/data/computed_codes.h"
#include "worktime/data/month_run.h"
#include "worktime_company.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using worktime::testing::WorkCompany;

constexpr int kCtrlW = 23;
constexpr int kLook = key::F(10);  // the test's key: notes the screen

struct FormulaCompany : WorkCompany {
    std::vector<std::vector<std::string>> looks;  // rows 5-22 at each kLook, CP852

    FormulaCompany() : WorkCompany({"PKSPL", "PKZEST"}) {
        // Stored as the older editors left them: soft breaks inside.
        Add("PKSPL",
            {{"SKLADN_PL", "B100"},
             {"NAZWA_",
              "P\x88"
              "aca zasadnicza"},
             {"TYP_", "A"},
             {"ALGORYTM_", "ST_PODST*\x8D\nETAT"}},
            false);
        Add("PKSPL",
            {{"SKLADN_PL", "B200"},
             {"NAZWA_", "Premia"},
             {"TYP_", "A"},
             {"ALGORYTM_", "yround(B100*\x8D\n0.2,2)\r\n+ 0"}},
            false);
        Add("PKFUNC", {{"FUN_", "stawka"}, {"PAR_", "x"}, {"WZOR_", "x*ren1()"}});
        Add("PKZEST", {{"ZESTAW_", "Z1"}, {"OPIS_", "Etatowi"}, {"WZOR_", "ETAT>0"}});
        tables.CloseAll();
        h.con.keyboard().Bind(kLook, [this] {
            std::vector<std::string> rows;
            for (int r = 5; r <= 22; ++r) rows.push_back(h.con.screen().RowText(r));
            looks.push_back(rows);
        });
    }

    bool Edit(FormulaKind kind, std::string* text, const FormulaEdit& more = {}) {
        FormulaEdit e = more;
        e.kind = kind;
        e.title = "Algorytm";
        return EditFormula(h.rt, tables, e, text);
    }
    // Cells of a noted screen, in UTF-8.
    std::string Look(size_t n, int row, int col, int len) const {
        return codepage::ToUtf8(looks.at(n)
                                    .at(static_cast<size_t>(row - 5))
                                    .substr(static_cast<size_t>(col), static_cast<size_t>(len)));
    }
};

TEST(FormulaEditor, F8ImportsTheChosenComponentsFormulaAtTheCursor) {
    FormulaCompany c;
    c.Keys("2*()");
    c.Keys({key::kLeft, key::F(8), kLook, key::kDown, key::F(5), kLook, kCtrlW});
    std::string text;
    std::vector<std::string> calls;
    FormulaEdit more;
    more.store = [&](const std::string& t) { calls.push_back("store " + t); };
    more.test = [&](const std::string& t) { calls.push_back("test " + t); };
    ASSERT_TRUE(c.Edit(FormulaKind::kComponent, &text, more));
    // The soft break of the stored formula goes, its line break stays.
    EXPECT_EQ(text, "2*(yround(B100*0.2,2)\r\n+ 0)");
    EXPECT_EQ(calls, (std::vector<std::string>{"store " + text, "test " + text}));
    ASSERT_EQ(c.looks.size(), 2u);
    // The window of the records of PKSPL.
    EXPECT_EQ(base::Trim(c.Look(0, 6, 11, 58)),
              "Rekordy PKSPL, dostępne dla funkcji: \"import danych\"");
    EXPECT_EQ(base::Trim(c.Look(0, 7, 11, 58)), "<Esc>-Wyjście    <F3>-Podgląd    <F5>-Import");
    EXPECT_EQ(base::TrimRight(c.Look(0, 10, 11, 30)), "B100 │ Płaca zasadnicza");
    EXPECT_EQ(base::TrimRight(c.Look(0, 11, 11, 30)), "B200 │ Premia");
    // Back in the editor, the text stands inserted and the cursor after it.
    EXPECT_EQ(c.Look(1, 7, 11, 25), "║2*(yround(B100*0.2,2)   ");
    EXPECT_EQ(c.Look(1, 8, 11, 6), "║+ 0) ");
    EXPECT_EQ(c.Look(1, 6, 12, 24), "═ Algorytm ═ <F8>-Import");
    // PKSPL was opened for the window and is closed again.
    EXPECT_EQ(c.tables.workspace().Find("PKSPL"), nullptr);
}

TEST(FormulaEditor, EscLeavesTheTextAndRunsNeitherStoreNorTest) {
    FormulaCompany c;
    c.Keys({key::F(8), key::F(5)});  // imports the first component ...
    c.Keys({key::kEsc});             // ... and leaves without saving
    std::string text = "N50";
    bool called = false;
    FormulaEdit more;
    more.store = [&](const std::string&) { called = true; };
    more.test = [&](const std::string&) { called = true; };
    EXPECT_FALSE(c.Edit(FormulaKind::kComponent, &text, more));
    EXPECT_EQ(text, "N50");
    EXPECT_FALSE(called);
}

TEST(FormulaEditor, F3ShowsAWholeFormulaAndAnOpenTableKeepsItsPlace) {
    FormulaCompany c;
    dbf::WorkArea& pkspl = c.tables.Open("PKSPL", {"PKSPL1"});
    ASSERT_TRUE(pkspl.Goto(2).ok());
    c.Keys({key::F(8), key::F(3), kLook, key::kEsc, key::kEsc, kCtrlW});
    std::string text = "X";
    ASSERT_TRUE(c.Edit(FormulaKind::kComponent, &text));
    EXPECT_EQ(text, "X");
    ASSERT_EQ(c.looks.size(), 1u);
    EXPECT_EQ(c.Look(0, 6, 11, 10), "╔═ B100 ══");
    EXPECT_EQ(c.Look(0, 7, 11, 15), "║ST_PODST*ETAT ");
    EXPECT_EQ(c.Look(0, 22, 11, 18), "╚═ <Esc>-Wyjście ═");
    // The dialog's own area is where it was.
    EXPECT_NE(c.tables.workspace().Find("PKSPL"), nullptr);
    EXPECT_EQ(pkspl.recno(), 2u);
}

TEST(FormulaEditor, F1ListsThePayrollFunctionsAndScrolls) {
    FormulaCompany c;
    std::vector<int> keys{key::F(1), kLook};
    for (int i = 0; i < 12; ++i) keys.push_back(key::kDown);
    // A key of no meaning lets the window catch up with the keys typed ahead.
    keys.insert(keys.end(), {'x', kLook, key::kEsc, kCtrlW});
    c.Keys(keys);
    std::string text;
    ASSERT_TRUE(c.Edit(FormulaKind::kComponent, &text));
    ASSERT_EQ(c.looks.size(), 2u);
    EXPECT_EQ(base::Trim(c.Look(0, 6, 11, 58)), "Dostępne funkcje");
    EXPECT_EQ(base::TrimRight(c.Look(0, 10, 11, 58)),
              "SUMASKLAD  │ suma składników maski m (i mies. wstecz)");
    EXPECT_EQ(base::TrimRight(c.Look(0, 11, 11, 12)), "SUMASKLDTW │");
    EXPECT_EQ(base::TrimRight(c.Look(0, 20, 12, 56)), "Argumenty: m; [i]");
    // Twelve rows down, the list of ten rows has scrolled by three.
    const std::span<const FunctionHelp> help = PayrollFunctionHelp();
    EXPECT_EQ(base::TrimRight(c.Look(1, 10, 11, 10)), help[3].name);
    EXPECT_EQ(base::TrimRight(c.Look(1, 19, 11, 10)), help[12].name);
    EXPECT_EQ(base::TrimRight(c.Look(1, 20, 12, 56)),
              std::string("Argumenty: ") + help[12].arguments);
}

TEST(FormulaEditor, KeysImportFromTheTablesOfTheirKind) {
    {
        // A user function: F6 from PKFUNC, F7 from PKZEST.
        FormulaCompany c;
        c.Keys({key::F(6), key::F(5), key::F(7), key::F(5), kCtrlW});
        std::string text;
        ASSERT_TRUE(c.Edit(FormulaKind::kUserFunction, &text));
        EXPECT_EQ(text, "x*ren1()ETAT>0");
    }
    {
        // A component algorithm knows no F6: the key does nothing.
        FormulaCompany c;
        c.Keys({key::F(6), key::F(8), key::F(5), kCtrlW});
        std::string text;
        ASSERT_TRUE(c.Edit(FormulaKind::kComponent, &text));
        EXPECT_EQ(text, "ST_PODST*ETAT");
    }
    {
        // F2 lists the user functions and imports nothing.
        FormulaCompany c;
        c.Keys({key::F(2), kLook, key::F(5), key::kEsc, kCtrlW});
        std::string text = "A";
        ASSERT_TRUE(c.Edit(FormulaKind::kSelectionSet, &text));
        EXPECT_EQ(text, "A");
        EXPECT_EQ(base::Trim(c.Look(0, 6, 11, 58)), "Definicje własnych funkcji");
        EXPECT_EQ(base::TrimRight(c.Look(0, 10, 11, 20)), "stawka     │ x");
    }
}

TEST(FormulaEditor, AnAlgorithmWrappedWithASoftBreakComputesInWorkingTime) {
    FormulaCompany c;
    c.Code("NORM", "E", 1);
    c.Line("000001", "NORM", 8);
    // Ten times NORM, 67 characters: the editor wraps the line once.
    std::string typed = "NORM";
    for (int i = 1; i < 10; ++i) typed += " + NORM";
    c.Keys(typed);
    c.Keys({kCtrlW});
    std::string text;
    ASSERT_TRUE(c.Edit(FormulaKind::kWorkTime, &text));
    EXPECT_EQ(text, "NORM + NORM + NORM + NORM + NORM + NORM + NORM + NORM \x8D\n+ NORM + NORM");
    c.Add("PKROB", {{"KOD_OB", "RAZ"}, {"TYP_", "A"}, {"SEKW_OBL", "5"}, {"ALGORYTM_", text}},
          false);
    worktime::FormulaHost host(c.h.rt, c.tables);
    host.Prepare();
    worktime::TimeLines lines(c.h.rt, c.tables, c.month);
    worktime::ComputedCodes codes(host, c.tables);
    EXPECT_EQ(codepage::ToUtf8(codes.Run(lines, "000001", "01")), "");
    EXPECT_EQ(c.VisibleLines(), (std::vector<std::string>{"000001 NORM 8.00", "000001 RAZ 80.00"}));
}

}  // namespace
}  // namespace kestrel::payroll
