#include "payroll/data/month_close.h"

#include <gtest/gtest.h>

#include "month_close_test_support.h"

namespace kestrel::payroll {
namespace {

using testing::CloseCompany;
using testing::ScriptedDialog;

CloseResult Close(CloseCompany& c, base::YearMonth to, ScriptedDialog& d) {
    return RunMonthClose(c.h.rt, c.tables, to, ShippedStatutoryValues(), d);
}

bool Seen(const ScriptedDialog& d, const std::string& text) {
    return std::find(d.seen.begin(), d.seen.end(), text) != d.seen.end();
}

// December is followed by January of the next year; the statutory values of
// the new month are written with it, a field without a row for the month
// keeps its value.
TEST(MonthClose, DecemberOpensJanuaryOfTheNextYearWithItsValues) {
    CloseCompany c(2025, 12, {{"MIN_WYN", "4666.00"}, {"POLE_10", "260190.00"}});
    EXPECT_EQ(NextMonth({2025, 12}), (base::YearMonth{2026, 1}));
    ScriptedDialog d;
    const CloseResult r = Close(c, {2026, 1}, d);
    ASSERT_EQ(r.outcome, CloseOutcome::kDone) << ScriptedDialog::U(r.message);
    EXPECT_EQ(c.Month(), "2026.1");
    EXPECT_EQ(c.Field("MIN_WYN"), "4806.00");
    EXPECT_EQ(c.Field("MIN_WYN_G"), "31.40");
    EXPECT_EQ(c.Field("MIN_P_PROK"), "4666.00");
    EXPECT_EQ(c.Field("POLE_10"), "282600.00");
    EXPECT_EQ(c.Field("PW_4_KW_PR"), "9197.79");
    EXPECT_EQ(c.Field("KWOTA_BAZ"), "30.50");  // only January 2022 sets it
    EXPECT_EQ(d.seen, (std::vector<std::string>{
                          "? Zamknąć bieżący miesiąc?", "= Sprawdzenie list płac \"starego\" m-ca",
                          "= Przeliczanie algorytmicznych nieobecn.", "= Koniec procedury"}));
}

TEST(MonthClose, JanuaryTwentyTwentyTwoSetsTheContractRate) {
    CloseCompany c(2021, 12);
    ScriptedDialog d;
    ASSERT_EQ(Close(c, {2022, 1}, d).outcome, CloseOutcome::kDone);
    EXPECT_EQ(c.Field("KWOTA_BAZ"), "19.70");
    EXPECT_EQ(c.Field("POLE_10"), "177660.00");
}

// A month after 2026 has no statutory rows: every field keeps its value.
TEST(MonthClose, AMonthWithoutRowsKeepsTheValues) {
    CloseCompany c(2026, 12, {{"MIN_WYN", "4806.00"}, {"PW_4_KW_PR", "9197.79"}});
    ScriptedDialog d;
    ASSERT_EQ(Close(c, {2027, 1}, d).outcome, CloseOutcome::kDone);
    EXPECT_EQ(c.Month(), "2027.1");
    EXPECT_EQ(c.Field("MIN_WYN"), "4806.00");
    EXPECT_EQ(c.Field("PW_4_KW_PR"), "9197.79");
}

// Every refusal and every "no" is given before anything is written: the
// control record keeps its month and the seniority dates stay.
TEST(MonthClose, RefusalsLeaveTheMonthAndTheRegisterAsTheyWere) {
    struct Case {
        const char* name;
        std::function<void(CloseCompany&, ScriptedDialog&)> setup;
        base::YearMonth to;
        CloseOutcome outcome;
        const char* message;
    } const cases[] = {
        {"open list",
         [](CloseCompany& c, ScriptedDialog&) { c.List("2026", "A", 1, "03", "20260310"); },
         {2026, 4},
         CloseOutcome::kRefused,
         "Istn.aktywna lista płac - przerwanie"},
        {"same month",
         [](CloseCompany&, ScriptedDialog&) {},
         {2026, 3},
         CloseOutcome::kRefused,
         "Ten sam symbol miesiąca"},
        {"unusual month declined",
         [](CloseCompany&, ScriptedDialog& d) { d.answers["Czy poprawny nowy symbol?"] = false; },
         {2026, 6},
         CloseOutcome::kCancelled,
         ""},
        {"out of sequence with the loan fund declined",
         [](CloseCompany& c, ScriptedDialog& d) {
             c.h.rt.config().Set("NAGLKWP", memfile::MemValue::Logical(true));
             d.out_of_sequence = false;
         },
         {2026, 5},
         CloseOutcome::kCancelled,
         ""},
        {"insurance not up to date",
         [](CloseCompany& c, ScriptedDialog&) {
             c.tables.CloseAll();
             c.Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "3"}, {"AKT_ZUS", "F"}}});
         },
         {2026, 4},
         CloseOutcome::kRefused,
         "Brak aktualiz. modułu ZUS wykonaj 6.2."},
        {"close declined",
         [](CloseCompany&, ScriptedDialog& d) { d.answers["Zamknąć bieżący miesiąc?"] = false; },
         {2026, 4},
         CloseOutcome::kCancelled,
         ""},
        {"unprocessed PPK documents declined",
         [](CloseCompany& c, ScriptedDialog& d) {
             c.h.rt.config().Set("NAGLPPK20", memfile::MemValue::Logical(true));
             c.Make("PKJSKLA",
                    {{{"NR_PRAC", "000001"}, {"ROK_", "2026"}, {"MC_", "3"}, {"STATUS_", "1"}}});
             d.answers["Kontynuować ?"] = false;
         },
         {2026, 4},
         CloseOutcome::kCancelled,
         ""},
        {"position not transferred to the tax records",
         [](CloseCompany& c, ScriptedDialog&) {
             c.Add("PKSPL", {{"SKLADN_PL", "BRUT"}, {"TYP_", "K"}, {"TYTUL_WYP", "0001"}});
             c.Add("PKLISTY", {{"ROK_LST", "2026"},
                               {"TYP_LST", "A"},
                               {"NR_LST", "1"},
                               {"MC_LST", "03"},
                               {"DATA_WYP", "20260310"},
                               {"GENER_DOCH", "T"}});
             c.Add("PKPLACE", {{"ROK_LST", "2026"},
                               {"TYP_LST", "A"},
                               {"NR_LST", "1"},
                               {"MC_LST", "03"},
                               {"NR_PRAC", "000002"},
                               {"SKLADN_PL", "BRUT"},
                               {"KWOTA_", "100"}});
         },
         {2026, 4},
         CloseOutcome::kRefused,
         "Poz. NIE przepisana do modułu podatk.    1/A /03/2026 (10.03.2026) 000002"},
        {"seniority date two steps behind",
         [](CloseCompany& c, ScriptedDialog&) {
             c.tables.CloseAll();
             c.Make("PKSTER", {{{"ROK_", "2026"},
                                {"MC_", "3"},
                                {"AKT_ZUS", "T"},
                                {"KROK_DOD_S", "3"},
                                {"PR_DOD_S", "1.0"}}});
             c.Add("PKPRAC", {{"NR_PRAC", "000003"}, {"DATA_STAZ", "20230301"}});
             c.Add("PKPRAC", {{"NR_PRAC", "000004"}, {"DATA_STAZ", "20200401"}});
         },
         {2026, 4},
         CloseOutcome::kRefused,
         "Błędna data \"stażowa\": 2020-04-01"},
    };
    for (const Case& k : cases) {
        CloseCompany c(2026, 3);
        ScriptedDialog d;
        k.setup(c, d);
        c.tables.CloseAll();
        const std::vector<std::string> dates = c.Records("PKPRAC", "DATA_STAZ");
        const CloseResult r = Close(c, k.to, d);
        EXPECT_EQ(r.outcome, k.outcome) << k.name;
        EXPECT_EQ(ScriptedDialog::U(r.message), k.message) << k.name;
        EXPECT_EQ(c.Month(), "2026.3") << k.name;
        EXPECT_EQ(c.Records("PKPRAC", "DATA_STAZ"), dates) << k.name;
        EXPECT_FALSE(Seen(d, "= Przeliczanie algorytmicznych nieobecn.")) << k.name;
    }
}

