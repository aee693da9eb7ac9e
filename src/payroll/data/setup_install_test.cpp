#include "payroll/data/setup_install.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "common/session/abandon.h"
#include "payroll/data/formula_update.h"
#include "payroll_company.h"
#include "platform/base/files.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

const char kSetup[] =
    "# components\n"
    "[PKSPL]\n"
    "SKLADN_PL: ZASD\n"
    "NAZWA_: Płaca zasadnicza\n"
    "TYP_: A\n"
    "SEKW_OBL: 10\n"
    "ALGORYTM_:\n"
    "    yround(pkprac->st_podst *\n"
    "           pkprac->etat_l / pkprac->etat_m, 2)\n"
    "\n"
    "[PKSPL]\n"
    "SKLADN_PL: ZDRO\n"
    "NAZWA_: Składka zdrowotna\n"
    "TYP_: A\n"
    "SEKW_OBL: 50\n"
    "POTRAC_: T\n"
    "ALGORYTM_: yround(PODS * zdr1(), 2)\n"
    "\n"
    "[PKFUNC]\n"
    "FUN_: Zdr1\n"
    "WZOR_: 9/100\n"
    "\n"
    "[PKSLST]\n"
    "TYP_LST: A\n"
    "NAZWA_LST: Lista płac etatowych\n"
    "\n"
    "[PKTAB]\n"
    "ROK_: 2026\n"
    "OD_MC: 1\n"
    "MC_DO: 12\n"
    "PONAD_KW: 0\n"
    "DO_KWOTY: 120000\n"
    "PROC_POD: 12\n"
    "ULGA_POD: 3600\n"
    "\n"
    "[PKTAB]\n"
    "ROK_: 2026\n"
    "OD_MC: 1\n"
    "MC_DO: 12\n"
    "PONAD_KW: 120000\n"
    "DO_KWOTY: 999999999.99\n"
    "KWOTA_POD: 14400\n"
    "PROC_POD: 32\n"
    "ULGA_POD: 3600\n"
    "\n"
    "[PKAWYNG]\n"
    "WARUNEK_: .T.\n"
    "WYNAGR_: BRUT\n"
    "\n"
    "[PKSTER]\n"
    "KOSZT_UZ: 250\n"
    "MC_: 7\n";

std::vector<common::SetupRecord> ParsedSetup(const std::string& text = kSetup) {
    std::vector<common::SetupRecord> out;
    const base::Status s = common::ParseSetup(text, "test.setup", &out);
    EXPECT_TRUE(s.ok()) << s.message();
    return out;
}

struct SetupCompany : ::testing::Test, PayCompany {
    SetupCompany() {
        for (const char* t : {"PKTAB", "PKAWYNG", "PKRDOCH"}) Make(t);
    }

    SetupInstallOutcome Install(const std::vector<common::SetupRecord>& setup) {
        tables.CloseAll();
        SetupInstallOutcome out = InstallSetup(tables, setup);
        tables.CloseAll();
        return out;
    }

    // The values of `fields` of every record of `table`, joined by "|",
    // memo texts in UTF-8 with their line breaks as "\n".
    std::vector<std::string> Rows(const std::string& table,
                                  const std::vector<std::string>& fields) {
        tables.CloseAll();
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File(table + ".DBF"), {}, &t).ok());
        std::vector<std::string> out;
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            std::string row;
            for (const std::string& f : fields) {
                const int i = t->FieldIndex(f);
                std::string v;
                if (t->fields()[static_cast<size_t>(i)].type == dbf::FieldType::kMemo) {
                    EXPECT_TRUE(t->ReadMemo(r, i, &v).ok());
                    for (size_t p; (p = v.find("\r\n")) != std::string::npos;)
                        v.replace(p, 2, "\n");
                } else if (t->fields()[static_cast<size_t>(i)].type == dbf::FieldType::kLogical) {
                    v = r.GetLogical(i) ? "T" : "F";
                } else if (t->fields()[static_cast<size_t>(i)].type == dbf::FieldType::kNumeric) {
                    char buf[40];
                    std::snprintf(buf, sizeof buf, "%g", r.GetNumber(i));
                    v = buf;
                } else {
                    v = base::TrimRight(r.GetString(i));
                }
                row += (row.empty() ? "" : "|") + codepage::ToUtf8(v);
            }
            out.push_back(row);
            return base::Status::Ok();
        });
        return out;
    }
};

