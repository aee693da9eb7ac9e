// Failing disks under the engine: writes refused half-way through appends,
// index changes, index builds and packs leave the old files usable and say
// which file failed.
#include <gtest/gtest.h>

#include "faulty_fs.h"
#include "platform/dbf/formula_key.h"
#include "platform/dbf/table_ops.h"
#include "platform/dbf/work_area.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::FaultyFileSystem;
using testing::ScratchDir;

class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dbf_ = dir_.File("PKF.DBF");
        ntx_ = dir_.File("PKF1.NTX");
        ASSERT_TRUE(
            Table::Create(
                dbf_, {{"K", FieldType::kCharacter, 8, 0}, {"M", FieldType::kMemo, 10, 0}}, &fs_)
                .ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dbf_, {.exclusive = true, .fs = &fs_}, &t).ok());
        for (int i = 0; i < 500; ++i) {
            Record r = t->NewRecord();
            r.SetString(0, std::to_string(1000 + i * 7 % 500));
            r.set_deleted(i % 3 == 0);
            uint32_t n;
            ASSERT_TRUE(t->Append(r, &n).ok());
        }
        def_.key_expression.assign(1, 'k');
        ASSERT_TRUE(CompileFormulaKey(&t->fields(), "k", &def_.key).ok());
        ASSERT_TRUE(Index::Create(ntx_, t.get(), def_).ok());
    }

    void ExpectIndexClean() {
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dbf_, {}, &t).ok());
        std::unique_ptr<Index> idx;
        ASSERT_TRUE(Index::Open(ntx_, false, false, &idx).ok());
        idx->Bind(def_.key, nullptr);
        Status s = idx->Check(t.get());
        EXPECT_TRUE(s.ok()) << s.ToString();
    }

    ScratchDir dir_;
    FaultyFileSystem fs_;
    std::string dbf_, ntx_;
    IndexDefinition def_;
};

TEST_F(FaultTest, FailedAppendLeavesCountAndLocksAlone) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {.fs = &fs_}, &t).ok());
    fs_.FailWrites("PKF.DBF", 0);
    uint32_t n = 0;
    Status s = t->Append(t->NewRecord(), &n);
    EXPECT_TRUE(s.IsIOError());
    EXPECT_NE(s.message().find("PKF.DBF"), std::string::npos) << s.message();
    fs_.FailWrites("", 0);
    // The header lock and the new record's lock were given back.
    std::unique_ptr<Table> other;
    ASSERT_TRUE(Table::Open(dbf_, {}, &other).ok());
    EXPECT_EQ(other->record_count(), 500u);
    ASSERT_TRUE(other->Append(other->NewRecord(), &n).ok());
    EXPECT_EQ(n, 501u);
}

TEST_F(FaultTest, FailedIndexChangeRefusesMoreUntilRebuilt) {
    Workspace ws;
    WorkArea* a = nullptr;
    ASSERT_TRUE(ws.Use(dbf_, "", {.fs = &fs_}, &a).ok());
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx_, false, false, &idx, &fs_).ok());
    idx->Bind(def_.key, nullptr);
    ASSERT_TRUE(a->AddIndex(std::move(idx)).ok());
    ASSERT_TRUE(a->Goto(10).ok());
    ASSERT_TRUE(a->RLock().ok());
    a->record().SetString(0, "0000");
    fs_.FailWrites("PKF1.NTX", 1);  // the first page gets out, then the disk is full
    Status s = a->Commit();
    EXPECT_TRUE(s.IsIOError()) << s.ToString();
    EXPECT_NE(s.message().find("PKF1.NTX"), std::string::npos) << s.message();
    fs_.FailWrites("", 0);
    ASSERT_TRUE(a->Goto(11).ok());
    ASSERT_TRUE(a->RLock().ok());
    a->record().SetString(0, "0001");
    s = a->Commit();
    EXPECT_TRUE(s.IsCorruption()) << s.ToString();
    ASSERT_TRUE(ws.CloseAll().ok());
    // A rebuild from the table repairs it.
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {.exclusive = true}, &t).ok());
    ASSERT_TRUE(Index::Create(ntx_, t.get(), def_).ok());
    t.reset();
    ExpectIndexClean();
}

TEST_F(FaultTest, FailedBuildKeepsTheOldIndex) {
    std::string before = testing::ReadAll(ntx_);
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {.exclusive = true, .fs = &fs_}, &t).ok());
    fs_.FailWrites("PKF1@.NTX", 0);
    Status s = Index::Create(ntx_, t.get(), def_);
    EXPECT_TRUE(s.IsIOError()) << s.ToString();
    EXPECT_TRUE(testing::ReadAll(ntx_) == before);
    EXPECT_FALSE(FileExists(dir_.File("PKF1@.NTX")));
    fs_.FailWrites("", 0);
    fs_.FailRenames(true);
    EXPECT_TRUE(Index::Create(ntx_, t.get(), def_).IsIOError());
    EXPECT_TRUE(testing::ReadAll(ntx_) == before);
}

TEST_F(FaultTest, FailedPackKeepsTheOldTable) {
    std::string before = testing::ReadAll(dbf_);
    fs_.FailWrites("PKF@.DBF", 1);  // the copy's first block of records fails
    Status s = PackTable(dbf_, nullptr, nullptr, &fs_);
    EXPECT_TRUE(s.IsIOError()) << s.ToString();
    EXPECT_TRUE(testing::ReadAll(dbf_) == before);
    EXPECT_FALSE(FileExists(dir_.File("PKF@.DBF")));
    fs_.FailWrites("", 0);
    fs_.FailRenames(true);
    EXPECT_TRUE(PackTable(dbf_, nullptr, nullptr, &fs_).IsIOError());
    EXPECT_TRUE(testing::ReadAll(dbf_) == before);
    fs_.FailRenames(false);
    uint32_t kept = 0;
    ASSERT_TRUE(PackTable(dbf_, nullptr, &kept, &fs_).ok());
    EXPECT_EQ(kept, 333u);
}

}  // namespace
}  // namespace kestrel::dbf
