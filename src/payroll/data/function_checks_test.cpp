#include "payroll/data/function_checks.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::payroll {
namespace {

using registry::testing::Cp;
using registry::testing::Row;

struct FunctionChecks : ::testing::Test, registry::testing::TestCompany {
    formula::Runtime engine;

    void SetUp() override {
        Make("PKFUNC",
             {Row{{"FUN_", "ren1"}, {"PAR_", ""}}, Row{{"FUN_", "STAWKA"}, {"PAR_", "x"}}});
        Make("PKZEST", {Row{{"ZESTAW_", "etat"}, {"OPIS_", "Etatowi"}}});
        // A function of the payroll library, as the payroll host registers it.
        engine.RegisterFunction("SUMASKLAD", [](formula::Call&) { return true; });
    }
};

TEST_F(FunctionChecks, NamesOfANewUserFunction) {
    const std::pair<const char*, const char*> cases[] = {
        {"premia", ""},
        {"Premia2", ""},
        {"ren2", ""},
        {"abcdefghij", ""},  // ten characters
        {"2premia", "Błędna nazwa funkcji"},
        {"pre_mia", "Błędna nazwa funkcji"},
        {"abcdefghijk", "Błędna nazwa funkcji"},  // eleven
        {"", "Błędna nazwa funkcji"},
        {"str", "Istnieje funkcja o takiej nazwie"},        // a built-in
        {"YROUND", "Istnieje funkcja o takiej nazwie"},     //
        {"substr", "Istnieje funkcja o takiej nazwie"},     //
        {"sumasklad", "Istnieje funkcja o takiej nazwie"},  // the payroll library
        {"REN1", "Istnieje definicja o takiej nazwie"},     // PKFUNC holds "ren1"
        {"stawka", "Istnieje definicja o takiej nazwie"},
    };
    for (const auto& [name, message] : cases)
        EXPECT_EQ(FunctionNameProblem(tables, engine, name), Cp(message)) << name;
}

TEST_F(FunctionChecks, ParameterLists) {
    for (const char* good : {"", "   ", "x", "kwota, stawka", "a,b,c"})
        EXPECT_EQ(ParameterListProblem(h.rt, good), "") << good;
    for (const char* bad : {"x,", ",x", "1a", "a b", "a;b"})
        EXPECT_EQ(ParameterListProblem(h.rt, bad), Cp("Błędna lista parametrów")) << bad;
}

TEST_F(FunctionChecks, SelectionSetSymbolsInAnyCase) {
    EXPECT_EQ(SelectionSetProblem(tables, "ETAT"), Cp("Istnieje zestaw o takim symbolu"));
    EXPECT_EQ(SelectionSetProblem(tables, "etat"), Cp("Istnieje zestaw o takim symbolu"));
    EXPECT_EQ(SelectionSetProblem(tables, "ZLEC"), "");
}

}  // namespace
}  // namespace kestrel::payroll
