#include "insurance/data/insurance_transfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "insurance_company.h"

namespace kestrel::insurance {
namespace {

using payroll::PayrollList;
using testing::InsCompany;

using Lines = std::vector<std::string>;

const std::vector<std::string> kSklad = {"NR_PRAC",    "TYT_UBEZP", "UMOWA_DEKL", "POD_EM_REN",
                                         "KWO_E_PRAC", "POD_ZDROW", "WYP_MC_P"};
const std::vector<std::string> kPodst = {"NR_PRAC", "TYT_UBEZP", "ZA_ROK", "POD_EM_REN",
                                         "NIE_SKLADK"};
const std::vector<std::string> kOkres = {"NR_PRAC", "TYT_UBEZP", "DATA_OD",
                                         "DO_DATA", "WYMIAR_L",  "WYMIAR_M"};
const std::vector<std::string> kZasil = {"NR_PRAC",  "TYT_UBEZP",  "KOD_NIEOB", "LP_",
                                         "NR_LST",   "OD_DZIEN",   "DZIEN_DO",  "ILOSC_DNI",
                                         "ZASILEK_", "KOD_SW_PRZ", "ROK_ZUS",   "MC_ZUS"};
const std::vector<std::string> kSkwn = {"NR_PRAC", "TYT_UBEZP", "KOD_WYNAGR", "LP_", "KWOTA_"};
const std::vector<std::string> kWynag = {"NR_PRAC", "WYNAGR_",   "DN_PRZEPR",
                                         "AKTYWN_", "PRZEL_WYN", "NIE_AKT_62"};

// The small company of March 2026: two employees on list 2026/A/1, a sick
// absence and unpaid leave of the first, a working-time change of the
// second on the 16th.
void Fill(InsCompany& c) {
    c.Algorithms();
    c.Position(c.list, "000001", "ZASD", 5000);
    c.Position(c.list, "000001", "ZCHO", 300);
    c.Position(c.list, "000002", "ZASD", 4000);
    c.Away("000001", 1, "CH", 10, 14);
    c.Away("000001", 2, "BZ", 20, 21);
    c.Add("PKZMPRC", {{"NR_PRAC", "000002"},
                      {"NAZWA_POLA", "ETAT_M"},
                      {"DATA_DO", "20260315"},
                      {"WARTOSC_", "2"}});
}

std::map<std::string, Lines> Everything(InsCompany& c) {
    return {{"PKSKLAD", c.Dump("PKSKLAD", kSklad)}, {"PKPODST", c.Dump("PKPODST", kPodst)},
            {"PKOKRES", c.Dump("PKOKRES", kOkres)}, {"PKZASIL", c.Dump("PKZASIL", kZasil)},
            {"PKKSKWN", c.Dump("PKKSKWN", kSkwn)},  {"PKWYNAG", c.Dump("PKWYNAG", kWynag)}};
}

struct Watch : TransferObserver {
    Lines shown;
    std::function<bool()> interrupt;
    void Employee(const std::string& employee, const std::string& title) override {
        shown.push_back(employee + "/" + title);
    }
    bool Interrupted() override { return interrupt && interrupt(); }
};

TEST(InsuranceTransfer, BuildsTheMonthsRecordsFromTheFixtureAlgorithms) {
    InsCompany c;
    Fill(c);
    c.SetFlag("AKT_ZUS", false);
    Watch watch;
    const TransferOutcome out = c.Run(&watch);
    ASSERT_EQ(c.message, "");
    EXPECT_TRUE(out.completed);
    EXPECT_FALSE(out.check_algorithms);
    EXPECT_EQ(out.employees, 2);
    EXPECT_EQ(out.records, 13);
    EXPECT_TRUE(c.Flag("AKT_ZUS"));
    EXPECT_TRUE(c.Flag("NIE_SPR"));
    // The blank title comes last for every employee.
    EXPECT_EQ(watch.shown,
              (Lines{"000001/011000", "000001/      ", "000002/011001", "000002/      "}));
    const std::map<std::string, Lines> all = Everything(c);
    EXPECT_EQ(all.at("PKSKLAD"), (Lines{"000001 011000 U 5000.00 488.00 5300.00 F",
                                        "000002 011001 U 4000.00 390.40 4000.00 F"}));
    EXPECT_EQ(all.at("PKPODST"),
              (Lines{"000001 011000 2026 5000.00 300.00", "000002 011001 2026 4000.00 0.00"}));
    // Unpaid leave interrupts the first; the second worked half time until
    // the change of the 16th.
    EXPECT_EQ(all.at("PKOKRES"), (Lines{"000001 011000 20260301 20260319 100 100",
                                        "000001 011000 20260322 20260331 100 100",
                                        "000002 011001 20260301 20260315 50 100",
                                        "000002 011001 20260316 20260331 100 100"}));
    EXPECT_EQ(all.at("PKZASIL"), (Lines{"000001 011000 CH 1 0 10 14 5 300.00 331 2026 3"}));
    EXPECT_EQ(all.at("PKKSKWN"),
              (Lines{"000001 011000 01 1 5000.00", "000002 011001 01 1 4000.00"}));
    EXPECT_EQ(all.at("PKWYNAG"),
              (Lines{"000001 5300.00 21 T 5000.00 F", "000002 4000.00 21 T 4000.00 F"}));
}

TEST(InsuranceTransfer, ARerunGivesTheSameRecordsOnTheSameRecordNumbers) {
    InsCompany c;
    Fill(c);
    ASSERT_EQ(c.Run().records, 13);
    const std::map<std::string, Lines> once = Everything(c);
    std::map<std::string, size_t> sizes;
    for (const std::string& t : RecordTables()) sizes[t] = c.RecordCount(t);
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(c.Run().records, 13);
        EXPECT_EQ(Everything(c), once);
        for (const std::string& t : RecordTables()) EXPECT_EQ(c.RecordCount(t), sizes[t]) << t;
    }
}

TEST(InsuranceTransfer, LockedRecordsStayAsTheyAreThroughReruns) {
    InsCompany c;
    Fill(c);
    ASSERT_EQ(c.Run().message, "");
    c.Change("PKSKLAD", "000001", {{"POD_EM_REN", "1234"}, {"KOREKTA_", "T"}, {"NIE_AKT_62", "T"}});
    c.Change("PKWYNAG", "000001", {{"NIE_AKT_62", "T"}});
    c.Change("PKOKRES", "000002", {{"WYMIAR_L", "77"}, {"NIE_AKT_62", "T"}});
    c.Change("PKSKLAD", "000002", {{"POD_EM_REN", "1"}, {"KOREKTA_", "T"}});
    // Only the corrected record that is not locked is to be replaced.
    EXPECT_EQ(PreviewTransfer(c.h.rt, c.tables).corrected_unlocked, 1);
    c.tables.CloseAll();
    for (int run = 0; run < 2; ++run) {
        const TransferOutcome out = c.Run();
        ASSERT_EQ(c.message, "");
        EXPECT_EQ(out.records, 13 - 1 - 1 - 2);
        EXPECT_EQ(c.Dump("PKSKLAD", kSklad), (Lines{"000001 011000 U 1234.00 488.00 5300.00 F",
                                                    "000002 011001 U 4000.00 390.40 4000.00 F"}));
        // Both passes leave the locked totals alone: the second pass does
        // not add the list's pay again.
        EXPECT_EQ(c.Dump("PKWYNAG", kWynag),
                  (Lines{"000001 5300.00 21 T 5000.00 T", "000002 4000.00 21 T 4000.00 F"}));
        EXPECT_EQ(c.Dump("PKOKRES", {"NR_PRAC", "WYMIAR_L"}),
                  (Lines{"000001 100", "000001 100", "000002 77", "000002 77"}));
    }
    // The replaced record no longer carries the correction mark.
    EXPECT_EQ(PreviewTransfer(c.h.rt, c.tables).corrected_unlocked, 0);
}

TEST(InsuranceTransfer, EveryFailureEndsTheRunWithItsMessageAndTheMonthNotTransferred) {
    struct Case {
        const char* message;
        std::function<void(InsCompany&)> make;
    };
    auto sklad = [](const std::string& field, const std::string& formula) {
        return [=](InsCompany& c) { c.Add("PKASKLD", {{"TYT_PODM_P", "01"}, {field, formula}}); };
    };
    const Case cases[] = {
        {"Błąd syntaktyczny algorytmu", sklad("KWO_E_PRAC", "ZASD+")},
        {"Błędna zmienna: NIEMA", sklad("KWO_E_PRAC", "NIEMA*2")},
        {"Błąd: POD_EM_REN=\"abc\"", sklad("POD_EM_REN", "\"abc\"")},
        {"Błąd: UMOWA_DEKL=12.00", sklad("UMOWA_DEKL", "12")},
        {"Błędny warunek PKASKLD", sklad("WARUNEK_", "ZASD")},
        {"Błędny warunek PKAPDST",
         [](InsCompany& c) {
             c.Add("PKAPDST", {{"TYT_PODM_P", "01"}, {"WARUNEK_", "1"}});
         }},
        {"Błędny warunek PKAOKRN",
         [](InsCompany& c) {
             c.Add("PKAOKRN", {{"TYT_PODM_P", "01"}, {"WARUNEK_", "\"x\""}});
         }},
        {"Błędny warunek PKAWYNG",
         [](InsCompany& c) {
             c.Add("PKAWYNG", {{"WARUNEK_", "2"}});
         }},
        {"Zdublowany tytuł ubezpieczenia",
         [](InsCompany& c) {
             c.Add("PKKTYUB", {{"NR_PRAC", "000002"},
                               {"LP_", "1"},
                               {"TYTUL_PODM", "0411"},
                               {"DATA_OD", "20260101"},
                               {"DO_DATA", "20260310"}});
             c.Add("PKKTYUB", {{"NR_PRAC", "000002"},
                               {"LP_", "2"},
                               {"TYTUL_PODM", "0411"},
                               {"DATA_OD", "20260301"}});
         }},
        {"Błędny tytuł ubezpieczenia",
         [](InsCompany& c) {
             c.Change("PKPRAC", "000002", {{"TYTUL_EMER", "5"}});
         }},
        {"Błędny tytuł ubezpieczenia",
         [](InsCompany& c) {
             c.Change("PKPRAC", "000002", {{"TYTUL_PODM", "0910"}});
         }},
        {"Błędny składnik: \"XXXX\" w zbiorze PKAZASL",
         [](InsCompany& c) {
             c.Add("PKAZASL", {{"TYT_PODM_P", "01"}, {"SKLADN_PL", "XXXX"}});
         }},
        {"Błędny składnik: \"\" w zbiorze PKAZASL",
         [](InsCompany& c) {
             c.Add("PKAZASL", {{"TYT_PODM_P", "01"}});
         }},
        {"Błędny kod wynagrodzenia w PKASKWN",
         [](InsCompany& c) {
             c.Add("PKASKWN", {{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "99"}});
         }},
        {"Błędna wartość KWOTA_",
         [](InsCompany& c) {
             c.Add("PKASKWN", {{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "01"}, {"KWOTA_", "\"x\""}});
         }},
        {"Błędna wartość DATA_OD",
         [](InsCompany& c) {
             c.Add("PKASKWN", {{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "01"}, {"DATA_OD", "5"}});
         }},
        {"Błędna wartość DO_DATA",
         [](InsCompany& c) {
             c.Add("PKASKWN", {{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "01"}, {"DO_DATA", ".T."}});
         }},
    };
    for (const Case& k : cases) {
        InsCompany c;
        c.Position(c.list, "000001", "ZASD", 5000);
        c.Position(c.list, "000002", "ZASD", 4000);
        k.make(c);
        c.SetFlag("AKT_ZUS", true);
        c.SetFlag("NIE_SPR", false);
        c.h.rt.config().Set("NAGLPR25", memfile::MemValue::Logical(false));
        const TransferOutcome out = c.Run();
        EXPECT_EQ(c.message, k.message);
        EXPECT_FALSE(out.completed) << k.message;
        EXPECT_FALSE(c.Flag("AKT_ZUS")) << k.message;
        EXPECT_TRUE(c.Flag("NIE_SPR")) << k.message;
        // The switches forced for the contributions are back.
        EXPECT_FALSE(c.h.rt.config().Logical("NAGLPR25", true)) << k.message;
        EXPECT_FALSE(c.h.rt.config().Find("NAGLMINPR6").has_value()) << k.message;
    }
}

TEST(InsuranceTransfer, TheSwitchesAreForcedForTheContributionsAlone) {
    InsCompany c;
    c.Position(c.list, "000001", "ZASD", 5000);
    c.h.rt.config().Set("NAGLPR25", memfile::MemValue::Logical(false));
    c.h.rt.config().Set("NAGLZPCH", memfile::MemValue::Logical(true));
    const std::string seen = "if(NAGLPR25,1,0)+if(NAGLZPCH,10,0)+if(NAGLMINPR6,100,0)";
    c.Add("PKASKLD", {{"TYT_PODM_P", "01"}, {"WARUNEK_", "ZASD>0"}, {"POD_EM_REN", seen}});
    c.Add("PKAWYNG", {{"WARUNEK_", "ZASD>0"}, {"WYNAGR_", "if(NAGLPR25,1,0)+if(NAGLZPCH,10,0)"}});
    ASSERT_EQ(c.Run().message, "");
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "POD_EM_REN"}), (Lines{"000001 1.00"}));
    EXPECT_EQ(c.Dump("PKWYNAG", {"NR_PRAC", "WYNAGR_"}), (Lines{"000001 10.00"}));
    EXPECT_FALSE(c.h.rt.config().Logical("NAGLPR25", true));
    EXPECT_TRUE(c.h.rt.config().Logical("NAGLZPCH"));
}

