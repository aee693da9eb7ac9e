#include "tools/demo_company.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "common/checks/identifiers.h"
#include "common/session/letters.h"
#include "common/tables/index_keys.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"

namespace kestrel::tools {
namespace {

TEST(DemoCompany, IdentifiersAreValidAndTheFileIsCreatedOnce) {
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    auto entries = DemoConfiguration();
    EXPECT_EQ(common::CheckNip(memfile::FindEntry(entries, "NAGL6")->value.text), 0);
    EXPECT_EQ(common::CheckRegon(memfile::FindEntry(entries, "NAGL7")->value.text), 0);
    EXPECT_EQ(memfile::FindEntry(entries, "NAGL1")->value.text.size(), 20u);
    EXPECT_EQ(
        common::CheckBankAccount(memfile::FindEntry(entries, "NAGL74")->value.text.substr(0, 26)),
        0);

    auto root =
        std::filesystem::temp_directory_path() / ("kestrel_demo_" + std::to_string(::getpid()));
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    std::vector<memfile::MemEntry> read;
    ASSERT_TRUE(memfile::ReadMemFile((root / "DEMO.PK/QRM.MEM").string(), &read).ok());
    EXPECT_EQ(read, entries);
    const std::string dir = (root / "DEMO.PK").string();
    for (const common::TableLayout& t : common::CatalogueTables()) {
        if (common::IsOutsideCompany(t.name)) continue;
        EXPECT_TRUE(base::Exists(dir + "/" + t.name + ".DBF")) << t.name;
        for (const common::CatalogueIndex& i : t.indexes)
            EXPECT_TRUE(base::Exists(dir + "/" + i.name + ".NTX")) << i.name;
    }
    // The dictionaries come with their contents.
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(dir + "/PKKDURZ.DBF", {}, &t).ok());
        EXPECT_EQ(t->record_count(), 400u);
        EXPECT_TRUE(base::Exists((root / "data/PKKDURZ.tsv").string()));
    }
    // A table that exists keeps its records.
    uint32_t records = 0;
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(dir + "/PKTAB.DBF", {}, &t).ok());
        ASSERT_TRUE(t->Append(t->NewRecord(), &records).ok());
        ASSERT_TRUE(t->Close().ok());
    }
    // A second run leaves the company as it is.
    ASSERT_TRUE(memfile::WriteMemFile((root / "DEMO.PK/QRM.MEM").string(), {}).ok());
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    ASSERT_TRUE(memfile::ReadMemFile((root / "DEMO.PK/QRM.MEM").string(), &read).ok());
    EXPECT_TRUE(read.empty());
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(dir + "/PKTAB.DBF", {}, &t).ok());
    EXPECT_EQ(t->record_count(), records);
    t.reset();
    std::filesystem::remove_all(root);
}

// Every code of the demo dictionaries that refers to a shipped list must be
// in that list, or the register's validators would refuse the demo's data.
TEST(DemoCompany, DictionaryCodesExistInTheShippedLists) {
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    auto root = std::filesystem::temp_directory_path() /
                ("kestrel_demo_codes_" + std::to_string(::getpid()));
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const std::string dir = (root / "DEMO.PK").string();
    auto column = [&dir](const std::string& table, const std::string& field) {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir + "/" + table + ".DBF", {}, &t).ok()) << table;
        std::set<std::string> values;
        if (!t) return values;
        const int f = t->FieldIndex(field);
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            values.insert(r.GetString(f));
            return base::Status::Ok();
        });
        return values;
    };
    const std::set<std::string> communes = column("PKGMINY", "KOD_");
    const std::set<std::string> departments = column("PKDZIAL", "KOD_GMINY");
    EXPECT_GE(departments.size(), 2u);
    for (const std::string& code : departments) EXPECT_TRUE(communes.count(code)) << code;
    const std::set<std::string> offices = column("PKKDURZ", "KOD_URZEDU");
    const std::set<std::string> ours = column("PKURZ", "KOD_URZEDU");
    EXPECT_GE(ours.size(), 2u);
    for (const std::string& code : ours) EXPECT_TRUE(offices.count(code)) << code;
    // Allowance symbols share the namespace of absence codes.
    for (const std::string& symbol : column("PKSRDOD", "RODZAJ_DOD"))
        EXPECT_FALSE(column("PKRNB", "KOD_NIEOB").count(symbol)) << symbol;
    std::filesystem::remove_all(root);
}

// Scripted runs compare screens made on the demo with expected ones: what
// the demo writes is dated by the clock it is given, never by today.
TEST(DemoCompany, DatesFollowTheClockGiven) {
    base::FixedClock clock(base::LocalTime{2031, 5, 17, 8, 0, 0});
    auto root = std::filesystem::temp_directory_path() /
                ("kestrel_demo_clock_" + std::to_string(::getpid()));
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(
        dbf::Table::Open((root / "DEMO.PK/PKEKPRC.DBF").string(), {.read_only = true}, &t).ok());
    const int date = t->FieldIndex("DATA_AKT");
    ASSERT_GE(date, 0);
    int rows = 0;
    ASSERT_TRUE(t->Scan(1, [&](uint32_t, const dbf::Record& r) {
                     ++rows;
                     EXPECT_EQ(r.GetDate(date), "20310517");
                     return base::Status::Ok();
                 }).ok());
    EXPECT_GT(rows, 0);
    ASSERT_TRUE(t->Close().ok());
    // So is the last-update date of every table header (bytes 1-3).
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "DEMO.PK")) {
        if (entry.path().extension() != ".DBF") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        char header[4] = {};
        ASSERT_TRUE(in.read(header, sizeof header)) << entry.path();
        EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(header[1])), 131) << entry.path();
        EXPECT_EQ(static_cast<int>(header[2]), 5) << entry.path();
        EXPECT_EQ(static_cast<int>(header[3]), 17) << entry.path();
        ++tables;
    }
    EXPECT_GT(tables, 100);
    std::filesystem::remove_all(root);
}

// Whatever the demo writes it writes with every index file of the table
// open: a record missing from one index would hide it from every function
// that seeks through that one.
TEST(DemoCompany, EveryIndexFileHoldsEveryRecordOfItsTable) {
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    auto root = std::filesystem::temp_directory_path() /
                ("kestrel_demo_indexes_" + std::to_string(::getpid()));
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const common::LetterSet letters = common::MakeLetterSet(common::kPolishCp852);
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "DEMO.PK")) {
        if (entry.path().extension() != ".DBF") continue;
        const std::string table = entry.path().stem().string();
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(entry.path().string(), {.read_only = true}, &t).ok());
        common::IndexKeys keys(t->fields(), letters);
        for (const std::string& index : common::IndexFiles(table)) {
            const auto path = root / "DEMO.PK" / (index + ".NTX");
            if (!std::filesystem::exists(path)) continue;  // built on first open
            dbf::IndexDefinition def;
            ASSERT_TRUE(keys.Define(*common::IndexDefinitionOf(table, index), &def).ok());
            std::unique_ptr<dbf::Index> idx;
            ASSERT_TRUE(dbf::Index::Open(path.string(), true, false, &idx).ok()) << index;
            idx->Bind(def.key, def.condition);
            const base::Status s = idx->Check(t.get());
            EXPECT_TRUE(s.ok()) << index << ": " << s.ToString();
            ++checked;
        }
        ASSERT_TRUE(t->Close().ok());
    }
    EXPECT_GT(checked, 30);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
