#include "worktime/data/formula_host.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "platform/formula/number_format.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

using formula::Value;
using testing::WorkCompany;

// Evaluates `text` over the host's variables; the value in canonical form,
// or the error's message (UTF-8).
std::string Eval(FormulaHost& host, const std::string& text) {
    formula::Program p;
    formula::Error e;
    Value v;
    if (!host.engine().Compile(text, &p, &e) || !host.engine().Evaluate(p, &v, &e))
        return codepage::ToUtf8(e.Message());
    return codepage::ToUtf8(formula::Canonical(v));
}

std::string Abandoned(FormulaHost& host) {
    try {
        host.Prepare();
    } catch (const common::Abandon& e) {
        return codepage::ToUtf8(e.message());
    }
    return "";
}

struct Namespace : WorkCompany {
    Namespace() {
        Code("NORM", "E", 1);
        Code("SUMA", "A", 2, "NORM+1");
        Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
        Add("PKSRDOD", {{"RODZAJ_DOD", "DSTA"}});
        Add("PKSRDOD", {{"RODZAJ_DOD", "DFUN"}});
    }
};

TEST(FormulaHost, EveryCodeAndSymbolIsAZeroVariableAndAbsencesHaveEmptyLists) {
    Namespace c;
    FormulaHost host(c.h.rt, c.tables);
    EXPECT_TRUE(host.Prepare().empty());
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "NORM+SUMA+CHOR+DSTA+DFUN"), "0");
    EXPECT_EQ(Eval(host, "valtype(YTBCHOR)+str(len(YTBCHOR),1)"), "\"A0\"");
    EXPECT_EQ(Eval(host, "YTBNORM"), "Błędna zmienna: YTBNORM");
}

// The schedule functions are the host's: without PKSZMIA or PKINGPR open
// they report that there is no record.
TEST(FormulaHost, TheScheduleFunctionsAreRegistered) {
    Namespace c;
    FormulaHost host(c.h.rt, c.tables);
    EXPECT_TRUE(host.Prepare().empty());
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "CZASPR379()"), "\"     \"");
    EXPECT_EQ(Eval(host, "CZASNOMIN()+CZASNADLI()+CZASPOZOS()"), "-3");
}

TEST(FormulaHost, AnAssignedValueOrListDoesNotReachTheNextEmployee) {
    Namespace c;
    FormulaHost host(c.h.rt, c.tables);
    host.Prepare();
    formula::Program p;
    formula::Error e;
    // Compiled once, evaluated for two employees.
    ASSERT_TRUE(
        host.engine().Compile("NORM := NORM + 5, aadd(YTBCHOR, 1), len(YTBCHOR)*100+NORM", &p, &e));
    Value v;
    host.LoadEmployee("000001", c.month);
    ASSERT_TRUE(host.engine().Evaluate(p, &v, &e));
    EXPECT_EQ(v.number(), 105);
    ASSERT_TRUE(host.engine().Evaluate(p, &v, &e));
    EXPECT_EQ(v.number(), 210);
    host.LoadEmployee("000002", c.month);
    ASSERT_TRUE(host.engine().Evaluate(p, &v, &e));
    EXPECT_EQ(v.number(), 105);
}

