#include "tools/demo_worktime.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/base/text.h"
#include "platform/dbf/table.h"
#include "tools/demo_company.h"

namespace kestrel::tools {
namespace {

// "NR_PRAC CODE hours" of the visible records of a table, in record order.
std::vector<std::string> Lines(const std::string& path) {
    std::unique_ptr<dbf::Table> t;
    EXPECT_TRUE(dbf::Table::Open(path, {}, &t).ok());
    std::vector<std::string> out;
    if (!t) return out;
    const int nr = t->FieldIndex("NR_PRAC"), code = t->FieldIndex("KOD_OB"),
              hours = t->FieldIndex("ILOSC_GODZ"), year = t->FieldIndex("ROK_"),
              month = t->FieldIndex("MIESIAC_");
    t->Scan(1, [&](uint32_t, const dbf::Record& r) {
        if (!r.deleted())
            out.push_back(base::Trim(r.GetString(year)) + "-" + base::Trim(r.GetString(month)) +
                          " " + r.GetString(nr) + " " + base::TrimRight(r.GetString(code)) + " " +
                          base::Trim(r.GetString(hours)));
        return base::Status::Ok();
    });
    return out;
}

// The trimmed values of `field` of a table's visible records, in record order.
std::vector<std::string> Column(const std::string& path, const char* field) {
    std::unique_ptr<dbf::Table> t;
    EXPECT_TRUE(dbf::Table::Open(path, {}, &t).ok()) << path;
    std::vector<std::string> out;
    if (!t) return out;
    const int f = t->FieldIndex(field);
    t->Scan(1, [&](uint32_t, const dbf::Record& r) {
        if (!r.deleted()) out.push_back(base::Trim(r.GetString(f)));
        return base::Status::Ok();
    });
    return out;
}

// Absence codes are variables of the formulas beside the working-time codes
// and allowances; a reason of suspension generates its days under a code of
// type "G", and every code belongs to a kind the kinds' dictionary holds.
TEST(DemoAbsences, CodesAreFreeInTheNamespaceAndTheirReferencesHold) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_demo_absences_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const std::string dir = (root / "DEMO.PK").string() + "/";
    const std::vector<std::string> codes = Column(dir + "PKRNB.DBF", "KOD_NIEOB");
    const std::vector<std::string> types = Column(dir + "PKRNB.DBF", "TYP_");
    const std::vector<std::string> kinds = Column(dir + "PKRNB.DBF", "RODZAJ_");
    EXPECT_GE(codes.size(), 8u);
    std::set<std::string> taken;
    for (const char* table : {"PKROB.DBF", "PKSRDOD.DBF"})
        for (const std::string& s : Column(dir + table, table[2] == 'R' ? "KOD_OB" : "RODZAJ_DOD"))
            taken.insert(s);
    const std::vector<std::string> known_kinds = Column(dir + "PKRABS.DBF", "RODZAJ_ABS");
    for (size_t i = 0; i < codes.size(); ++i) {
        EXPECT_TRUE(taken.insert(codes[i]).second) << codes[i];
        EXPECT_NE(std::string("PBZAEUG").find(types[i]), std::string::npos) << codes[i];
        if (!kinds[i].empty()) {
            EXPECT_NE(std::find(known_kinds.begin(), known_kinds.end(), kinds[i]),
                      known_kinds.end())
                << codes[i];
        }
    }
    const std::vector<std::string> generated = Column(dir + "PKSPZAW.DBF", "KOD_NIEOB");
    ASSERT_FALSE(generated.empty());
    for (const std::string& code : generated) {
        const auto at = std::find(codes.begin(), codes.end(), code);
        ASSERT_NE(at, codes.end()) << code;
        EXPECT_EQ(types[static_cast<size_t>(at - codes.begin())], "G") << code;
    }
    std::filesystem::remove_all(root);
}

TEST(DemoWorkingTime, TheStaffsMonthWithItsComputedTotalOnce) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_demo_time_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const std::string dir = (root / "DEMO.PK").string();
    ASSERT_TRUE(AddDemoWorkingTime(dir, clock).ok());  // a second run adds nothing
    const std::vector<std::string> lines = Lines(dir + "/PKCZAS.DBF");
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("2026-12 000001 NORM 168.00"));
    EXPECT_TRUE(has("2026-12 000004 N50 12.00"));
    EXPECT_TRUE(has("2026-12 000004 GNOC 24.00"));
    // The computed total: normal hours and overtime, not the night hours.
    EXPECT_TRUE(has("2026-12 000004 RAZG 184.00"));
    EXPECT_TRUE(has("2026-12 000001 RAZG 168.00"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find(" RAZG ") != l.npos; }),
              12);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find(" NORM ") != l.npos; }),
              12);
    std::filesystem::remove_all(root);
}

// The month's absences: a sickness running on from November has a line in
// each month, and the holiday leave counts only its working days.
TEST(DemoWorkingTime, AbsencesOfTheMonthWithASicknessFromTheMonthBefore) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_demo_nieob_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const std::string dir = (root / "DEMO.PK").string();
    ASSERT_TRUE(AddDemoWorkingTime(dir, clock).ok());  // a second run adds nothing
    const std::string table = dir + "/PKNIEOB.DBF";
    const auto month = Column(table, "MIESIAC_"), nr = Column(table, "NR_PRAC"),
               code = Column(table, "KOD_NIEOB"), cal = Column(table, "MC_KAL"),
               from = Column(table, "DZ_ROZP"), to = Column(table, "DZ_ZAK"),
               qty = Column(table, "ILOSC_"), qty2 = Column(table, "ILOSC_2");
    std::vector<std::string> lines;
    for (size_t i = 0; i < nr.size(); ++i)
        lines.push_back(month[i] + " " + nr[i] + " " + code[i] + " " + cal[i] + " " + from[i] +
                        "-" + to[i] + " " + qty[i] + " " + qty2[i]);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "11 000003 CH 11 27-30 4.000 0.000",
                         "12 000003 CH 12 1-5 5.000 0.000",
                         "12 000006 UW 12 10-14 3.000 24.000",  // 12 and 13 are a weekend
                         "12 000010 ZC 12 17-18 2.000 0.000",
                     }));
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
