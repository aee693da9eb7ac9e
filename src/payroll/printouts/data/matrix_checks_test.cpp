#include "payroll/printouts/data/matrix_checks.h"

#include <gtest/gtest.h>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

struct CheckCompany : testing::PayCompany {
    CheckCompany() {
        Component("ZASD", "S", 1);
        Code("GN", "S", 1);
        Add("PKRNB", {{"KOD_NIEOB", "UW"}, {"NAZWA_", "Urlop"}, {"TYP_", "U"}});
        Add("PKOSPL", {{"SKLADN_PL", "XPOM"}, {"NAZWA_", "Pomocniczy"}});
        Function("podw", "x", "x*2");
    }
};

std::string U(const std::string& cp852) {
    return codepage::ToUtf8(cp852);
}

TEST(MatrixChecks, HeaderFormulas) {
    CheckCompany c;
    MatrixChecks checks(c.h.rt, c.tables);
    EXPECT_TRUE(checks.Prepare().empty());
    struct Case {
        const char* formula;
        std::string (MatrixChecks::*check)(std::string_view);
        const char* message;
    };
    const Case cases[] = {
        {"", &MatrixChecks::Condition, ""},
        {"ZASD > 0 .and. GN = 0", &MatrixChecks::Condition, ""},
        {"ZASD + 1", &MatrixChecks::Condition, "Błędna wartość warunku"},
        {"'abc'", &MatrixChecks::Condition, "Błędna wartość warunku"},
        {"ZASD >", &MatrixChecks::Condition, "Błąd syntaktyczny algorytmu"},
        {"NIEMA > 0", &MatrixChecks::Condition, "Błędna zmienna: NIEMA"},
        {"pkprac->dzial_ + str(podw(UW))", &MatrixChecks::SortKey, ""},
        {"pkprac->dzial_ +", &MatrixChecks::SortKey, "Błąd syntaktyczny wzoru"},
        {"", &MatrixChecks::SortKey, "Błąd syntaktyczny wzoru"},
        {"brak(1)", &MatrixChecks::SortKey, "Błędna funkcja: BRAK"},
        {"", &MatrixChecks::Start, ""},
        {"XPOM := 5", &MatrixChecks::Start, ""},
        {"XPOM :=", &MatrixChecks::Start, "Błąd syntaktyczny algorytmu"},
    };
    for (const Case& k : cases) {
        MatrixChecks fresh(c.h.rt, c.tables);
        EXPECT_EQ(U((fresh.*k.check)(codepage::FromUtf8(k.formula))), k.message) << k.formula;
    }
}

// The condition and the cells see what the start formula prepared.
TEST(MatrixChecks, LaterFormulasSeeTheStartFormula) {
    CheckCompany c;
    MatrixChecks checks(c.h.rt, c.tables);
    EXPECT_EQ(U(checks.Condition("if(XPOM > 0, .t., 'x')")), "Błędna wartość warunku");
    EXPECT_EQ(checks.Start("XPOM := 5"), "");
    EXPECT_EQ(checks.Condition("if(XPOM > 0, .t., 'x')"), "");
    EXPECT_EQ(checks.Content("if(XPOM = 5, ZASD, 'x')"), "");
    // A start formula that fails is its own field's error, not the others'.
    EXPECT_EQ(U(checks.Start("NIEMA + 1")), "Błędna zmienna: NIEMA");
    EXPECT_EQ(checks.Condition("ZASD = 0"), "");
}

TEST(MatrixChecks, CellContents) {
    CheckCompany c;
    MatrixChecks checks(c.h.rt, c.tables);
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"ZASD", ""},  // a component
        {"GN", ""},    // an attendance code
        {"UW  ", ""},  // an absence code
        {"zasd", ""},  // names are not case-sensitive
        {"PREM", "Błędny symbol"},
        {"X1", "Błędny symbol"},
        {"ZASD*2 + GN", ""},
        {"ZASD*", "Błąd syntaktyczny algorytmu"},
        {"'Razem'", ""},
    };
    for (const auto& [content, message] : cases)
        EXPECT_EQ(U(checks.Content(content)), message) << content;
}

}  // namespace
}  // namespace kestrel::payroll
