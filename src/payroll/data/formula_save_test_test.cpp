#include "payroll/data/formula_save_test.h"

#include <gtest/gtest.h>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

// The namespace every case runs over: a component, an optional component,
// an attendance code, an absence code with its list, an allowance, extended
// keys of each type (a repeating one among them) and two user functions.
struct SaveTest : ::testing::Test, PayCompany {
    SaveTest() {
        Component("ZASA", "K", 10);
        Add("PKOSPL", {{"SKLADN_PL", "OPC1"}});
        Code("NORM", "E", 1);
        Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
        Add("PKSRDOD", {{"RODZAJ_DOD", "DSTA"}});
        for (const char* t : {"PKUMTR", "PKUPRC"}) Make(t);
        Field("001", "D", "DATA_UM", 8);
        Field("002", "L", "CZY", 1);
        Field("003", "C", "OPIS", 5);
        Field("004", "O", "", 0);
        Field("005", "N", "KWOTY", 8, true);
        Function("KW", "x", "x*x");
    }
    void Field(const char* nr, const char* type, const char* key, int width, bool sub = false) {
        Add("PKUMTR", {{"NR_POLA", nr},
                       {"TYP_", type},
                       {"KLUCZ_", key},
                       {"SZER_", std::to_string(width)},
                       {"SUB_POLE", sub ? "T" : "F"}});
    }
    std::vector<std::string> Test(SavedFormula kind, const std::string& text,
                                  const std::string& params = "") {
        std::vector<std::string> out;
        for (const std::string& m :
             SaveTestFormula(h.rt, tables, kind, codepage::FromUtf8(text), params))
            out.push_back(codepage::ToUtf8(m));
        return out;
    }
};

using Messages = std::vector<std::string>;

TEST_F(SaveTest, EveryVariableHoldsTheEmptyValueOfItsType) {
    const std::string every =
        "ZASA + OPC1 + NORM + CHOR + DSTA + len(YTBCHOR) + len(KWOTY) + kw(2) + "
        "if(empty(DATA_UM) .and. !CZY .and. OPIS == \"     \", 1, 100)";
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, every), Messages{});
    EXPECT_EQ(Test(SavedFormula::kSelectionSet, "ZASA = 0 .and. empty(KWOTY)"), Messages{});
}

TEST_F(SaveTest, EachFailureGivesTheOperatorsText) {
    struct Case {
        SavedFormula kind;
        const char* text;
        const char* params;
        const char* message;
    };
    const Case cases[] = {
        {SavedFormula::kAlgorithm, "", "", "Błąd - \"pusty\" algorytm"},
        {SavedFormula::kAlgorithm, "ZASA +", "", "Błąd syntaktyczny algorytmu"},
        {SavedFormula::kAlgorithm, "NIEMA * 2", "", "Błędna zmienna: NIEMA"},
        {SavedFormula::kAlgorithm, "NIEMA(1)", "", "Błędna funkcja: NIEMA"},
        {SavedFormula::kAlgorithm, "ZASA + OPIS", "", "Błędny argument oper.: \"+\""},
        {SavedFormula::kAlgorithm, "NIEMA->POLE", "", "Błędny alias: NIEMA"},
        {SavedFormula::kAlgorithm, "DATA_UM", "", "Błędna wartość algorytmu"},
        {SavedFormula::kAlgorithm, "OPIS", "", "Błędna wartość algorytmu"},
        {SavedFormula::kSelectionSet, "ZASA", "", "Błędna wartość algorytmu"},
        {SavedFormula::kSelectionSet, "CZY .or. NIEMA", "", "Błędna zmienna: NIEMA"},
        // A user function's body runs with its parameters undefined.
        {SavedFormula::kUserFunction, "a + b", "a,b", "Błędny argument oper.: \"+\""},
        {SavedFormula::kUserFunction, "a +", "a", "Błąd syntaktyczny algorytmu"},
        {SavedFormula::kUserFunction, "x", "a,,b", "Błędna lista parametrów"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Test(c.kind, c.text, c.params), Messages{c.message}) << c.text;
}

TEST_F(SaveTest, AUserFunctionBodyMayReturnAnythingAndCallTheOthers) {
    EXPECT_EQ(Test(SavedFormula::kUserFunction, "if(a == NIL, kw(3), a)", "a"), Messages{});
    EXPECT_EQ(Test(SavedFormula::kUserFunction, "\"tekst\"", ""), Messages{});
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, "ZASA\r\n+\r\n 1"), Messages{});
    // The payroll functions are there, as in a recalculation.
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, "STAWKAPOD(1000) + ULGAKS(6000, 1)"), Messages{});
}

TEST_F(SaveTest, FieldsReadByAliasAreThoseOfNoEmployeeAndNoList) {
    Employee("000001", "Nowak");
    Add("PKLISTY", {{"ROK_LST", "2024"}, {"TYP_LST", "P1"}, {"NR_LST", "1"}, {"MC_LST", "01"}});
    // The selection sets' usual reference, on a blank record rather than an error.
    EXPECT_EQ(Test(SavedFormula::kSelectionSet, "pkprac->grupa_alg = \"A\""), Messages{});
    EXPECT_EQ(Test(SavedFormula::kAlgorithm,
                   "if(empty(pkprac->nr_prac) .and. empty(pklisty->rok_lst), 1, \"x\")"),
              Messages{});
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, "if(empty(pkster->rok_), 1, \"x\")"), Messages{});
    // The register stays where it was.
    dbf::WorkArea* prac = tables.workspace().Find("PKPRAC");
    ASSERT_NE(prac, nullptr);
    ASSERT_TRUE(prac->GoTop().ok());
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, "1"), Messages{});
    EXPECT_EQ(prac->recno(), 1u);
}

TEST_F(SaveTest, FunctionsThatCannotBeBoundAreReportedBeforeTheFormula) {
    Function("ZLA", "", "1 +");
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, "zla() + 1"),
              (Messages{"Błędna definicja funkcji \"ZLA\"", "Błędna funkcja: ZLA"}));
}

TEST_F(SaveTest, ACodeThatCannotBeAVariableIsTheOnlyMessage) {
    Add("PKRNB", {{"KOD_NIEOB", "1ZLY"}});
    EXPECT_EQ(Test(SavedFormula::kAlgorithm, "1"),
              Messages{"Błędny kod: \"1ZLY\" w zbiorze PKRNB"});
}

}  // namespace
}  // namespace kestrel::payroll
