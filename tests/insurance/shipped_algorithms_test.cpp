// The insurance algorithms of the shipped payroll setup (data/payroll) on a
// company whose positions carry the setup's statutory components: one
// employee on a contract of employment, one on a contract of mandate. The
// month's records must declare the bases and contributions the positions
// hold, under the right titles; the updater brings the algorithms into a
// company without them and keeps a row the company changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/session/letters.h"
#include "common/tables/company_tables.h"
#include "common/tables/setup_files.h"
#include "common/tables/shipped_content.h"
#include "common/tables/table_catalogue.h"
#include "insurance_company.h"
#include "payroll/data/setup_install.h"
#include "platform/base/files.h"

namespace kestrel::insurance {
namespace {

const std::string kSetupDir = std::string(KESTREL_DATA_DIR) + "payroll/";

// The tables of the insurance algorithms and of the dictionaries and user
// functions they need.
bool InsuranceTable(const std::string& table) {
    static const std::vector<std::string> tables = {"PKASKLD", "PKAPDST", "PKAOKRN", "PKAZASL",
                                                    "PKASKWN", "PKAWYNG", "PKASPRZ", "PKSWYN",
                                                    "PKTYTUB", "PKOSPL",  "PKFUNC"};
    return std::find(tables.begin(), tables.end(), table) != tables.end();
}

std::vector<common::SetupRecord> ShippedInsuranceSetup() {
    std::vector<common::SetupRecord> all, out;
    const base::Status s = common::ReadSetupDir(kSetupDir, &all);
    EXPECT_TRUE(s.ok()) << s.message();
    for (const common::SetupRecord& r : all)
        if (InsuranceTable(r.table)) out.push_back(r);
    return out;
}

// The statutory components of the setup, entered as amounts here (their
// formulas are the payroll's business, not the transfer's).
const char* const kComponents[] = {"SKLU", "PZDR", "EMER", "RENT", "CHOR", "ZDRO", "EMEF", "RENF",
                                   "WYPF", "FPRA", "FGSP", "PPKF", "BRUT", "WYNC", "ZASC", "DNCH"};

struct Shipped : testing::InsCompany {
    Shipped() {
        Change("PKPRAC", "000002", {{"TYTUL_PODM", "0411"}, {"TYTUL_STNP", "0"}});
        int order = 100;
        for (const char* c : kComponents) Comp(c, "K", order += 10, "");
        h.rt.config().Set("NAGLPROCUW", memfile::MemValue::Numeric(1.67, 4, 2));
        h.rt.config().Set("NAGLPPK20", memfile::MemValue::Logical(true));
        // The payroll functions read the tax records' table, the absence
        // rows the company calendar.
        Make("PKDOCH");
        tables.Open("PKKALEN", common::IndexFiles("PKKALEN"));
        Add("PKKALEN", {{"ROK_", "2026"}, {"GRUPA_", "01"}});
        tables.CloseAll();
    }

    payroll::SetupInstallOutcome Install() {
        const payroll::SetupInstallOutcome out =
            payroll::InstallSetup(tables, ShippedInsuranceSetup());
        tables.CloseAll();
        return out;
    }

    void Pay(const std::string& number, const std::vector<std::pair<const char*, double>>& items) {
        for (const auto& [symbol, amount] : items) Position(list, number, symbol, amount);
        tables.CloseAll();
    }