TEST(InsuranceTransfer, TheLeftAreDeclaredUnder3000AndLegalPersonsNotAtAll) {
    InsCompany c;
    c.Algorithms();
    c.Change("PKPRAC", "000002", {{"DATA_ZWOLN", "20260220"}});
    c.Worker("000003", {{"OS_PRAWNA", "T"}, {"TYTUL_PODM", "0110"}});
    c.Position(c.list, "000001", "ZASD", 5000);
    c.Position(c.list, "000002", "ZASD", 700);
    c.Position(c.list, "000003", "ZASD", 900);
    const TransferOutcome out = c.Run();
    ASSERT_EQ(c.message, "");
    EXPECT_EQ(out.employees, 2);
    // Declared under "3000" by the algorithms of his own group "01".
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "TYT_UBEZP", "UMOWA_DEKL", "POD_EM_REN"}),
              (Lines{"000001 011000 U 5000.00", "000002 300001 U 700.00"}));
    EXPECT_EQ(c.Dump("PKWYNAG", {"NR_PRAC"}), (Lines{"000001", "000002"}));
}

TEST(InsuranceTransfer, AnAdditionalTitleGetsItsOwnRecordsAndTheBlankTitleNeedsNoCodes) {
    InsCompany c;
    c.Algorithms();
    c.Add("PKASKLD", {{"TYT_PODM_P", "  "}, {"WARUNEK_", "ZCHO>0"}, {"POD_ZDROW", "ZCHO"}});
    c.Add("PKKTYUB", {{"NR_PRAC", "000001"},
                      {"LP_", "1"},
                      {"TYTUL_PODM", "0411"},
                      {"DATA_OD", "20260301"},
                      {"DO_DATA", "20260331"}});
    // No title and no pension or disability code: only the blank title.
    c.Worker("000003", {{"DATA_ZATR", "20260101"}});
    c.Position(c.list, "000001", "ZASD", 5000);
    c.Position(c.list, "000001", "ZLEC", 800);
    c.Position(c.list, "000003", "ZCHO", 50);
    ASSERT_EQ(c.Run().message, "");
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "TYT_UBEZP", "UMOWA_DEKL", "POD_EM_REN", "POD_ZDROW"}),
              (Lines{"000001 011000 U 5000.00 5000.00", "000001 041100 D 800.00 0.00",
                     "000003   0.00 50.00"}));
}

