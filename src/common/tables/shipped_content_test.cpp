#include "common/tables/shipped_content.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/tables/index_keys.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/dbf/index.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;

TEST(ShippedContent, DataFolderIsBesideTheCompanyDirectories) {
    EXPECT_EQ(ShippedDataDir("/opt/kp/DEMO.PK/"), "/opt/kp/data/");
    EXPECT_EQ(ShippedDataDir("/opt/kp/firma.pk"), "/opt/kp/data/");
    EXPECT_EQ(ShippedDataDir("/opt/kp/"), "/opt/kp/data/");
}

TEST(ShippedContent, TabSeparatedFilesFillEveryFieldType) {
    ScratchDir dir;
    ASSERT_TRUE(dbf::Table::Create(dir.File("T.DBF"), {{"KOD", dbf::FieldType::kCharacter, 3, 0},
                                                       {"ILE", dbf::FieldType::kNumeric, 6, 2},
                                                       {"JEST", dbf::FieldType::kLogical, 1, 0},
                                                       {"DNIA", dbf::FieldType::kDate, 8, 0}})
                    .ok());
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(dir.File("T.DBF"), {}, &t).ok());
    dbf::testing::WriteAll(dir.File("ok.tsv"),
                           "ILE\tKOD\tJEST\tDNIA\n12.5\tŁÓDŹ\tT\t20261208\r\n\n-1\tA\tF\t\n");
    uint32_t loaded = 0;
    ASSERT_TRUE(LoadTabSeparated(dir.File("ok.tsv"), *t, &loaded).ok());
    EXPECT_EQ(loaded, 2u);
    dbf::Record rec = t->NewRecord();
    ASSERT_TRUE(t->Read(1, &rec).ok());
    EXPECT_EQ(rec.GetString(0),
              "\x9D\xE0"
              "D");  // cut to 3, CP852
    EXPECT_EQ(rec.GetNumber(1), 12.5);
    EXPECT_TRUE(rec.GetLogical(2));
    EXPECT_EQ(rec.GetDate(3), "20261208");
    ASSERT_TRUE(t->Read(2, &rec).ok());
    EXPECT_EQ(rec.GetDate(3), "");

    dbf::testing::WriteAll(dir.File("bad1.tsv"), "KOD\tNIEMA\nA\tB\n");
    EXPECT_TRUE(LoadTabSeparated(dir.File("bad1.tsv"), *t).IsInvalidArgument());
    dbf::testing::WriteAll(dir.File("bad2.tsv"), "KOD\tILE\nA\n");
    EXPECT_TRUE(LoadTabSeparated(dir.File("bad2.tsv"), *t).IsInvalidArgument());
}

TEST(ShippedContent, AlgorithmTablesGetTheirMemoTexts) {
    // A memo table made by the opener is filled from its file, memo texts
    // included, and opens with its index.
    ScratchDir company;
    ScratchDir data;
    dbf::testing::WriteAll(data.File("PKAPDST.tsv"),
                           "TYT_PODM_P\tWARUNEK_\tPOD_EM_REN\n"
                           "01\t\tZASA+\\\\n\\tx\\q\\n.T.\n"
                           "04\tRODZ=\"Ż\"\t\n");
    testing::HeadlessRuntime h({'t'});
    h.rt.set_data_dir(company.path() + "/");
    Tables tables(h.rt);
    tables.set_initial_content(ShippedContent(data.path() + "/"));
    dbf::WorkArea& area = tables.Open("PKAPDST", {"PKAPDST1"});
    ASSERT_EQ(area.table().record_count(), 2u);
    EXPECT_TRUE(area.index(0).Check(&area.table()).ok());
    const int cond = area.FieldIndex("WARUNEK_");
    const int base = area.FieldIndex("POD_EM_REN");
    std::string text;
    ASSERT_TRUE(area.GoTop().ok());
    EXPECT_EQ(area.record().GetString(area.FieldIndex("TYT_PODM_P")), "01");
    ASSERT_TRUE(area.ReadMemo(cond, &text).ok());
    EXPECT_EQ(text, "");
    ASSERT_TRUE(area.ReadMemo(base, &text).ok());
    EXPECT_EQ(text, "ZASA+\\n\tx\\q\r\n.T.");
    ASSERT_TRUE(area.Skip(1).ok());
    ASSERT_TRUE(area.ReadMemo(cond, &text).ok());
    EXPECT_EQ(text, "RODZ=\"\xBD\"");  // CP852
    ASSERT_TRUE(area.ReadMemo(base, &text).ok());
    EXPECT_EQ(text, "");
}

