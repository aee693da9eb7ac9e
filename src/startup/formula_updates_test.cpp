#include "startup/formula_updates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/formula_update.h"
#include "payroll_company.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"

namespace kestrel::startup {
namespace {

namespace fs = std::filesystem;

// A company whose list symbols are stored in the layout before TYP_UZ_UD:
// opening PKSLST upgrades its structure. PODA has a rate the first update
// step replaces.
struct UpgradingCompany : ::testing::Test, payroll::testing::PayCompany {
    UpgradingCompany() {
        Component("PODA", "A", 20, "BRUT*0.19");
        tables.CloseAll();
        fs::remove(dir.File("PKSLST.DBF"));
        fs::remove(dir.File("PKSLST1.NTX"));
        std::vector<dbf::FieldSpec> old;
        for (const dbf::FieldSpec& f : common::FindTable("PKSLST")->Specs())
            if (f.name != "TYP_UZ_UD") old.push_back(f);
        EXPECT_TRUE(dbf::Table::Create(dir.File("PKSLST.DBF"), old).ok());
        InstallFormulaUpdates(h.rt);
    }

    std::string Algorithm(const std::string& symbol) {
        tables.CloseAll();
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKSPL.DBF"), {}, &t).ok());
        std::string out = "no component";
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            if (base::TrimRight(r.GetString(t->FieldIndex("SKLADN_PL"))) == symbol)
                EXPECT_TRUE(t->ReadMemo(r, t->FieldIndex("ALGORYTM_"), &out).ok());
            return base::Status::Ok();
        });
        return out;
    }
    // Opens PKSLST with the keys given; "" when it opened, else the abandon's
    // message or "asked more" when the keys ran out.
    std::string OpenWith(const std::vector<int>& keys) {
        h.backend.AddKeys(keys);
        try {
            tables.Open("PKSLST", {"PKSLST1"});
        } catch (const common::Abandon& a) {
            return "abandoned:" + std::string(a.message());
        } catch (const console::ScriptEnded&) {
            return "asked more";
        }
        return "";
    }
    bool Upgraded() {
        tables.CloseAll();
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKSLST.DBF"), {}, &t).ok());
        return t->FieldIndex("TYP_UZ_UD") >= 0;
    }
};

TEST_F(UpgradingCompany, TheAnswerTAppliesTheUpdatesDue) {
    EXPECT_EQ(OpenWith({'t', 't'}), "");
    EXPECT_NE(h.ShownRow(23).find("Aktualizacja algorytmów płacowych"), std::string::npos)
        << h.ShownRow(23);
    EXPECT_NE(h.ShownRow(23).find("Wykonać?"), std::string::npos) << h.ShownRow(23);
    EXPECT_TRUE(Upgraded());
    EXPECT_EQ(Algorithm("PODA"), "BRUT*pod()");
    EXPECT_TRUE(payroll::DueUpdateSteps(tables, payroll::ShippedStandardDefinitions()).empty());
}

TEST_F(UpgradingCompany, AnyOtherAnswerAbandonsAndLeavesTheFormulas) {
    EXPECT_EQ(OpenWith({'t', 'n'}), "abandoned:");
    EXPECT_TRUE(Upgraded());  // the structure was upgraded before the question
    EXPECT_EQ(Algorithm("PODA"), "BRUT*0.19");
    EXPECT_EQ(payroll::DueUpdateSteps(tables, payroll::ShippedStandardDefinitions()).size(), 4u);
    // Esc is no yes either.
    tables.CloseAll();
    fs::remove(dir.File("PKSLST.DBF"));
    std::vector<dbf::FieldSpec> old;
    for (const dbf::FieldSpec& f : common::FindTable("PKSLST")->Specs())
        if (f.name != "TYP_UZ_UD") old.push_back(f);
    ASSERT_TRUE(dbf::Table::Create(dir.File("PKSLST.DBF"), old).ok());
    EXPECT_EQ(OpenWith({'t', console::key::kEsc}), "abandoned:");
    EXPECT_EQ(Algorithm("PODA"), "BRUT*0.19");
}

TEST_F(UpgradingCompany, NothingIsAskedWhileTablesAreReindexed) {
    h.rt.config().Set("NAGLIIN", memfile::MemValue::Logical(true));
    EXPECT_EQ(OpenWith({'t'}), "");  // only the structure question
    EXPECT_EQ(Algorithm("PODA"), "BRUT*0.19");
}

TEST_F(UpgradingCompany, NothingIsAskedWhenTheFormulasAreUpToDate) {
    tables.CloseAll();
    payroll::ApplyFormulaUpdates(tables, payroll::ShippedStandardDefinitions());
    EXPECT_EQ(OpenWith({'t'}), "");
    EXPECT_TRUE(Upgraded());
}

TEST_F(UpgradingCompany, AnUpgradeOutsideTheCompanyDirectoryAsksNothingMore) {
    tables.CloseAll();
    fs::create_directory(dir.File("ARCH2025"));
    fs::rename(dir.File("PKSLST.DBF"), dir.File("ARCH2025/PKSLST.DBF"));
    h.backend.AddKeys({'t'});
    EXPECT_NO_THROW(tables.OpenIn(dir.File("ARCH2025") + "/", "PKSLST", "PKSLST", {"PKSLST1"}));
    EXPECT_EQ(Algorithm("PODA"), "BRUT*0.19");
}

}  // namespace
}  // namespace kestrel::startup