TEST(InsuranceTransfer, AListOfTheMonthPaidInThePreviousMonthRebuildsThatMonth) {
    for (const bool wppm : {true, false}) {
        InsCompany c;
        c.Algorithms();
        c.h.rt.config().Set("NAGLWPPM", memfile::MemValue::Logical(wppm));
        const PayrollList feb = c.List("2026", "A", 3, "02", "20260225", false);
        const PayrollList early = c.List("2026", "A", 2, "03", "20260227", false);
        c.Position(feb, "000002", "ZASD", 3500);
        c.Position(early, "000001", "ZASD", 1000);
        c.Position(c.list, "000001", "ZASD", 5000);
        for (const auto& [nr, title, base] :
             {std::tuple{"000001", "011000", "777"}, std::tuple{"000002", "011001", "3500"}})
            c.Add("PKSKLAD", {{"NR_PRAC", nr},
                              {"ROK_", "2026"},
                              {"MC_", "2"},
                              {"TYT_UBEZP", title},
                              {"POD_EM_REN", base}});
        ASSERT_EQ(c.Run().message, "");
        const std::vector<std::string> fields = {"NR_PRAC", "POD_EM_REN", "WYP_MC_P"};
        if (wppm)
            EXPECT_EQ(c.Dump("PKSKLAD", fields, 2026, 2),
                      (Lines{"000001 1000.00 T", "000002 3500.00 T"}));
        else
            EXPECT_EQ(c.Dump("PKSKLAD", fields, 2026, 2),
                      (Lines{"000001 777.00 F", "000002 3500.00 F"}));
        EXPECT_EQ(c.Dump("PKSKLAD", fields), (Lines{"000001 5000.00 F"})) << wppm;
        EXPECT_EQ(c.RecordCount("PKSKLAD"), 3u) << wppm;  // February's records reused
    }
}

