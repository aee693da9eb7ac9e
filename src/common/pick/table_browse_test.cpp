#include "common/pick/table_browse.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "headless_runtime.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

class TableBrowseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrel_tbrowse_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "PKURZ.DBF").string();
        ASSERT_TRUE(dbf::Table::Create(path_, {{"URZ_SKARB", dbf::FieldType::kCharacter, 2, 0},
                                               {"NAZWA_", dbf::FieldType::kCharacter, 20, 0}})
                        .ok());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Opens the table with `n` records "01" … and deletes those in `deleted`.
    dbf::WorkArea* Fill(int n, std::vector<int> deleted = {}) {
        dbf::WorkArea* area = nullptr;
        EXPECT_TRUE(ws_.Use(path_, "PKURZ", {}, &area).ok());
        for (int i = 1; i <= n; ++i) {
            EXPECT_TRUE(area->Append().ok());
            char code[3];
            std::snprintf(code, sizeof code, "%02d", i);
            area->record().SetString(0, code);
            area->record().SetString(1,
                                     "Urz\xA5"
                                     "d " +
                                         std::to_string(i));
            EXPECT_TRUE(area->Commit().ok());
        }
        for (int d : deleted) {
            EXPECT_TRUE(area->Goto(static_cast<uint32_t>(d)).ok());
            EXPECT_TRUE(area->RLock().ok());
            EXPECT_TRUE(area->Delete().ok());
        }
        EXPECT_TRUE(area->Unlock().ok());
        EXPECT_TRUE(area->GoTop().ok());
        return area;
    }

    std::filesystem::path dir_;
    std::string path_;
    dbf::Workspace ws_;
};

TEST_F(TableBrowseTest, MovesOverVisibleRecordsAndStopsAtTheEnds) {
    dbf::WorkArea* area = Fill(25, {3, 25});
    testing::HeadlessRuntime h({key::kDown, key::kDown, key::kCtrlPgDn, key::kDown, key::kEnter});
    std::vector<uint32_t> seen;
    BrowseTable(h.rt, *area, 5, 1, 16, 60, {}, [&](int, int, Browse&) {
        seen.push_back(area->recno());
        return h.con.LastKey() == key::kEnter ? kBrowseClose : kBrowseRedrawRow;
    });
    // 3 and 25 are deleted. Ctrl+PgDn and the Down after it found keys
    // waiting while the window was redrawn: no handler calls for them.
    EXPECT_EQ(seen, (std::vector<uint32_t>{2, 4, 24}));
    EXPECT_EQ(h.At(5, 1, 21), "URZ_SKARB │ NAZWA_   ");
    EXPECT_EQ(h.At(16, 1, 26), "24        │ Urząd 24      ");
}

TEST_F(TableBrowseTest, EmptyTableAndPhantomPosition) {
    dbf::WorkArea* area = Fill(0);
    WorkAreaSource empty(*area);
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Skip(1), 0);
    EXPECT_EQ(empty.Skip(-1), 0);

    ASSERT_TRUE(ws_.CloseAll().ok());
    dbf::WorkArea* full = Fill(3);
    ASSERT_TRUE(full->Goto(99).ok());  // the phantom record past the end
    WorkAreaSource source(*full);
    EXPECT_FALSE(source.Empty());
    EXPECT_EQ(source.Skip(1), 0);  // steps back onto the last record first
    EXPECT_EQ(full->recno(), 3u);
    EXPECT_EQ(source.Skip(-5), -2);
    EXPECT_EQ(full->recno(), 1u);
}

TEST_F(TableBrowseTest, AHandlerThatMovesTheRecordGetsEveryRowRedrawn) {
    dbf::WorkArea* area = Fill(12);
    testing::HeadlessRuntime h({'x', key::kEnter});
    BrowseTable(h.rt, *area, 5, 1, 16, 60,
                {{"KOD", 3, [&] { return area->record().GetString(0); }}},
                [&](int mode, int, Browse&) {
                    if (mode == kBrowseException && h.con.LastKey() == 'x') {
                        area->Goto(9);  // a search found record 9
                        return kBrowseRedrawRow;
                    }
                    return h.con.LastKey() == key::kEnter ? kBrowseClose : kBrowseRedrawRow;
                });
    // The window is redrawn around record 9: near the end of the table it
    // stays full, so 9 stands on the seventh row with 3-8 above and 10-12 below.
    EXPECT_EQ(h.backend.shown().At(13, 1).attr, console::MakeAttr(14, 3));
    EXPECT_EQ(h.At(13, 1, 3), "09 ");
    EXPECT_EQ(h.At(7, 1, 3), "03 ");
    EXPECT_EQ(h.At(16, 1, 3), "12 ");
}

}  // namespace
}  // namespace kestrel::common