TEST(ShippedContent, TheSetupFolderIsFoundWithOrWithoutTheClosingSlash) {
    // The demo hands in its data folder without the closing slash.
    for (const char* slash : {"", "/"}) {
        ScratchDir dir;
        std::filesystem::create_directories(dir.path() + "/data/payroll");
        dbf::testing::WriteAll(dir.path() + "/data/payroll/PKSLST.setup",
                               "[PKSLST]\nTYP_LST: Z\nNAZWA_LST: Umowy zlecenia\n");
        ASSERT_TRUE(dbf::Table::Create(dir.File("PKSLST.DBF"), FindTable("PKSLST")->Specs()).ok());
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(dir.File("PKSLST.DBF"), {}, &t).ok());
        ASSERT_TRUE(ShippedContent(dir.path() + "/data" + slash)("PKSLST", *t).ok());
        ASSERT_EQ(t->record_count(), 1u) << "slash \"" << slash << "\"";
        dbf::Record rec = t->NewRecord();
        ASSERT_TRUE(t->Read(1, &rec).ok());
        EXPECT_EQ(rec.GetString(rec.FieldIndex("TYP_LST")), "Z ");
    }
}

// The number of entries of each index of a dictionary created by the opener
// from the shipped files.
std::vector<size_t> EntryCounts(const char* table) {
    ScratchDir dir;
    testing::HeadlessRuntime h({'t'});
    h.rt.set_data_dir(dir.path() + "/");
    RetryPolicy policy;
    Tables tables(h.rt, policy);
    tables.set_initial_content(ShippedContent(KESTREL_DATA_DIR));
    std::vector<std::string> names;
    for (const CatalogueIndex& i : FindTable(table)->indexes) names.push_back(i.name);
    dbf::WorkArea& area = tables.Open(table, names);
    std::vector<size_t> out{area.table().record_count()};
    for (size_t i = 0; i < area.index_count(); ++i) {
        EXPECT_TRUE(area.index(i).Check(&area.table()).ok()) << names[i];
        std::vector<std::pair<std::string, uint32_t>> entries;
        EXPECT_TRUE(area.index(i).Entries(&entries).ok());
        out.push_back(entries.size());
    }
    return out;
}

TEST(ShippedContent, CodeDictionariesWithTheirIndexes) {
    // Records, then PKKDURZ1 (code) and PKKDURZ2 (town).
    EXPECT_EQ(EntryCounts("PKKDURZ"), (std::vector<size_t>{400, 400, 400}));
    EXPECT_EQ(EntryCounts("PKSKODK"), (std::vector<size_t>{254, 254}));
    // Communes: 16 voivodeships, 380 districts, the rest communes and their parts.
    const auto gminy = EntryCounts("PKGMINY");
    ASSERT_EQ(gminy.size(), 8u);
    EXPECT_EQ(gminy[1], 16u);
    EXPECT_EQ(gminy[2], 380u);
    EXPECT_EQ(gminy[3], gminy[0] - 16 - 380);
    EXPECT_EQ(gminy[4], 16u);
    // Professions: one index per level of the code.
    const auto kzis = EntryCounts("PKKZIS");
    ASSERT_EQ(kzis.size(), 7u);
    EXPECT_EQ(kzis[2], 10u);  // major groups 0-9
    EXPECT_EQ(kzis[2] + kzis[3] + kzis[4] + kzis[5] + kzis[6], kzis[0]);
}

}  // namespace
}  // namespace kestrel::common
