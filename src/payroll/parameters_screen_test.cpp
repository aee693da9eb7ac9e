#include "payroll/parameters_screen.h"

#include <gtest/gtest.h>

#include "payroll/data/payroll_parameters.h"
#include "payroll_company.h"
#include "platform/console/keys.h"
#include "platform/dbf/index.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using testing::PayCompany;

// The labels of the benefit and free fields are the record's own, in the
// right-hand column; without the right to change the screen only shows
// them and the valorisation table, whose keys then change nothing.
TEST(ParametersScreen, ShowsTheRecordsOwnLabelsAndChangesNothingWithoutTheRight) {
    PayCompany c;
    c.Make("PKSTER", {{{"ROK_", "2026"},
                       {"MC_", "3"},
                       {"OPIS_Z1", "Zasiłek rodzinny"},
                       {"ZAS_RODZ", "95.5"},
                       {"OPIS_P7A", "Ryczałt"},
                       {"POLE_7A", "12"}}});
    c.Add("PKWALOR", {{"ROK_", "2026"}, {"MIESIAC_", "2"}, {"PR_WALOR", "1.5"}});
    std::vector<std::vector<std::string>> shots;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        std::vector<std::string> rows;
        for (int r = 4; r <= 21; ++r) rows.push_back(base::TrimRight(c.h.Row(r)));
        shots.push_back(rows);
    });
    c.Keys({key::F(11), key::kEnter, key::F(11), key::kIns, key::kDel, key::kEsc});
    EditParameters(c.h.rt, c.tables, false);
    ASSERT_EQ(shots.size(), 2u);
    const auto& p = shots[0];
    EXPECT_NE(p[1].find("Zasiłek rodzinny         95.50"), std::string::npos) << p[1];
    EXPECT_NE(p[13].find("Ryczałt                  12.00"), std::string::npos) << p[13];
    EXPECT_NE(p[2].find("Rok.mc:                     2026  3"), std::string::npos) << p[2];
    EXPECT_NE(p[4].find("Dodatek nocny:  0.0%"), std::string::npos) << p[4];
    const auto& w = shots[1];
    EXPECT_NE(w[2].find("Waloryz. z tytułu mies. wzrostu płac"), std::string::npos);
    EXPECT_NE(w[4].find("Rok-miesiąc:    Procent"), std::string::npos);
    EXPECT_NE(w[6].find("2026-02            1.50"), std::string::npos) << w[6];
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKWALOR", "MIESIAC_").size(), 1u);
}

// An index of the valorisation table written with the month not padded is
// reported and the table left alone; the parameters were saved before it.
TEST(ParametersScreen, AnOutdatedValorisationIndexIsReported) {
    PayCompany c;
    c.Add("PKWALOR", {{"ROK_", "2026"}, {"MIESIAC_", "2"}, {"PR_WALOR", "1.5"}});
    c.tables.CloseAll();
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKWALOR.DBF"), {}, &t).ok());
        dbf::IndexDefinition def;
        def.key_expression = "str(rok_,4)+str(miesiac_,2)";
        def.key = [](const dbf::Record&, std::string* key) { *key = "2026 2"; };
        ASSERT_TRUE(dbf::Index::Create(c.dir.File("PKWALOR1.NTX"), t.get(), def).ok());
    }
    c.Keys({'t', '1', '6', '8', 23, key::F(12), key::kEnter});
    EditParameters(c.h.rt, c.tables, true);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błędny indeks PKWALOR"}));
    EXPECT_TRUE(ValorisationIndexOutdated(c.h.rt.data_dir()));
    c.tables.CloseAll();
    EXPECT_EQ(base::Trim(c.Records("PKSTER", "PRZEC_IL_G")[0]), "168");
}

}  // namespace
}  // namespace kestrel::payroll