TEST(InsuranceTransfer, BenefitLinesOfAComponentAreDeclaredInTheirPaymentMonth) {
    InsCompany c;
    c.Algorithms();
    c.Add("PKAZASL",
          {{"TYT_PODM_P", "01"}, {"SKLADN_PL", "ZCHO"}, {"GENER_DNI", "T"}, {"ZASILEK_", "ZCHO"}});
    const PayrollList july = c.List("2026", "B", 4, "03", "20260710", false);
    const PayrollList april = c.List("2026", "B", 5, "03", "20260405", false);
    c.Position(c.list, "000001", "ZCHO", 300);
    c.Position(july, "000001", "ZCHO", 200);
    c.Position(april, "000001", "ZCHO", 0);  // nothing paid: no line
    ASSERT_EQ(c.Run().message, "");
    EXPECT_EQ(c.Dump("PKZASIL", kZasil), (Lines{"000001 011000  1 1 1 31 31 300.00  2026 3",
                                                "000001 011000  2 4 1 31 31 200.00  2026 7"}));
}

TEST(InsuranceTransfer, AbsencesOfOneCodeMakeOneLineWhenOnceAMonth) {
    InsCompany c;
    c.Algorithms();
    c.Add("PKAZASL", {{"TYT_PODM_P", "01"}, {"KOD_NIEOB", "OP"}, {"ZAST_NIEOB", "CH"}});
    c.Add(
        "PKAZASL",
        {{"TYT_PODM_P", "01"}, {"KOD_NIEOB", "WY"}, {"RAZ_NA_MC", "T"}, {"KOD_SW_PRZ", "\"350\""}});
    c.Add("PKRNB", {{"KOD_NIEOB", "OP"}, {"NAZWA_", "Opieka"}, {"DEKL_ZUS", "T"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "WY"}, {"NAZWA_", "Wychowawczy"}, {"DEKL_ZUS", "T"}});
    c.Add("PKRNB",
          {{"KOD_NIEOB", "ZZ"}, {"NAZWA_", "Zlecenia"}, {"DEKL_ZUS", "T"}, {"TYT_PODM_P", "04"}});
    c.Position(c.list, "000001", "ZCHO", 300);
    c.Away("000001", 1, "WY", 20, 22);
    c.Away("000001", 2, "CH", 10, 11);
    c.Away("000001", 3, "WY", 2, 3);
    c.Away("000001", 4, "OP", 5, 6);  // reported under the row of CH
    c.Away("000001", 5, "ZZ", 7, 7);  // of another title group
    ASSERT_EQ(c.Run().message, "");
    EXPECT_EQ(c.Dump("PKZASIL", kZasil), (Lines{"000001 011000 CH 1 0 5 6 2 300.00 331 2026 3",
                                                "000001 011000 CH 2 0 10 11 2 300.00 331 2026 3",
                                                "000001 011000 WY 1 0 2 22 5 0.00 350 2026 3"}));
}