    // The 2026 minimum wage on a contract of employment (the public worked
    // case) and a mandate of 3,000 without sickness insurance.
    void PayTheMonth() {
        Pay("000001", {{"BRUT", 4806.00},
                       {"SKLU", 4806.00},
                       {"EMER", 469.07},
                       {"RENT", 72.09},
                       {"CHOR", 117.75},
                       {"PZDR", 4147.09},
                       {"ZDRO", 373.24},
                       {"EMEF", 469.07},
                       {"RENF", 312.39},
                       {"WYPF", 80.26},
                       {"FPRA", 117.75},
                       {"FGSP", 4.81},
                       {"PPKF", 72.09},
                       {"ZASD", 4806.00}});
        Pay("000002", {{"BRUT", 3000.00},
                       {"SKLU", 3000.00},
                       {"EMER", 292.80},
                       {"RENT", 45.00},
                       {"PZDR", 2662.20},
                       {"ZDRO", 239.60},
                       {"EMEF", 292.80},
                       {"RENF", 195.00},
                       {"WYPF", 50.10},
                       {"FPRA", 73.50},
                       {"FGSP", 3.00},
                       {"ZLEC", 3000.00}});
    }

    void SetControl(const std::string& field, double value) {
        dbf::WorkArea& a = tables.Open("PKSTER");
        a.GoTop();
        a.RLock();
        a.record().SetNumber(a.FieldIndex(field), value);
        EXPECT_TRUE(a.Commit().ok());
        a.Unlock();
        tables.CloseAll();
    }
};

TEST(ShippedInsuranceAlgorithms, ContributionRecordsDeclareThePositionsUnderTheirTitles) {
    Shipped c;
    c.Install();
    c.PayTheMonth();
    ASSERT_TRUE(c.Run().completed) << c.message;
    // Per title: the pension base, the employee's pension, disability and
    // sickness, the sickness base, the health base and contribution.
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "TYT_UBEZP", "POD_EM_REN", "KWO_E_PRAC", "KWO_R_PRAC",
                                 "KWO_C_PRAC", "POD_CH_WYP", "POD_ZDROW", "KWO_Z_PRAC"}),
              (std::vector<std::string>{
                  "000001 011000 4806.00 469.07 72.09 117.75 4806.00 4147.09 373.24",
                  "000002 041100 3000.00 292.80 45.00 0.00 0.00 2662.20 239.60"}));
    // The employer's part: pension, disability, the accident base, rate and
    // contribution, the Labour Fund and FGSP with their rates and bases,
    // the employer's PPK.
    EXPECT_EQ(
        c.Dump("PKSKLAD", {"NR_PRAC", "KWO_E_ZAKL", "KWO_R_ZAKL", "PODSTAWA_", "POD_WYPADK",
                           "PROC_UBSP", "KWOTA_UBSP", "KWO_W_ZAKL", "PROC_FPR", "PODST_FPR",
                           "KWOTA_FPR", "PROC_FGSP", "PODST_FGSP", "KWOTA_FGSP", "KW_PPK_ZAK"}),
        (std::vector<std::string>{"000001 469.07 312.39 4806.00 4806.00 1.67 80.26 80.26 "
                                  "2.45 4806.00 117.75 0.10 4806.00 4.81 72.09",
                                  "000002 292.80 195.00 3000.00 3000.00 1.67 50.10 50.10 "
                                  "2.45 3000.00 73.50 0.10 3000.00 3.00 0.00"}));
    // The bases of the year, the totals, the base pay as remuneration code
    // 01 and the employee's period of employment (none for the mandate).
    EXPECT_EQ(c.Dump("PKPODST", {"NR_PRAC", "TYT_UBEZP", "ZA_ROK", "POD_EM_REN", "POD_WYPADK"}),
              (std::vector<std::string>{"000001 011000 2026 4806.00 4806.00",
                                        "000002 041100 2026 3000.00 3000.00"}));
    EXPECT_EQ(c.Dump("PKWYNAG", {"NR_PRAC", "WYNAGR_", "AKTYWN_", "ETAT_"}),
              (std::vector<std::string>{"000001 4806.00 T 1.00", "000002 3000.00 T 1.00"}));
    EXPECT_EQ(c.Dump("PKKSKWN", {"NR_PRAC", "TYT_UBEZP", "KOD_WYNAGR", "KWOTA_"}),
              (std::vector<std::string>{"000001 011000 01 4806.00"}));
    EXPECT_EQ(c.Dump("PKOKRES", {"NR_PRAC", "DATA_OD", "DO_DATA", "WYMIAR_L"}),
              (std::vector<std::string>{"000001 20260301 20260331 100"}));
}