TEST(FormulaHost, StandingAllowancesCountOnlyInTheirMonths) {
    Namespace c;  // settlement month 2026-03
    c.Add("PKDOD",
          {{"NR_PRAC", "000001"}, {"RODZAJ_DOD", "DSTA"}, {"WARTOSC_", "150.50"}, {"LP_", "1"}});
    // Time-limited: one range ending in February, one from March to June 2026.
    c.Add("PKDOD", {{"NR_PRAC", "000001"},
                    {"RODZAJ_DOD", "DFUN"},
                    {"WARTOSC_", "11"},
                    {"CZASOWY_", "T"},
                    {"OD_ROK", "2025"},
                    {"OD_MC", "6"},
                    {"ROK_DO", "2026"},
                    {"MC_DO", "2"},
                    {"LP_", "2"}});
    c.Add("PKDOD", {{"NR_PRAC", "000001"},
                    {"RODZAJ_DOD", "DFUN"},
                    {"WARTOSC_", "22"},
                    {"CZASOWY_", "T"},
                    {"OD_ROK", "2026"},
                    {"OD_MC", "3"},
                    {"ROK_DO", "2026"},
                    {"MC_DO", "6"},
                    {"LP_", "3"}});
    c.Add("PKDOD",
          {{"NR_PRAC", "000002"}, {"RODZAJ_DOD", "DSTA"}, {"WARTOSC_", "7"}, {"LP_", "1"}});
    FormulaHost host(c.h.rt, c.tables);
    host.Prepare();
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "DSTA"), "150.50");
    EXPECT_EQ(Eval(host, "DFUN"), "22.00");
    host.LoadEmployee("000001", {2026, 7});
    EXPECT_EQ(Eval(host, "DFUN"), "0");
    host.LoadEmployee("000001", {2026, 2});
    EXPECT_EQ(Eval(host, "DFUN"), "11.00");
    host.LoadEmployee("000002", c.month);
    EXPECT_EQ(Eval(host, "DSTA+DFUN"), "7.00");
    host.LoadEmployee("000003", c.month);
    EXPECT_EQ(Eval(host, "DSTA+DFUN"), "0");
}

TEST(FormulaHost, ResetGivesBackTheLoadedValuesWithoutReadingAgain) {
    Namespace c;
    c.Add("PKDOD",
          {{"NR_PRAC", "000001"}, {"RODZAJ_DOD", "DSTA"}, {"WARTOSC_", "9"}, {"LP_", "1"}});
    FormulaHost host(c.h.rt, c.tables);
    host.Prepare();
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "DSTA := DSTA * 2, aadd(YTBCHOR, 1), DSTA"), "18.00");
    // The allowance is gone from the table, but the loaded employee keeps it.
    dbf::WorkArea& dod = *c.tables.workspace().Find("PKDOD");
    dod.GoTop();
    c.tables.RLock(dod);
    dod.Delete();
    dod.Unlock();
    host.Reset();
    EXPECT_EQ(Eval(host, "str(DSTA,5,2)+str(len(YTBCHOR),2)"), "\" 9.00 0\"");
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "DSTA"), "0");
}

TEST(FormulaHost, UserFunctionsAreBoundWithoutLineBreaksOrReported) {
    Namespace c;
    // The memo editor's soft line break (141) and a CR LF inside the body.
    c.Add("PKFUNC",
          {{"FUN_", "podwoj"},
           {"PAR_", "x"},
           {"WZOR_",
            "x*\r\n2+\x8d\n"
            "0"}},
          false);
    c.Add("PKFUNC", {{"FUN_", "zla"}, {"PAR_", ""}, {"WZOR_", "1+"}});
    c.Add("PKFUNC", {{"FUN_", "1ZLA"}, {"PAR_", ""}, {"WZOR_", "1"}});
    c.Add("PKFUNC", {{"FUN_", "NORM"}, {"PAR_", ""}, {"WZOR_", "1"}});  // a code's name
    FormulaHost host(c.h.rt, c.tables);
    std::vector<std::string> got;
    for (const std::string& m : host.Prepare()) got.push_back(codepage::ToUtf8(m));
    EXPECT_EQ(got, (std::vector<std::string>{"Błędna nazwa funkcji \"1ZLA\"",
                                             "Błędna definicja funkcji \"zla\""}));
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "podwoj(21)"), "42");
    EXPECT_EQ(Eval(host, "NORM()"), "Błędna funkcja: NORM");
    EXPECT_EQ(Eval(host, "zla()"), "Błędna funkcja: ZLA");
}

TEST(FormulaHost, ASymbolThatCannotBeAVariableStopsWithItsTable) {
    {
        Namespace c;
        c.Add("PKRNB", {{"KOD_NIEOB", "1AB"}});
        FormulaHost host(c.h.rt, c.tables);
        EXPECT_EQ(Abandoned(host), "Błędny kod: \"1AB\" w zbiorze PKRNB");
    }
    {
        Namespace c;
        c.Add("PKSRDOD", {{"RODZAJ_DOD", "D-1"}});
        FormulaHost host(c.h.rt, c.tables);
        EXPECT_EQ(Abandoned(host), "Błędny kod: \"D-1\" w zbiorze PKSRDOD");
    }
}