TEST(InsuranceTransfer, StoppedByTheOperatorTheMonthStaysNotTransferred) {
    InsCompany c;
    Fill(c);
    c.SetFlag("AKT_ZUS", true);
    Watch watch;
    watch.interrupt = [] { return true; };
    const TransferOutcome out = c.Run(&watch);
    EXPECT_TRUE(out.interrupted);
    EXPECT_FALSE(out.completed);
    EXPECT_FALSE(c.Flag("AKT_ZUS"));
    EXPECT_EQ(c.Dump("PKSKLAD", kSklad), Lines{});
}

TEST(InsuranceTransfer, TheEndDeletesThePrintFilesAndAsksForTheCheckWhenThereAreChecks) {
    for (const bool checks : {false, true}) {
        InsCompany c;
        Fill(c);
        if (checks) c.Add("PKASPRZ", {{"SYMB_ALG", "S1"}, {"OPIS_ALG", "Suma"}});
        for (const char* name : {"TEMP01.PRT", "temp2.prt", "TEMPX.TXT", "XTEMP.PRT"})
            std::ofstream(c.dir.File(name)) << "x";
        const TransferOutcome out = c.Run();
        ASSERT_TRUE(out.completed);
        EXPECT_EQ(out.check_algorithms, checks);
        EXPECT_FALSE(std::filesystem::exists(c.dir.File("TEMP01.PRT")));
        EXPECT_FALSE(std::filesystem::exists(c.dir.File("temp2.prt")));
        EXPECT_TRUE(std::filesystem::exists(c.dir.File("TEMPX.TXT")));
        EXPECT_TRUE(std::filesystem::exists(c.dir.File("XTEMP.PRT")));
    }
}

