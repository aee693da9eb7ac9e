#include "tools/demo_employees.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "common/checks/identifiers.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/base/clock.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"
#include "register/data/employee.h"
#include "tools/demo_company.h"

namespace kestrel::tools {
namespace {

using registry::EmployeeKind;

TEST(DemoEmployees, AllKindsWithValidNumbersThroughTheRegister) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_demo_people_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const std::string dir = (root / "DEMO.PK").string();
    // A second run adds nobody.
    ASSERT_TRUE(AddDemoEmployees(dir, clock).ok());

    console::HeadlessBackend backend;
    console::Console con(backend);
    common::Runtime rt(con, clock);
    rt.set_data_dir(dir + "/");
    {
        common::Tables tables(rt);
        const registry::RegisterAreas areas = registry::OpenRegister(tables);
        dbf::WorkArea& gminy = registry::OpenTerritory(tables);
        dbf::WorkArea& prac = *areas.prac;
        EXPECT_EQ(prac.table().record_count(), 21u);
        std::map<EmployeeKind, int> kinds;
        std::set<std::string> departments;
        int former = 0;
        for (base::Status s = prac.GoTop(); s.ok() && !prac.eof(); s = prac.Skip(1)) {
            const registry::EmployeeRecord e = registry::ReadEmployee(prac);
            ++kinds[e.kind()];
            former += e.former();
            SCOPED_TRACE(e.number());
            EXPECT_FALSE(e.first_names().empty());
            if (e.kind() == EmployeeKind::kLegalPerson) {
                EXPECT_EQ(common::CheckNip(e.Text("NR_NIP")), common::kIdValid);
                continue;
            }
            departments.insert(e.Text("DZIAL_"));
            // Every code is in its dictionary, every address in the
            // territorial register.
            for (const char* field : {"DZIAL_", "STANOW_", "RODZ_UM_PR", "RODZ_PL", "RODZ_ZATR",
                                      "GRUPA_ALG", "KONTO_KOSZ", "TYTUL_PODM", "URZ_SKARB",
                                      "PRZYCZ_ZW", "PRZ_WY_UB", "KZIS_", "KOD_KRAJU"}) {
                EXPECT_TRUE(registry::CheckCode(tables, field, e.Text(field)).accepted)
                    << field << " " << e.Text(field);
            }
            registry::TerritoryChoice choice;
            std::string name = e.Text("WOJEW_");
            EXPECT_EQ(registry::LookupVoivodeship(gminy, rt.letters(), &name, &choice).message, "");
            name = e.Text("POWIAT_");
            EXPECT_EQ(registry::LookupDistrict(gminy, rt.letters(), &name, &choice).message, "");
            name = e.Text("GMINA_");
            EXPECT_EQ(registry::LookupCommune(gminy, rt.letters(), &name, choice).message, "");
            EXPECT_EQ(registry::VoivodeshipCode(gminy, rt.letters(), e.Text("WOJEW_")),
                      e.Text("KOD_WOJEW"));
            EXPECT_FALSE(e.surname().empty());
            EXPECT_EQ(
                registry::CheckPeselOf(e.pesel(), e.Date("DATA_URODZ"), e.Text("PLEC_")).message,
                "");
            EXPECT_EQ(registry::CheckAccountField(e.Text("NR_KONT")).message, "");
            EXPECT_GT(e.Number("ST_PODST"), 0);
            if (e.kind() == EmployeeKind::kStaff) {
                EXPECT_EQ(e.Text("TYTUL_PODM"), "0110");
            }
        }
        EXPECT_GE(kinds[EmployeeKind::kStaff], 10);
        EXPECT_GE(kinds[EmployeeKind::kNonStaff], 3);
        EXPECT_GE(kinds[EmployeeKind::kLegalPerson], 3);
        EXPECT_GE(former, 1);
        EXPECT_EQ(departments, (std::set<std::string>{"ADM ", "HAND", "PROD"}));
        for (size_t i = 0; i < prac.index_count(); ++i) {
            EXPECT_TRUE(prac.index(i).Check(&prac.table()).ok()) << prac.index(i).path();
        }
        for (const registry::Allowance& a : registry::ReadAllowances(*areas.dod, "000002")) {
            EXPECT_TRUE(registry::CheckCode(tables, "RODZAJ_DOD", a.symbol).accepted) << a.symbol;
        }
        // One man registered twice: his current record leads.
        ASSERT_TRUE(registry::SeekEmployee(prac, "000018"));
        const auto same = registry::PeselRecords(prac, registry::ReadEmployee(prac).pesel());
        ASSERT_EQ(same.size(), 2u);
        EXPECT_EQ(same[registry::LeadingIndex(same)].number, "000018");
    }
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
