#include "payroll/dictionaries.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using registry::testing::Row;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

// A company whose namespace of formula symbols holds one symbol in each
// table, and one component.
struct Namespace : TestCompany {
    Namespace() {
        Make("PKSPL", {Row{{"SKLADN_PL", "ZASA"}, {"NAZWA_", "Zasadnicze"}, {"TYP_", "K"}}});
        Make("PKSRDOD", {Row{{"RODZAJ_DOD", "DFUN"}, {"NAZWA_", "Dodatek funkcyjny"}}});
        Make("PKRNB", {Row{{"KOD_NIEOB", "CH"}, {"NAZWA_", "Chorobowe"}}});
        Make("PKROB", {Row{{"KOD_OB", "NORM"}, {"NAZWA_", "Godziny normalne"}}});
        Make("PKUMTR", {Row{{"NR_POLA", "0001"}, {"TYP_", "N"}, {"KLUCZ_", "staz"}}});
        Make("PKFUNC", {Row{{"FUN_", "prem"}, {"PAR_", ""}}});
        Make("PKOSPL", {Row{{"SKLADN_PL", "OPCJ"}, {"NAZWA_", "Opcjonalny"}}});
    }
};

TEST(ComponentDictionary, ASymbolOfAnotherTableOfTheNamespaceIsRefusedNamingIt) {
    Namespace c;
    // Each new symbol in turn; a four-character symbol is complete when typed.
    for (const char* symbol : {"ZASA", "DFUN", "CH", "NORM", "OPCJ", "STAZ", "PREM"}) {
        c.Keys({key::kIns});
        c.Keys(symbol);
        if (std::string(symbol).size() < 4) c.Keys({key::kEnter});
        c.Keys({key::F(12), key::kEnter});
    }
    c.Keys({key::kEsc});
    Qrm84(c.h.rt);
    EXPECT_EQ(c.messages, (V{"Istnieje rekord o takim kluczu", "Istnieje taki klucz w PKSRDOD",
                             "Istnieje taki klucz w PKRNB", "Istnieje taki klucz w PKROB",
                             "Istnieje taki klucz w PKOSPL", "Istnieje taki klucz w PKUMTR",
                             "Istnieje taki klucz w PKFUNC"}));
    EXPECT_EQ(c.Records("PKSPL", "SKLADN_PL"), V{"ZASA"});  // nothing reserved
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(OptionalComponentDictionary, ASymbolOfAnotherTableOfTheNamespaceIsRefusedNamingIt) {
    Namespace c;
    for (const char* symbol : {"OPCJ", "ZASA", "DFUN", "CH", "NORM", "STAZ", "PREM"}) {
        c.Keys({key::kIns});
        c.Keys(symbol);
        if (std::string(symbol).size() < 4) c.Keys({key::kEnter});
        c.Keys({key::F(12), key::kEnter});
    }
    // A free symbol is taken.
    c.Keys({key::kIns});
    c.Keys("OPC2Drugi opcjonalny");
    c.Keys({key::kEnter, key::kEsc});
    Qrm8A(c.h.rt);
    EXPECT_EQ(c.messages, (V{"Istnieje rekord o takim kluczu", "Istnieje taki klucz w PKSPL",
                             "Istnieje taki klucz w PKSRDOD", "Istnieje taki klucz w PKRNB",
                             "Istnieje taki klucz w PKROB", "Istnieje taki klucz w PKUMTR",
                             "Istnieje taki klucz w PKFUNC"}));
    EXPECT_EQ(c.Records("PKOSPL", "SKLADN_PL"), (V{"OPCJ", "OPC2"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(FunctionDictionary, ANameOfAPayrollFunctionIsRefused) {
    Namespace c;
    // The tax-scale functions are payroll functions, in any case; a built-in
    // one and another definition are refused the same way as before.
    for (const char* name : {"STAWKAPOD", "ulgaks", "str", "PREM"}) {
        c.Keys({key::kIns});
        c.Keys(name);
        c.Keys({key::kEnter, key::F(12), key::kEnter, key::Ctrl('y')});
    }
    c.Keys({key::kEsc, key::kEsc});
    Qrm85(c.h.rt);
    EXPECT_EQ(c.messages,
              (V{"Istnieje funkcja o takiej nazwie", "Istnieje funkcja o takiej nazwie",
                 "Istnieje funkcja o takiej nazwie", "Istnieje definicja o takiej nazwie"}));
    EXPECT_EQ(c.Records("PKFUNC", "FUN_"), V{"prem"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(FunctionDictionary, TheSaveTestOfABodyCallsItWithTheParametersOfItsRecord) {
    TestCompany c;
    c.Make("PKFUNC");
    // x is a parameter: undefined in the test, not an unknown variable.
    c.Keys({key::kIns});
    c.Keys("polowa");
    c.Keys({key::kEnter});
    c.Keys("x");
    c.Keys({key::kEnter});
    c.Keys("if(x == NIL, 0, x/2)");
    c.Keys({key::Ctrl('w'), key::Ctrl('w')});
    // y is not: the test warns, and the body is kept all the same.
    c.Keys({key::kIns});
    c.Keys("zla");
    c.Keys({key::kEnter});
    c.Keys("x");
    c.Keys({key::kEnter});
    c.Keys("y+1");
    c.Keys({key::Ctrl('w'), key::F(12), key::kEnter, key::Ctrl('w'), key::kEsc});
    Qrm85(c.h.rt);
    EXPECT_EQ(c.messages, V{"Błędna zmienna: Y"});
    EXPECT_EQ(c.Records("PKFUNC", "FUN_"), (V{"polowa", "zla"}));
    EXPECT_EQ(c.Records("PKFUNC", "PAR_"), (V{"x", "x"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(ComponentDictionary, SettingMemoryOnlyInTheBrowseForcesAnAlgorithmOffTheList) {
    TestCompany c;
    c.Make("PKSPL", {Row{{"SKLADN_PL", "ZASA"},
                         {"NAZWA_", "Zasadnicze"},
                         {"TYP_", "K"},
                         {"DRUK_", "T"},
                         {"TYTUL_WYP", "0001"},
                         {"ZASILEK_", "T"}}});
    // TYLKO MEM is the 21st column.
    c.Keys({key::kRight, key::kRight, key::kRight, key::kRight, key::kRight, key::kRight,
            key::kRight, key::kRight, key::kRight, key::kRight, key::kRight, key::kRight,
            key::kRight, key::kRight, key::kRight, key::kRight, key::kRight, key::kRight,
            key::kRight, key::kRight, key::kEnter, 'T',         key::kEsc});
    Qrm84(c.h.rt);
    EXPECT_EQ(c.Records("PKSPL", "TYP_"), V{"A"});
    EXPECT_EQ(c.Records("PKSPL", "POZA_LISTA"), V{"T"});
    EXPECT_EQ(c.Records("PKSPL", "DRUK_"), V{"F"});
    EXPECT_EQ(c.Records("PKSPL", "TYTUL_WYP"), V{""});
    EXPECT_EQ(c.Records("PKSPL", "ZASILEK_"), V{"F"});
}

TEST(ComponentDictionary, AnUnknownListSymbolIsRefusedInTheBrowseAndTheFieldKept) {
    TestCompany c;
    c.Make("PKSLST", {Row{{"TYP_LST", "P1"}, {"NAZWA_LST", "Płace"}}});
    c.Make("PKSPL", {Row{{"SKLADN_PL", "ZASA"}, {"TYP_", "K"}, {"TYP_LISTY", "P1"}}});
    // TYPY LIST is the 11th column.
    c.Keys({key::kRight, key::kRight, key::kRight, key::kRight, key::kRight, key::kRight,
            key::kRight, key::kRight, key::kRight, key::kRight, key::kEnter, key::Ctrl('y')});
    c.Keys("P1,P2");
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kEsc, key::kEsc});
    Qrm84(c.h.rt);
    EXPECT_EQ(c.messages, V{"Nieznany typ listy: \"P2\""});
    EXPECT_EQ(c.Records("PKSPL", "TYP_LISTY"), V{"P1"});
}

TEST(ComponentDictionary, AnOperatorWithoutKindFourOnlyBrowses) {
    Namespace c;
    c.h.rt.operators().list_exists = true;
    c.h.rt.operators().rights = 1 | 32;  // kinds 1 and 6: the register's, not the payroll's
    c.Keys({key::kIns, 'N', 'O', 'W', 'Y', key::kDel, key::kEsc});
    Qrm84(c.h.rt);
    EXPECT_EQ(c.Records("PKSPL", "SKLADN_PL"), V{"ZASA"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(ListSymbolDictionary, FieldsOfContractsAreNotAskedForLegalPersons) {
    TestCompany c;
    c.Make("PKSLST");
    c.Keys({key::kIns, 'P', 'R'});
    c.Keys("Osoby prawne");
    // LOCAL_NR, RAZ_NA_MC, group, matrix, BEZOSOB_FP, title, columns, OS_PRAWNA:
    // the form ends there.
    c.Keys(
        {key::kEnter, 'N', 'N', key::kEnter, key::kEnter, 'N', key::kEnter, '3', 'T', key::kEsc});
    Qrm83(c.h.rt);
    EXPECT_EQ(c.Records("PKSLST", "TYP_LST"), V{"PR"});
    EXPECT_EQ(c.Records("PKSLST", "OS_PRAWNA"), V{"T"});
    EXPECT_EQ(c.Records("PKSLST", "IL_KOL_WYD"), V{"3"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

// A new income type through the form: the PIT-11 position decides whether
// the name of part F is asked, and the PIT-4R row takes only its rows.
TEST(IncomeTypeDictionary, TheNameOfPartFIsAskedForItsPositionsAndPit4rTakesItsRows) {
    struct Case {
        const char* why;
        const char* position;  // LP_PIT11Q as typed (Enter follows when short)
        bool asks_name;
        const char* row;  // LP_PIT4RN, first try
        bool row_refused;
        const char* stored_name;
        const char* stored_row;
    };
    const Case cases[] = {
        {"part F asks the name", "F2", true, "3", false, "Premia z zysku", "3"},
        {"part E does not", "E1A", false, "1", false, "", "1"},
        {"a row outside PIT-4R is refused", "G1", false, "7", true, "", "2"},
        {"blank rows are allowed", "", false, "", false, "", ""},
    };
    for (const Case& k : cases) {
        TestCompany c;
        c.Make("PKRDOCH");
        c.Keys({key::kIns});
        c.Keys("0001Pensja");
        // NAZWA_, PODAT_, KOSZT_, KUMUL_, LIMIT_.
        c.Keys({key::kEnter, 'T', 'T', 'T', key::kEnter});
        c.Keys(k.position);
        if (std::string(k.position).size() < 3) c.Keys({key::kEnter});
        c.Keys({key::kEnter, key::kEnter});  // the positions of versions 27 and 26
        if (k.asks_name) {
            c.Keys(k.stored_name);
            c.Keys({key::kEnter});
        }
        c.Keys({'N', key::kEnter});  // PIT-R, PIT-8AR
        c.Keys(k.row);
        if (std::string(k.row).size() < 2) c.Keys({key::kEnter});
        if (k.row_refused) {
            c.Keys({key::F(12), key::kEnter});
            c.Keys(k.stored_row);
            c.Keys({key::kEnter});
        }
        // IFT-1, PIT-8C, IFT-2, % IFT, CIT-10Z, then leave the browse.
        c.Keys({key::kEnter, key::kEnter, key::kEnter, key::kEnter, key::kEnter, key::kEsc});
        Qrm82(c.h.rt);
        EXPECT_EQ(c.Records("PKRDOCH", "TYTUL_WYP"), V{"0001"}) << k.why;
        EXPECT_EQ(c.Records("PKRDOCH", "NAZWA_8C"), V{k.stored_name}) << k.why;
        EXPECT_EQ(c.Records("PKRDOCH", "LP_PIT4RN"), V{k.stored_row}) << k.why;
        EXPECT_EQ(c.messages, k.row_refused ? V{"Błędna wartość"} : V{}) << k.why;
        EXPECT_TRUE(c.h.backend.exhausted()) << k.why;
    }
}

}  // namespace
}  // namespace kestrel::payroll
