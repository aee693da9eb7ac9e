// The shipped payroll setup (data/payroll) with the formula updater: a
// company without it gets every component and function and keeps its own
// changed component; a company whose tables were made with it keeps the
// setup's texts through the updater's steps, which rewrite literal rates.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "common/session/letters.h"
#include "common/tables/company_tables.h"
#include "common/tables/setup_files.h"
#include "common/tables/shipped_content.h"
#include "payroll/data/formula_update.h"
#include "payroll_company.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

std::vector<common::SetupRecord> ShippedSetup() {
    std::vector<common::SetupRecord> records;
    const base::Status s = common::ReadSetupDir(KESTREL_DATA_DIR "/payroll/", &records);
    EXPECT_TRUE(s.ok()) << s.message();
    return records;
}

// Key (upper case) -> memo text (UTF-8, CR LF kept) of a table's records.
std::map<std::string, std::string> Memos(common::Tables& tables, const std::string& table,
                                         const std::string& key, const std::string& memo) {
    dbf::WorkArea& a = tables.Open(table);
    std::map<std::string, std::string> out;
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
        if (a.deleted()) continue;
        std::string text;
        EXPECT_TRUE(a.ReadMemo(a.FieldIndex(memo), &text).ok());
        out[base::AsciiUpper(base::TrimRight(a.record().GetString(a.FieldIndex(key))))] =
            codepage::ToUtf8(text);
    }
    (void)tables.workspace().Close(a.number());
    return out;
}

std::map<std::string, std::string> SetupMemos(const std::vector<common::SetupRecord>& setup,
                                              const std::string& table, const std::string& key,
                                              const std::string& memo) {
    std::map<std::string, std::string> out;
    for (const common::SetupRecord* r : common::RecordsOf(setup, table)) {
        const common::SetupField* m = r->Find(memo);
        out[base::AsciiUpper(r->Find(key)->value)] = m ? m->value : "";
    }
    return out;
}

TEST(ShippedSetup, TheUpdaterInstallsItAndKeepsTheCompanysOwnComponent) {
    PayCompany co;
    co.Component("ZASD", "A", 10, "pkprac->st_podst*2");
    // Dictionaries every company has (the test company starts without them).
    for (const char* t : {"PKRDOCH", "PKTYTUB", "PKSWYN", "PKNTBW", "PKTBW", "PKWROR"})
        if (!std::filesystem::exists(co.dir.File(std::string(t) + ".DBF"))) co.Make(t);
    co.tables.CloseAll();
    // The tables the company lacks are made when the updater asks for them.
    co.Keys(std::string(60, 't'));
    StandardDefinitions defs = ShippedStandardDefinitions();
    defs.setup = ShippedSetup();
    const auto want_components = SetupMemos(defs.setup, "PKSPL", "SKLADN_PL", "ALGORYTM_");
    const auto want_functions = SetupMemos(defs.setup, "PKFUNC", "FUN_", "WZOR_");
    ASSERT_GT(want_components.size(), 30u);

    const UpdateOutcome out = ApplyFormulaUpdates(co.tables, defs);
    EXPECT_EQ(out.setup.kept, std::vector<std::string>{"PKSPL ZASD"});
    std::map<std::string, std::string> components =
        Memos(co.tables, "PKSPL", "SKLADN_PL", "ALGORYTM_");
    EXPECT_EQ(components["ZASD"], "pkprac->st_podst*2");
    components.erase("ZASD");
    auto want = want_components;
    want.erase("ZASD");
    EXPECT_EQ(components, want);
    // The setup's functions, and the standard functions its components call.
    std::map<std::string, std::string> functions = Memos(co.tables, "PKFUNC", "FUN_", "WZOR_");
    for (const auto& [name, body] : want_functions) EXPECT_EQ(functions[name], body) << name;
    for (const char* standard : {"REN1", "ZDR"}) EXPECT_EQ(functions.count(standard), 1u);

    // Run again: nothing more to add, the company's component still kept.
    const UpdateOutcome again = ApplyFormulaUpdates(co.tables, defs);
    EXPECT_EQ(again.setup.installed, 0);
    // A table without a key (PKAWYNG) that holds rows is kept whole.
    EXPECT_EQ(again.setup.kept, (std::vector<std::string>{"PKAWYNG", "PKSPL ZASD"}));
}

TEST(ShippedSetup, TheUpdatersStepsLeaveTheSetupOfANewCompanyAsShipped) {
    PayCompany co;
    // PKSPL and PKFUNC of a new company, made by the table layer with the
    // setup in them.
    co.tables.CloseAll();
    for (const char* t : {"PKSPL", "PKFUNC"}) {
        std::filesystem::remove(co.dir.File(std::string(t) + ".DBF"));
        std::filesystem::remove(co.dir.File(std::string(t) + ".DBT"));
    }
    ASSERT_TRUE(common::CreateMissingTables(co.dir.path(),
                                            common::MakeLetterSet(common::kPolishCp852),
                                            common::ShippedContent(KESTREL_DATA_DIR))
                    .ok());
    const std::vector<common::SetupRecord> setup = ShippedSetup();
    ASSERT_EQ(Memos(co.tables, "PKSPL", "SKLADN_PL", "ALGORYTM_"),
              SetupMemos(setup, "PKSPL", "SKLADN_PL", "ALGORYTM_"));

    StandardDefinitions defs = ShippedStandardDefinitions();
    defs.setup = setup;
    const UpdateOutcome out = ApplyFormulaUpdates(co.tables, defs);
    EXPECT_FALSE(out.applied.empty());
    EXPECT_EQ(out.formulas_rewritten, 0);
    EXPECT_EQ(Memos(co.tables, "PKSPL", "SKLADN_PL", "ALGORYTM_"),
              SetupMemos(setup, "PKSPL", "SKLADN_PL", "ALGORYTM_"));
    std::map<std::string, std::string> functions = Memos(co.tables, "PKFUNC", "FUN_", "WZOR_");
    for (const auto& [name, body] : SetupMemos(setup, "PKFUNC", "FUN_", "WZOR_"))
        EXPECT_EQ(functions[name], body) << name;
}

}  // namespace
}  // namespace kestrel::payroll
