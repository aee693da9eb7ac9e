#include "utilities/table_menus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/console/keys.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;
namespace key = console::key;

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Company() {
        h.rt.set_data_dir(dir.path() + "/");
        for (const char* t : {"PKETYK", "PKURZ", "PKWALOR"})
            EXPECT_TRUE(
                dbf::Table::Create(dir.File(std::string(t) + ".DBF"), FindTable(t)->Specs()).ok());
    }
    // Keys that move the grid's bar from the first entry to table `name`.
    std::vector<int> To(const char* name, int specials) {
        std::vector<int> keys;
        for (const TableLayout* t : OfferedTables(h.rt, specials == 2)) {
            if (std::string(t->name) == name) break;
            keys.push_back(key::kDown);
        }
        for (int i = 0; i < specials; ++i) keys.push_back(key::kDown);
        keys.push_back(key::kEnter);
        return keys;
    }
    // An index file written with a key the catalogue does not have.
    void StaleIndex(const char* table, const char* index) {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(dir.File(std::string(table) + ".DBF"), {}, &t).ok());
        dbf::IndexDefinition def;
        def.key_expression = "old";
        def.key = [](const dbf::Record&, std::string* k) { *k = "X"; };
        ASSERT_TRUE(dbf::Index::Create(dir.File(std::string(index) + ".NTX"), t.get(), def).ok());
    }
    std::string KeyOf(const char* index) {
        std::unique_ptr<dbf::Index> idx;
        EXPECT_TRUE(
            dbf::Index::Open(dir.File(std::string(index) + ".NTX"), false, true, &idx).ok());
        return idx ? idx->key_expression() : "";
    }
    size_t EtykRecords() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKETYK.DBF"), {}, &t).ok());
        return t ? t->record_count() : 0;
    }
};

TEST(TableMenus, OfferedTablesFollowTheModules) {
    testing::HeadlessRuntime h;
    auto has = [&](const char* name, bool pit) {
        for (const TableLayout* t : OfferedTables(h.rt, pit))
            if (std::string(t->name) == name) return true;
        return false;
    };
    EXPECT_TRUE(has("PKPRAC", true));
    EXPECT_FALSE(has("PKDRUK", true));
    EXPECT_FALSE(has("PKCZLK", true));
    EXPECT_FALSE(has("PKJPRAC", true));
    EXPECT_FALSE(has("PKVPIT", true));
    h.rt.config().Set("NAGLKWP", memfile::MemValue::Logical(true));
    h.rt.config().Set("NAGLPPK20", memfile::MemValue::Logical(true));
    h.rt.config().Set("NAGLKORPIT", memfile::MemValue::Logical(true));
    EXPECT_TRUE(has("PKCZLK", true));
    EXPECT_TRUE(has("PKJPRAC", true));
    EXPECT_TRUE(has("PKVPIT", true));
    EXPECT_FALSE(has("PKVPIT", false));
}

TEST(TableMenus, ReindexingTheChosenTable) {
    Company c;
    c.StaleIndex("PKURZ", "PKURZ1");
    std::vector<int> keys = c.To("PKURZ", 2);
    keys.insert(keys.end(), {' ', key::kEsc});
    c.h.backend.AddKeys(keys);
    Qrm94(c.h.rt);
    EXPECT_EQ(c.KeyOf("PKURZ1"), "urz_skarb");
    EXPECT_TRUE(base::Exists(c.dir.File("PKURZ2.NTX")));
    EXPECT_EQ(c.EtykRecords(), 1u);  // the mark, cleared
}

TEST(TableMenus, ReindexingOffersTheUpgradeOfAnOldTableWithoutIndexFiles) {
    Company c;
    // PKSTER has no index files; its older layout lacks MIN_WYN_G.
    std::vector<dbf::FieldSpec> old;
    for (const dbf::FieldSpec& f : FindTable("PKSTER")->Specs())
        if (f.name != "MIN_WYN_G") old.push_back(f);
    ASSERT_TRUE(dbf::Table::Create(c.dir.File("PKSTER.DBF"), old).ok());
    std::vector<int> keys = c.To("PKSTER", 2);
    keys.insert(keys.end(), {'t', ' ', key::kEsc});
    c.h.backend.AddKeys(keys);
    Qrm94(c.h.rt);
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKSTER.DBF"), {}, &t).ok());
    EXPECT_EQ(t->fields().size(), 57u);
}

TEST(TableMenus, TheArchiveListShowsItsEntriesWhole) {
    Company c;
    ASSERT_TRUE(std::filesystem::create_directory(c.dir.File("ARCH2024")));
    std::string first, second;
    c.h.con.keyboard().Bind(key::F(9), [&] {
        first = c.h.Row(7);
        second = c.h.Row(8);
    });
    c.h.backend.AddKeys({key::kDown, key::kEnter, key::F(9), key::kEsc, key::kEsc});
    Qrm94(c.h.rt);
    EXPECT_EQ(first.substr(2, 19), "Wyjscie z archiwum ");
    EXPECT_EQ(second.substr(2, 9), "ARCH2024 ");
}