TEST(ShippedInsuranceAlgorithms, ThePensionBaseStopsAtTheAnnualCeiling) {
    Shipped c;
    c.Install();
    c.PayTheMonth();
    // February declared 279,000 of the 282,600 ceiling: March declares the
    // 3,600 left for the employee; the mandate's record (another person)
    // keeps its whole base, and so do the sickness and accident bases.
    c.SetControl("POLE_10", 282600);
    c.tables.Open("PKSKLAD", common::IndexFiles("PKSKLAD"));
    c.Add("PKSKLAD", {{"NR_PRAC", "000001"},
                      {"ROK_", "2026"},
                      {"MC_", "2"},
                      {"TYT_UBEZP", "011000"},
                      {"POD_EM_REN", "279000"}});
    c.tables.CloseAll();
    ASSERT_TRUE(c.Run().completed) << c.message;
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "POD_EM_REN", "POD_CH_WYP", "POD_WYPADK"}),
              (std::vector<std::string>{"000001 3600.00 4806.00 4806.00",
                                        "000002 3000.00 0.00 3000.00"}));
    EXPECT_EQ(c.Dump("PKPODST", {"NR_PRAC", "POD_EM_REN"}),
              (std::vector<std::string>{"000001 3600.00", "000002 3000.00"}));
}

TEST(ShippedInsuranceAlgorithms, AbsencesOfTheMonthBecomeBenefitLinesWithTheirCodes) {
    Shipped c;
    c.Install();
    c.PayTheMonth();
    c.Add("PKRNB", {{"KOD_NIEOB", "CH"}, {"NAZWA_", "Zwolnienie chorobowe"}, {"DEKL_ZUS", "T"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "CH1"}, {"NAZWA_", "Choroba 100%"}, {"DEKL_ZUS", "T"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "ZC"}, {"NAZWA_", "Zasiłek chorobowy"}, {"DEKL_ZUS", "T"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "ZO"}, {"NAZWA_", "Zasiłek opiekuńczy"}, {"DEKL_ZUS", "T"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "UB"}, {"NAZWA_", "Urlop bezpłatny"}, {"DEKL_ZUS", "T"}});
    c.Away("000001", 1, "CH", 2, 6);
    c.Away("000001", 2, "UB", 16, 17);
    c.Away("000001", 3, "CH1", 9, 10);
    c.Away("000001", 4, "ZC", 11, 11);
    c.Away("000001", 5, "ZO", 12, 13);
    c.tables.CloseAll();
    ASSERT_TRUE(c.Run().completed) << c.message;
    // The codes of the insurance office: employer's sick pay 331 (also at
    // 100 %, which is not an accident at work), sickness benefit 313, care
    // benefit 312, unpaid leave 111.
    EXPECT_EQ(c.Dump("PKZASIL", {"NR_PRAC", "KOD_NIEOB", "OD_DZIEN", "DZIEN_DO", "ILOSC_DNI",
                                 "ILOSC_ZAS", "KOD_SW_PRZ", "WYPADEK_", "TYT_UBEZP"}),
              (std::vector<std::string>{
                  "000001 CH 2 6 5 5 331 F 011000", "000001 CH1 9 10 2 2 331 F 011000",
                  "000001 UB 16 17 2 0 111 F 011000", "000001 ZC 11 11 1 1 313 F 011000",
                  "000001 ZO 12 13 2 2 312 F 011000"}));
    // The unpaid leave interrupts the period of employment.
    EXPECT_EQ(c.Dump("PKOKRES", {"NR_PRAC", "DATA_OD", "DO_DATA"}),
              (std::vector<std::string>{"000001 20260301 20260315", "000001 20260318 20260331"}));
}