TEST_F(SetupCompany, ACompanyWithoutPayrollTablesContentGetsTheWholeSetup) {
    const SetupInstallOutcome out = Install(ParsedSetup());
    // Seven records and the one empty field of the control record.
    EXPECT_EQ(out.installed, 8);
    EXPECT_EQ(out.unchanged, 0);
    EXPECT_EQ(out.kept, (std::vector<std::string>{"PKSTER MC_"}));
    EXPECT_EQ(Rows("PKSPL", {"SKLADN_PL", "NAZWA_", "POTRAC_", "ALGORYTM_"}),
              (std::vector<std::string>{"ZASD|Płaca zasadnicza|F|yround(pkprac->st_podst *\n"
                                        "       pkprac->etat_l / pkprac->etat_m, 2)",
                                        "ZDRO|Składka zdrowotna|T|yround(PODS * zdr1(), 2)"}));
    EXPECT_EQ(Rows("PKTAB", {"ROK_", "PONAD_KW", "KWOTA_POD", "PROC_POD"}),
              (std::vector<std::string>{"2026|0|0|12", "2026|120000|14400|32"}));
    EXPECT_EQ(Rows("PKAWYNG", {"WARUNEK_", "WYNAGR_"}), (std::vector<std::string>{".T.|BRUT"}));
    // The control record's month is the company's; the costs were empty.
    EXPECT_EQ(Rows("PKSTER", {"ROK_", "MC_", "KOSZT_UZ"}),
              (std::vector<std::string>{"2026|3|250"}));
    // Every index of the tables written agrees with them.
    for (const char* table : {"PKSPL", "PKTAB", "PKFUNC", "PKSLST"}) {
        dbf::WorkArea& a = tables.Open(table, common::IndexFiles(table));
        for (size_t i = 0; i < a.index_count(); ++i)
            EXPECT_TRUE(a.index(i).Check(&a.table()).ok()) << table << i;
    }
}

TEST_F(SetupCompany, TheCompanysOwnRecordsStayAsTheyAre) {
    Component("ZASD", "A", 10, "pkprac->st_podst * 2");    // changed by the company
    Add("PKFUNC", {{"FUN_", "ZDR1"}, {"WZOR_", "0.09"}});  // the same name in capitals
    Add("PKSLST", {{"TYP_LST", "A"}, {"NAZWA_LST", "Lista płac etatowych"}});  // as shipped
    Add("PKAWYNG", {{"WARUNEK_", ".F."}});
    tables.CloseAll();
    const SetupInstallOutcome out = Install(ParsedSetup());
    EXPECT_EQ(out.unchanged, 1);  // the list symbol
    EXPECT_EQ(out.kept,
              (std::vector<std::string>{"PKSPL ZASD", "PKFUNC ZDR1", "PKAWYNG", "PKSTER MC_"}));
    EXPECT_EQ(
        Rows("PKSPL", {"SKLADN_PL", "ALGORYTM_"}),
        (std::vector<std::string>{"ZASD|pkprac->st_podst * 2", "ZDRO|yround(PODS * zdr1(), 2)"}));
    EXPECT_EQ(Rows("PKFUNC", {"FUN_", "WZOR_"}), (std::vector<std::string>{"ZDR1|0.09"}));
    EXPECT_EQ(Rows("PKSLST", {"TYP_LST"}), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Rows("PKAWYNG", {"WARUNEK_"}), (std::vector<std::string>{".F."}));

    // Installed again, nothing more is added.
    const SetupInstallOutcome again = Install(ParsedSetup());
    EXPECT_EQ(again.installed, 0);
    EXPECT_EQ(Rows("PKTAB", {"ROK_"}).size(), 2u);
    EXPECT_EQ(Rows("PKSPL", {"SKLADN_PL"}).size(), 2u);
}

