#include "payroll/data/applicability.h"

#include <gtest/gtest.h>

namespace kestrel::payroll {
namespace {

// One case of the rule: the component's fields that matter, the list
// symbol's, the list month and the employee's.
struct Case {
    const char* what;
    char kind;
    const char* list_kinds;  // TYP_LISTY
    char group;              // component's GRUPA_ALG
    bool legal;              // component's OS_PRAWNA
    bool non_personal;       // component's BEZOSOB_FP
    const char* symbol;      // the list's TYP_LST, 2 characters
    bool list_legal;         // the symbol's OS_PRAWNA
    bool list_non_personal;  // the symbol's BEZOSOB_FP
    char employee_group;
    const char* hired;  // DATA_ZATR
    Misfit misfit;
};

// The list is of 2024-03 throughout.
constexpr Case kCases[] = {
    {"blank TYP_LISTY: every list symbol", 'A', "", ' ', false, false, "ZZ", false, false, ' ',
     "20200101", Misfit::kNone},

    {"blanks only in TYP_LISTY are blank", 'A', "   ", ' ', false, false, "ZZ", false, false, ' ',
     "20200101", Misfit::kNone},

    {"token A names symbol \"A \" (padded with a blank)", 'A', "A", ' ', false, false, "A ", false,
     false, ' ', "20200101", Misfit::kNone},

    {"token A does not name AB", 'A', "A", ' ', false, false, "AB", false, false, ' ', "20200101",
     Misfit::kListSymbol},

    {"the second token names the symbol", 'K', "P1,A", ' ', false, false, "A ", false, false, ' ',
     "20200101", Misfit::kNone},

    {"blanks around a token", 'K', "P1 , AB", ' ', false, false, "AB", false, false, ' ',
     "20200101", Misfit::kNone},

    {"no token names the symbol", 'K', "P1,P2", ' ', false, false, "P3", false, false, ' ',
     "20200101", Misfit::kListSymbol},

    {"kind I ignores TYP_LISTY", 'I', "P1", ' ', false, false, "P3", false, false, ' ', "20200101",
     Misfit::kNone},

    {"group of the employee", 'A', "", 'B', false, false, "P1", false, false, 'B', "20200101",
     Misfit::kNone},

    {"other group", 'A', "", 'B', false, false, "P1", false, false, 'C', "20200101",
     Misfit::kGroup},

    {"a group against an employee without one", 'A', "", 'B', false, false, "P1", false, false, ' ',
     "20200101", Misfit::kGroup},

    {"kind I ignores GRUPA_ALG", 'I', "", 'B', false, false, "P1", false, false, 'C', "20200101",
     Misfit::kNone},

    {"a legal-person component ignores GRUPA_ALG", 'A', "", 'B', true, false, "PR", true, false,
     'C', "20200101", Misfit::kNone},

    {"legal-person list takes only legal-person components", 'A', "", ' ', false, false, "PR", true,
     false, ' ', "20200101", Misfit::kListKind},

    {"a legal-person component stays off other lists", 'A', "", ' ', true, false, "P1", false,
     false, ' ', "20200101", Misfit::kListKind},

    {"legal-person list: BEZOSOB_FP does not matter", 'A', "", ' ', true, false, "PR", true, true,
     ' ', "20200101", Misfit::kNone},

    {"non-personal component on a non-personal list", 'A', "", ' ', false, true, "UZ", false, true,
     ' ', "20200101", Misfit::kNone},

    {"non-personal component on a personal list", 'A', "", ' ', false, true, "P1", false, false,
     ' ', "20200101", Misfit::kListKind},

    {"personal component on a non-personal list", 'A', "", ' ', false, false, "UZ", false, true,
     ' ', "20200101", Misfit::kListKind},

    {"kind I still follows BEZOSOB_FP", 'I', "", ' ', false, true, "P1", false, false, ' ',
     "20200101", Misfit::kListKind},

    {"hired in the list month", 'K', "", ' ', false, false, "P1", false, false, ' ', "20240331",
     Misfit::kNone},

    {"hired the month after the list month", 'K', "", ' ', false, false, "P1", false, false, ' ',
     "20240401", Misfit::kHired},

    {"hired the year after", 'I', "", ' ', false, false, "P1", false, false, ' ', "20250101",
     Misfit::kHired},

    {"the list kind is reported before the group", 'A', "", 'B', false, true, "P1", false, false,
     'C', "20200101", Misfit::kListKind},
    {"the group is reported before the hire month", 'K', "", 'B', false, false, "P1", false, false,
     'C', "20240401", Misfit::kGroup},
    {"no hire date", 'A', "", ' ', false, false, "P1", false, false, ' ', "", Misfit::kNone},
};

TEST(Applicability, EveryConditionOfTheRule) {
    for (const Case& c : kCases) {
        Component component;
        component.kind = c.kind;
        component.list_kinds = c.list_kinds;
        component.group = c.group;
        component.legal_person = c.legal;
        component.non_personal = c.non_personal;
        ListFacts list;
        list.symbol.symbol = c.symbol;
        list.symbol.legal_person = c.list_legal;
        list.symbol.non_personal = c.list_non_personal;
        list.year = "2024";
        list.month = "03";
        EmployeeFacts employee{c.employee_group, c.hired};
        EXPECT_EQ(MisfitOf(component, list, employee), c.misfit) << c.what;
        EXPECT_EQ(Applies(component, list, employee), c.misfit == Misfit::kNone) << c.what;
    }
}

TEST(Applicability, ListSymbolsNamedByTokens) {
    EXPECT_TRUE(NamesListSymbol("A", "A"));  // a symbol given short is padded too
    EXPECT_TRUE(NamesListSymbol("P1,,A", "A "));
    EXPECT_FALSE(NamesListSymbol("P1,", "  "));  // an empty token names nothing
    EXPECT_FALSE(NamesListSymbol("AB", "A "));
}

}  // namespace
}  // namespace kestrel::payroll
