#include "tools/demo_payroll.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/base/text.h"
#include "platform/dbf/table.h"
#include "tools/demo_company.h"

namespace kestrel::tools {
namespace {

namespace fs = std::filesystem;

// The visible records of a table of the demo company, each as the values of
// `fields` joined by spaces (numbers as "%.2f", texts trimmed).
std::vector<std::string> Rows(const fs::path& dir, const char* table,
                              const std::vector<std::string>& fields) {
    std::unique_ptr<dbf::Table> t;
    EXPECT_TRUE(dbf::Table::Open((dir / table).string() + ".DBF", {.read_only = true}, &t).ok());
    std::vector<std::string> out;
    if (!t) return out;
    (void)t->Scan(1, [&](uint32_t, const dbf::Record& r) {
        if (r.deleted()) return base::Status::Ok();
        std::string row;
        for (const std::string& f : fields) {
            const int i = t->FieldIndex(f);
            std::string v;
            if (t->fields()[static_cast<size_t>(i)].type == dbf::FieldType::kNumeric) {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%.2f", r.GetNumber(i));
                v = buf;
            } else if (t->fields()[static_cast<size_t>(i)].type == dbf::FieldType::kLogical) {
                v = r.GetLogical(i) ? "T" : "F";
            } else {
                v = base::Trim(r.GetString(i));
            }
            row += (row.empty() ? "" : " ") + v;
        }
        out.push_back(row);
        return base::Status::Ok();
    });
    return out;
}

// The demo ships the month of its clock computed with the shipped payroll
// setup: one open list of symbol A paid on the month's last day, every
// staff employee of the register employed in the month (not the legal
// persons, not the persons outside the staff, whose contracts go on lists
// Z and D) paid on it;
// creating the company again adds no second list and no positions.
TEST(DemoPayrollMonth, OneOpenListOfTheMonthComputedForEveryEmployee) {
    const fs::path root =
        fs::temp_directory_path() / ("kestrel_demo_month_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const fs::path dir = root / "DEMO.PK";
    EXPECT_EQ(
        Rows(dir, "PKLISTY", {"ROK_LST", "MC_LST", "TYP_LST", "NR_LST", "DATA_WYP", "WSK_AKTYWN"}),
        (std::vector<std::string>{"2026 12 A 1.00 20261231 T"}));
    std::map<std::string, std::string> first;
    std::set<std::string> paid;
    const auto positions = Rows(dir, "PKPLACE", {"NR_PRAC", "SKLADN_PL", "KWOTA_"});
    for (const std::string& p : positions) {
        if (p.compare(0, 6, "000001") == 0) first[p.substr(7, 4)] = p.substr(12);
        if (p.compare(7, 4, "DOWY") == 0) paid.insert(p.substr(0, 6));
    }
    // 11200.00 base pay: pension 9.76 %, disability 1.5 %, sickness 2.45 %,
    // health 9 % of the rest, the advance 12 % of the base less 300, the
    // employer's contributions (accident 1.67 % of the demo's parameter).
    EXPECT_EQ(first, (std::map<std::string, std::string>{{"ZASD", "11200.00"},
                                                         {"BRUT", "11200.00"},
                                                         {"SKLU", "11200.00"},
                                                         {"EMER", "1093.12"},
                                                         {"RENT", "168.00"},
                                                         {"CHOR", "274.40"},
                                                         {"PZDR", "9664.48"},
                                                         {"KOSZ", "250.00"},
                                                         {"PODS", "9414.00"},
                                                         {"ZDRO", "869.80"},
                                                         {"ZALI", "830.00"},
                                                         {"DOWY", "7964.68"},
                                                         {"EMEF", "1093.12"},
                                                         {"RENF", "728.00"},
                                                         {"WYPF", "187.04"},
                                                         {"FPRA", "274.40"},
                                                         {"FGSP", "11.20"}}));
    // Paid: the staff still employed in the month (those dismissed before it
    // have no working days in it).
    std::set<std::string> staff;
    for (const std::string& r :
         Rows(dir, "PKPRAC", {"NR_PRAC", "OS_PRAWNA", "NIE_PRAC", "DATA_ZWOLN"}))
        if (r.substr(7, 3) == "F F" && (r.size() <= 11 || r.substr(11) >= "20261201"))
            staff.insert(r.substr(0, 6));
    EXPECT_EQ(paid, staff);
    EXPECT_GT(paid.size(), 10u);

    ASSERT_TRUE(AddDemoPayrollMonth(dir.string(), clock).ok());
    EXPECT_EQ(Rows(dir, "PKLISTY", {"NR_LST"}).size(), 1u);
    EXPECT_EQ(Rows(dir, "PKPLACE", {"NR_PRAC"}).size(), positions.size());
    fs::remove_all(root);
}

// A month the demo's tax scales do not cover gets no list, and the company
// is made all the same.
TEST(DemoPayrollMonth, NoListForAMonthWithoutATaxScale) {
    const fs::path root =
        fs::temp_directory_path() / ("kestrel_demo_month_late_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2031, 5, 17, 8, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    EXPECT_EQ(Rows(root / "DEMO.PK", "PKLISTY", {"NR_LST"}).size(), 0u);
    EXPECT_EQ(Rows(root / "DEMO.PK", "PKPLACE", {"NR_PRAC"}).size(), 0u);
    fs::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