TEST_F(SetupCompany, AMatrixsCellsGoOnlyToACompanyWithoutThatMatrix) {
    Make("PKNTBW");
    Make("PKTBW");
    // The company laid out its own LP with one cell.
    Add("PKTBW", {{"TBW_", "LP"}, {"WIERSZ_", "1"}, {"NR_KOL", "1"}, {"ZAWARTOSC_", "PREM"}});
    tables.CloseAll();
    const char matrices[] =
        "[PKTBW]\nTBW_: LP\nWIERSZ_: 1\nNR_KOL: 1\nZAWARTOSC_: ZASD\n\n"
        "[PKTBW]\nTBW_: LP\nWIERSZ_: 1\nNR_KOL: 2\nZAWARTOSC_: BRUT\n\n"
        "[PKTBW]\nTBW_: PASK\nWIERSZ_: 1\nNR_KOL: 1\nZAWARTOSC_: ZASD\n\n"
        "[PKTBW]\nTBW_: PASK\nWIERSZ_: 2\nNR_KOL: 1\nZAWARTOSC_: DOWY\n";
    const SetupInstallOutcome out = Install(ParsedSetup(matrices));
    EXPECT_EQ(out.installed, 2);
    EXPECT_EQ(Rows("PKTBW", {"TBW_", "WIERSZ_", "NR_KOL", "ZAWARTOSC_"}),
              (std::vector<std::string>{"LP|1|1|PREM", "PASK|1|1|ZASD", "PASK|2|1|DOWY"}));
    EXPECT_EQ(Install(ParsedSetup(matrices)).installed, 0);
}

TEST_F(SetupCompany, ARecordOfATableTheUpdaterDoesNotKnowStopsBeforeAnyWrite) {
    std::string text = kSetup;
    text += "\n[PKPRAC]\nNR_PRAC: 000009\n";
    std::string refusal;
    try {
        Install(ParsedSetup(text));
    } catch (const common::Abandon& a) {
        refusal = codepage::ToUtf8(a.message());
    }
    EXPECT_EQ(refusal, "test.setup:54: the updater does not install PKPRAC");
    EXPECT_TRUE(Rows("PKSPL", {"SKLADN_PL"}).empty());
}

// The formula updater installs the setup after its steps and writes the
// setup's records into the sets' templates.
TEST_F(SetupCompany, TheFormulaUpdaterInstallsTheSetupAndFillsTheTemplates) {
    Component("ZASD", "A", 10, "pkprac->st_podst * 2");
    StandardDefinitions defs = ShippedStandardDefinitions();
    defs.setup = ParsedSetup();
    tables.CloseAll();
    const UpdateOutcome out = ApplyFormulaUpdates(tables, defs);
    EXPECT_FALSE(out.applied.empty());
    EXPECT_EQ(out.setup.kept.front(), "PKSPL ZASD");
    EXPECT_EQ(
        Rows("PKSPL", {"SKLADN_PL", "ALGORYTM_"}),
        (std::vector<std::string>{"ZASD|pkprac->st_podst * 2", "ZDRO|yround(PODS * zdr1(), 2)"}));
    // The template of the components holds the setup's, not the company's.
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(dir.File("U2020/_PKSPL.DBF"), {}, &t).ok());
    ASSERT_EQ(t->record_count(), 2u);
    dbf::Record r;
    ASSERT_TRUE(t->Read(1, &r).ok());
    std::string memo;
    ASSERT_TRUE(t->ReadMemo(r, t->FieldIndex("ALGORYTM_"), &memo).ok());
    EXPECT_EQ(memo, "yround(pkprac->st_podst *\r\n       pkprac->etat_l / pkprac->etat_m, 2)");
    // A second run has no step due and installs nothing.
    tables.CloseAll();
    const UpdateOutcome again = ApplyFormulaUpdates(tables, defs);
    EXPECT_TRUE(again.applied.empty());
    EXPECT_EQ(again.setup.installed, 0);
}

TEST(SetupKey, PartsAsTheInstallerComparesThem) {
    const std::vector<common::SetupRecord> setup = ParsedSetup(
        "[PKTAB]\nROK_: 2022\nMC_DO: 6\nPONAD_KW: 120000\n"
        "[PKFUNC]\nFUN_: zdr\n"
        "[PKAZASL]\nTYT_PODM_P: 01\nKOD_NIEOB: CH\n");
    EXPECT_EQ(SetupKey(setup[0]), "2022.00/6.00/120000.00");
    EXPECT_EQ(SetupKey(setup[1]), "ZDR");
    EXPECT_EQ(SetupKey(setup[2]), "01/CH/");
    EXPECT_TRUE(InstallableTable("pkslst"));
    EXPECT_FALSE(InstallableTable("PKPRAC"));
}

}  // namespace
}  // namespace kestrel::payroll