TEST(InsuranceTransfer, AUserFunctionThatDoesNotCompileEndsTheRunWhenTheOperatorSaysSo) {
    for (const bool go_on : {true, false}) {
        InsCompany c;
        Fill(c);
        c.Function("stawka", "", "0.0976+");  // does not compile
        struct : TransferObserver {
            bool answer = true;
            std::vector<std::string> shown;
            bool FunctionError(const std::string& m) override {
                shown.push_back(codepage::ToUtf8(m));
                return answer;
            }
        } watch;
        watch.answer = go_on;
        const TransferOutcome out = c.Run(&watch);
        EXPECT_EQ(watch.shown, (Lines{"Błędna definicja funkcji \"stawka\""}));
        EXPECT_EQ(out.completed, go_on);
        EXPECT_EQ(c.Flag("AKT_ZUS"), go_on);
    }
}

TEST(InsuranceTransfer, ACodeThatCannotBeAVariableEndsTheRunBeforeAnythingIsWritten) {
    InsCompany c;
    Fill(c);
    c.Add("PKRNB", {{"KOD_NIEOB", "1X"}, {"NAZWA_", "Zły kod"}});
    c.SetFlag("AKT_ZUS", true);
    const TransferOutcome out = c.Run();
    EXPECT_EQ(c.message, "Błędny kod: \"1X\" w zbiorze PKRNB");
    EXPECT_FALSE(out.completed);
    EXPECT_EQ(c.Dump("PKSKLAD", kSklad), Lines{});
}

TEST(InsuranceTransfer, TheFormulasSeeThePaymentDateOfTheListsConcerned) {
    InsCompany c;
    c.Add("PKASKLD",
          {{"TYT_PODM_P", "01"}, {"WARUNEK_", "ZASD>0"}, {"KWO_FEP", "month(pklisty->data_wyp)"}});
    c.Add("PKAWYNG", {{"WARUNEK_", "ZASD>0"}, {"PREMIA_KW", "day(pklisty->data_wyp)"}});
    const PayrollList later = c.List("2026", "B", 2, "03", "20260320", false);
    c.Position(c.list, "000001", "ZASD", 5000);
    c.Position(later, "000001", "ZASD", 100);
    ASSERT_EQ(c.Run().message, "");
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "KWO_FEP"}), (Lines{"000001 3.00"}));
    // The second pass runs once per list: the 10th and the 20th.
    EXPECT_EQ(c.Dump("PKWYNAG", {"NR_PRAC", "PREMIA_KW"}), (Lines{"000001 30.00"}));
}

TEST(HealthSettlementMonths, TheYearBeforeAndJanuaryInAprilOnly) {
    const std::vector<base::YearMonth> m = HealthSettlementMonths(2026, 4);
    ASSERT_EQ(m.size(), 13u);
    EXPECT_EQ(m.front(), (base::YearMonth{2025, 1}));
    EXPECT_EQ(m[11], (base::YearMonth{2025, 12}));
    EXPECT_EQ(m.back(), (base::YearMonth{2026, 1}));
    EXPECT_TRUE(HealthSettlementMonths(2026, 3).empty());
}

}  // namespace
}  // namespace kestrel::insurance