TEST(TableMenus, OnlyOperatorsWithKindSevenAndTheFlagWhileRunning) {
    Company c;
    c.h.rt.operators() = OperatorState{true, "JKOW", RightBit(6)};
    c.h.backend.AddKeys({key::kEnter});  // dismisses the refusal
    Qrm94(c.h.rt);
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
    EXPECT_TRUE(c.h.backend.exhausted());

    c.h.rt.operators() = OperatorState{true, "JKOW", RightBit(7)};
    bool flag_seen = false;
    c.h.con.keyboard().Bind(key::F(9), [&] { flag_seen = c.h.rt.config().Logical("NAGLIIN"); });
    c.h.backend.AddKeys({key::F(9), key::kEsc});
    Qrm952(c.h.rt);
    EXPECT_TRUE(flag_seen);
    EXPECT_FALSE(c.h.rt.config().Logical("NAGLIIN", true));
}

TEST(TableMenus, ReindexingEverythingEmptiesTheMarks) {
    Company c;
    c.StaleIndex("PKWALOR", "PKWALOR1");
    // The first blank is typed ahead while the tables are rebuilt (looked at
    // for Esc) and dropped by the final message's wait, which takes the second.
    c.h.backend.AddKeys({key::F(12), 't', ' ', ' ', key::kEsc});
    Qrm94(c.h.rt);
    EXPECT_EQ(c.KeyOf("PKWALOR1"), "str(rok_,4)+strzero(miesiac_,2)");
    EXPECT_EQ(c.EtykRecords(), 0u);
}

TEST(TableMenus, ReorganisationPacksTheChosenTable) {
    Company c;
    {
        Tables tables(c.h.rt);
        dbf::WorkArea& area = tables.Open("PKWALOR", {"PKWALOR1"});
        for (int i = 0; i < 3; ++i) {
            tables.Append(area);
            ASSERT_TRUE(area.record().SetNumber(area.FieldIndex("ROK_"), 2020 + i).ok());
            ASSERT_TRUE(area.Commit().ok());
        }
        ASSERT_TRUE(area.Delete().ok());
    }
    std::vector<int> keys = c.To("PKWALOR", 1);
    keys.insert(keys.end(), {' ', key::kEsc});
    c.h.backend.AddKeys(keys);
    Qrm952(c.h.rt);
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKWALOR.DBF"), {}, &t).ok());
    EXPECT_EQ(t->record_count(), 2u);
}

TEST(TableMenus, GridsThatDoNotFitArePaged) {
    Company c;
    for (const char* flag : {"NAGLKWP", "NAGLPPK20", "NAGLKORPIT", "NAGLXSDML"})
        c.h.rt.config().Set(flag, memfile::MemValue::Logical(true));
    const auto tables = OfferedTables(c.h.rt, true);
    ASSERT_GT(tables.size() + 2, 98u);
    c.h.backend.AddKeys({key::kEnd, key::kEnter, key::kEsc});
    Qrm94(c.h.rt);
    // The second page starts with the 98th entry.
    const std::string name = tables[95]->name;
    EXPECT_EQ(c.h.ShownRow(7).substr(2, name.size()), name);
}

TEST(TableMenus, RowZeroCountsIndexesAndRecordsWhileTablesAreRebuilt) {
    Company c;
    {
        std::unique_ptr<dbf::Table> t;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKURZ.DBF"), exclusive, &t).ok());
        dbf::Record rec = t->NewRecord();
        for (int i = 0; i < 2100; ++i) {
            rec.Clear();
            rec.SetString(rec.FieldIndex("URZ_SKARB"), std::to_string(i % 100));
            rec.set_deleted(i % 21 == 0);
            uint32_t recno = 0;
            ASSERT_TRUE(t->Append(rec, &recno).ok());
        }
        ASSERT_TRUE(t->Close().ok());
    }
    const std::vector<std::string> both{"PKURZ1", "PKURZ2"};
    auto rebuild = [&] {
        Tables tables(c.h.rt);
        tables.set_exclusive(true);
        dbf::WorkArea& area = tables.Open("PKURZ");
        tables.RebuildIndexes(area.table(), c.dir.path() + "/", "PKURZ", both);
    };
    // Outside the re-indexing functions nothing is counted.
    const int before = c.h.backend.presents();
    rebuild();
    EXPECT_EQ(c.h.backend.presents(), before);

    // Inside them the record number runs over the index counter: the second
    // index's number was written over the first's "(1)/records(files)".
    c.h.rt.config().Set("NAGLIIN", memfile::MemValue::Logical(true));
    rebuild();
    EXPECT_EQ(c.h.ShownRow(0).substr(0, 19), "   2100(2)/2100(2) ");
    EXPECT_EQ(c.h.Row(0).substr(0, 19), std::string(19, ' '));  // cleared afterwards

    // A pack counts what is left.
    {
        Tables tables(c.h.rt);
        tables.Pack("PKURZ", both);
    }
    EXPECT_EQ(c.h.ShownRow(0).substr(0, 19), "   2000(2)/2000(2) ");
}

}  // namespace
}  // namespace kestrel::common