struct Extended : Namespace {
    Extended() : Namespace() {
        for (const char* t : {"PKUMTR", "PKUPRC", "PKUSLW"}) Make(t);
        Field("001", "N", "LICZBA", 6, false, 1);
        Field("002", "D", "DATA_UM", 8);
        Field("003", "L", "CZY", 1);
        Field("004", "S", "STREFA", 4);
        Field("005", "C", "OPIS", 5);
        Field("006", "K", "", 0);
        Field("007", "O", "", 0);
        Field("008", "N", "KWOTY", 8, true);
        Field("009", "C", "NAZWY", 3, true);
        Add("PKUSLW", {{"KLUCZ_", "STREFA"}, {"WART_", "S1"}, {"NAZWA_", "Strefa pierwsza"}});
        Value("000001", "LICZBA", 0, "12.5");
        Value("000001", "DATA_UM", 0, "20260131");
        Value("000001", "CZY", 0, "t");
        Value("000001", "STREFA", 0, "S1");
        Value("000001", "OPIS", 0, "abcdefgh");
        Value("000001", "KWOTY", 1, "10");
        Value("000001", "NAZWY", 1, "aaa");
        Value("000001", "KWOTY", 2, "20");
        Value("000001", "NAZWY", 2, "bbb");
        Value("000001", "KWOTY", 3, "30");  // row 3 lacks NAZWY
    }
    void Field(const char* nr, const char* type, const char* key, int width, bool sub = false,
               int dec = 0) {
        Add("PKUMTR", {{"NR_POLA", nr},
                       {"TYP_", type},
                       {"OPIS_", "Pole"},
                       {"KLUCZ_", key},
                       {"SZER_", std::to_string(width)},
                       {"DEC_", std::to_string(dec)},
                       {"SUB_POLE", sub ? "T" : "F"}});
    }
    void Value(const char* nr, const char* key, int lp, const char* text) {
        Add("PKUPRC",
            {{"NR_PRAC", nr}, {"KLUCZ_", key}, {"LP_", std::to_string(lp)}, {"TRESC_", text}});
    }
};

TEST(FormulaHost, ExtendedValuesAreVariablesOfTheirTypes) {
    Extended c;
    FormulaHost host(c.h.rt, c.tables);
    host.Prepare();
    host.LoadEmployee("000001", c.month);
    EXPECT_EQ(Eval(host, "LICZBA*2"), "25.0");
    EXPECT_EQ(Eval(host, "DATA_UM"), "2026-01-31");
    EXPECT_EQ(Eval(host, "CZY"), ".T.");
    EXPECT_EQ(Eval(host, "STREFA+\"/\"+XSTREFA"), "\"S1  /Strefa pierwsza\"");
    EXPECT_EQ(Eval(host, "OPIS"), "\"abcde\"");
    // The repeating record has two complete rows.
    EXPECT_EQ(Eval(host, "KWOTY"), "{10, 20}");
    EXPECT_EQ(Eval(host, "NAZWY"), "{\"aaa\", \"bbb\"}");
    host.LoadEmployee("000002", c.month);
    EXPECT_EQ(Eval(host, "str(LICZBA,1)+valtype(DATA_UM)+dtos(DATA_UM)+iif(CZY,\"T\",\"F\")"),
              "\"0D        F\"");  // dtos() of the empty date is blank
    EXPECT_EQ(Eval(host, "len(KWOTY)"), "0");
}

TEST(FormulaHost, AnExtendedKeyThatCannotBeAVariableStops) {
    Extended c;
    c.Field("010", "N", "9ZLY", 3);
    FormulaHost host(c.h.rt, c.tables);
    EXPECT_EQ(Abandoned(host), "Błędny klucz: \"9ZLY\" w PKUMTR");
}

}  // namespace
}  // namespace kestrel::worktime