// The benefit lines of a month with two sicknesses and two sickness
// benefits: each line declares its absence's share of the component that
// pays it, by days, and the lines add up to the components to the grosz.
TEST(ShippedInsuranceAlgorithms, TwoAbsencesOfOneCodeShareTheComponentInsteadOfEachDeclaringIt) {
    struct Case {
        const char* name;
        double wync, zasc, dnch;  // sick pay, benefits, days the employer paid
        bool benefits;            // the two ZC absences are there
        std::vector<std::string> lines;
    } cases[] = {
        // 1000.01 over 5 + 3 days: 625.00625 -> 625.01 and the rest.
        {"within the limit", 1000.01, 0, 8, false, {"CH 1 5 625.01 331", "CH 2 3 375.00 331"}},
        // The limit runs out after 6 of the 8 sickness days. The benefits
        // of 333.33 pay 2 days beyond it and 2 + 3 days of ZC: 2/7 of them,
        // 95.24, stays with the sickness lines and 238.09 goes to ZC.
        // Sickness: 600 * 5/8 = 375.00 + 95.24 * 5/8 = 59.525 -> 59.53;
        // then 225.00 + 35.71. ZC: 238.09 * 2/5 = 95.236 -> 95.24; 142.85.
        {"beyond the limit",
         600.00,
         333.33,
         6,
         true,
         {"CH 1 5 434.53 331", "CH 2 3 260.71 331", "ZC 1 2 95.24 313", "ZC 2 3 142.85 313"}},
    };
    for (const Case& k : cases) {
        Shipped c;
        c.Install();
        c.PayTheMonth();
        c.Pay("000001", {{"WYNC", k.wync}, {"ZASC", k.zasc}, {"DNCH", k.dnch}});
        c.Add("PKRNB",
              {{"KOD_NIEOB", "CH"}, {"NAZWA_", "Zwolnienie chorobowe"}, {"DEKL_ZUS", "T"}});
        c.Add("PKRNB", {{"KOD_NIEOB", "ZC"}, {"NAZWA_", "Zasiłek chorobowy"}, {"DEKL_ZUS", "T"}});
        c.Away("000001", 1, "CH", 2, 6);
        c.Away("000001", 2, "CH", 9, 11);
        if (k.benefits) {
            c.Away("000001", 3, "ZC", 24, 25);
            c.Away("000001", 4, "ZC", 28, 30);
        }
        c.tables.CloseAll();
        ASSERT_TRUE(c.Run().completed) << k.name << ": " << c.message;
        const std::vector<std::string> got =
            c.Dump("PKZASIL", {"KOD_NIEOB", "LP_", "ILOSC_ZAS", "ZASILEK_", "KOD_SW_PRZ"});
        EXPECT_EQ(got, k.lines) << k.name;
    }
}

TEST(ShippedInsuranceAlgorithms, ACompanyWithComponentsOfItsOwnTransfersWithoutTheirRecords) {
    // No SKLU: the rows write no contribution, base or totals record, and
    // the transfer still ends complete instead of stopping on the name.
    testing::InsCompany c;
    payroll::InstallSetup(c.tables, ShippedInsuranceSetup());
    c.tables.CloseAll();
    c.Position(c.list, "000001", "ZASD", 5000);
    c.tables.CloseAll();
    const TransferOutcome out = c.Run();
    ASSERT_TRUE(out.completed) << c.message;
    EXPECT_TRUE(out.check_algorithms);
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC"}), std::vector<std::string>{});
    EXPECT_EQ(c.Dump("PKWYNAG", {"NR_PRAC"}), std::vector<std::string>{});
    EXPECT_EQ(c.Dump("PKKSKWN", {"NR_PRAC", "KWOTA_"}), std::vector<std::string>{"000001 5000.00"});
}