// The transferred positions, positions of components without an income
// type and lists not written to the tax records let the month close; the
// module warnings do not stop it.
TEST(MonthClose, TransferredListsAndWarningsLetTheMonthClose) {
    CloseCompany c(2026, 3);
    c.h.rt.config().Set("NAGLKWP", memfile::MemValue::Logical(true));
    c.h.rt.config().Set("NAGLPPK20", memfile::MemValue::Logical(true));
    c.Add("PKSPL", {{"SKLADN_PL", "BRUT"}, {"TYP_", "K"}, {"TYTUL_WYP", "0001"}});
    c.Add("PKSPL", {{"SKLADN_PL", "DOWY"}, {"TYP_", "K"}});
    const PayrollList taxed = c.List("2026", "A", 1, "03", "20260310", false);
    c.Add("PKLISTY", {{"ROK_LST", "2026"},
                      {"TYP_LST", "Z"},
                      {"NR_LST", "2"},
                      {"MC_LST", "03"},
                      {"DATA_WYP", "20260310"},
                      {"GENER_DOCH", "F"}});
    c.tables.CloseAll();
    c.Add("PKLISTY", {});
    c.tables.CloseAll();
    // GENER_DOCH of the first list is set, its BRUT transferred.
    {
        dbf::WorkArea& a = c.tables.Open("PKLISTY");
        ASSERT_TRUE(a.Goto(1).ok());
        c.tables.RLock(a);
        ASSERT_TRUE(a.record().SetLogical(a.FieldIndex("GENER_DOCH"), true).ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }
    c.tables.CloseAll();
    c.Add("PKPLACE", {{"ROK_LST", "2026"},
                      {"TYP_LST", "A"},
                      {"NR_LST", "1"},
                      {"MC_LST", "03"},
                      {"NR_PRAC", "000001"},
                      {"SKLADN_PL", "BRUT"},
                      {"KWOTA_", "10"},
                      {"AKT_DOCH", "T"}});
    c.Position(taxed, "000001", "DOWY", 5);  // no income type
    c.Add("PKPLACE", {{"ROK_LST", "2026"},
                      {"TYP_LST", "Z"},
                      {"NR_LST", "2"},
                      {"MC_LST", "03"},
                      {"NR_PRAC", "000002"},
                      {"SKLADN_PL", "BRUT"},
                      {"KWOTA_", "10"}});
    c.tables.CloseAll();
    ScriptedDialog d;
    const CloseResult r = Close(c, {2026, 4}, d);
    ASSERT_EQ(r.outcome, CloseOutcome::kDone) << ScriptedDialog::U(r.message);
    EXPECT_TRUE(Seen(d, "! UWAGA: Brak aktualizacji modułu KZP"));
    EXPECT_TRUE(Seen(d, "! UWAGA: Brak aktualizacji modułu PPK"));
    EXPECT_FALSE(Seen(d, "Istnieją nieprzetworzone dokumenty PPK"));  // no PKJSKLA
    EXPECT_EQ(c.Month(), "2026.4");
}

// A month later than the next one: with the loan fund the four-line warning
// and the password; without it the "Niestandardowa" question.
TEST(MonthClose, MonthsOutOfSequenceAreConfirmed) {
    {
        CloseCompany c(2026, 3);
        c.h.rt.config().Set("NAGLKWP", memfile::MemValue::Logical(true));
        ScriptedDialog d;
        ASSERT_EQ(Close(c, {2026, 6}, d).outcome, CloseOutcome::kDone);
        ASSERT_GE(d.seen.size(), 4u);
        EXPECT_EQ(
            std::vector<std::string>(d.seen.begin(), d.seen.begin() + 4),
            (std::vector<std::string>{"! Przy aktywnej funkcji \"Kasa Zapomogowo Pożyczkowa\"",
                                      "! miesiące należy otwierać sekwencyjnie.",
                                      "! W przeciwnym wypadku, miesięczne stany wkładów i zadłużeń",
                                      "! w \"Kasie\" będą błędne"}));
        EXPECT_EQ(c.Month(), "2026.6");
    }
    for (const base::YearMonth to : {base::YearMonth{2026, 6}, base::YearMonth{2026, 2}}) {
        CloseCompany c(2026, 3);
        ScriptedDialog d;
        ASSERT_EQ(Close(c, to, d).outcome, CloseOutcome::kDone);
        ASSERT_GE(d.seen.size(), 2u);
        EXPECT_EQ(d.seen[0], "\"Niestandardowa\" zmiana");
        EXPECT_EQ(d.seen[1], "? Czy poprawny nowy symbol?");
    }
}

}  // namespace
}  // namespace kestrel::payroll