TEST(ShippedInsuranceAlgorithms, TheUpdaterAddsTheRowsAndKeepsARowTheCompanyChanged) {
    Shipped c;
    // The company's own contribution row of group 01, and no other rows.
    c.Add("PKASKLD", {{"TYT_PODM_P", "01"}, {"WARUNEK_", "SKLU>0"}, {"POD_EM_REN", "SKLU"}});
    c.tables.CloseAll();
    const payroll::SetupInstallOutcome out = c.Install();
    EXPECT_NE(std::find(out.kept.begin(), out.kept.end(), "PKASKLD 01"), out.kept.end());
    EXPECT_EQ(c.Records("PKASKLD", "TYT_PODM_P"), (std::vector<std::string>{"01", "04"}));
    EXPECT_EQ(c.Records("PKAZASL", "KOD_NIEOB"),
              (std::vector<std::string>{"CH", "CH1", "ZC", "ZO", "UB"}));
    EXPECT_EQ(c.Records("PKASPRZ", "SYMB_ALG").size(), 9u);
    EXPECT_EQ(c.Records("PKAWYNG", "WARUNEK_").size(), 1u);
    // The company's row declares the base it chose and nothing else.
    c.PayTheMonth();
    ASSERT_TRUE(c.Run().completed) << c.message;
    EXPECT_EQ(c.Dump("PKSKLAD", {"NR_PRAC", "POD_EM_REN", "KWO_E_PRAC"}),
              (std::vector<std::string>{"000001 4806.00 0.00", "000002 3000.00 292.80"}));
    // A second update adds nothing.
    const payroll::SetupInstallOutcome again = c.Install();
    EXPECT_EQ(again.installed, 0);
    EXPECT_EQ(c.Records("PKASKLD", "TYT_PODM_P"), (std::vector<std::string>{"01", "04"}));
}

TEST(ShippedInsuranceAlgorithms, ANewCompanyGetsTheAlgorithmsAndTheirDictionaries) {
    dbf::testing::ScratchDir dir;
    ASSERT_TRUE(common::CreateMissingTables(dir.path(), common::MakeLetterSet(common::kPolishCp852),
                                            common::ShippedContent(KESTREL_DATA_DIR))
                    .ok());
    auto count = [&](const char* table) {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File(std::string(table) + ".DBF"), {}, &t).ok());
        return t ? t->record_count() : 0u;
    };
    EXPECT_EQ(count("PKASKLD"), 2u);
    EXPECT_EQ(count("PKAZASL"), 5u);
    EXPECT_EQ(count("PKAPDST"), 2u);
    EXPECT_EQ(count("PKAOKRN"), 1u);
    EXPECT_EQ(count("PKASKWN"), 1u);
    EXPECT_EQ(count("PKAWYNG"), 1u);
    EXPECT_EQ(count("PKASPRZ"), 9u);
    EXPECT_EQ(count("PKOSPL"), 1u);
    EXPECT_EQ(count("PKRDOCH"), 5u);
    // The title codes the rows declare and the remuneration code they use:
    // without them the transfer refuses the titles and the row.
    EXPECT_EQ(count("PKTYTUB"), 3u);
    EXPECT_EQ(count("PKSWYN"), 1u);
}

TEST(ShippedInsuranceAlgorithms, AFaultyLineOfTheFileIsReportedWithFileAndLine) {
    std::string text;
    ASSERT_TRUE(base::ReadFile(kSetupDir + "PKASKLD.setup", &text).ok());
    // The second row's group made three characters long.
    const size_t at = text.find("TYT_PODM_P: 04");
    ASSERT_NE(at, std::string::npos);
    const int line = static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
    text.replace(at, 14, "TYT_PODM_P: 041");
    std::vector<common::SetupRecord> out;
    const base::Status s = common::ParseSetup(text, "PKASKLD.setup", &out);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message().rfind("PKASKLD.setup:" + std::to_string(line) + ": ", 0), 0u)
        << s.message();
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace kestrel::insurance
