// Packing and copying records between tables.
#include "platform/dbf/table_ops.h"

#include <gtest/gtest.h>

#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;

TEST(TableOpsTest, PackKeepsLiveRecordsAndTheirMemosInPlace) {
    ScratchDir dir;
    std::string path = dir.File("PKP.DBF");
    ASSERT_TRUE(
        Table::Create(path, {{"N", FieldType::kNumeric, 4, 0}, {"M", FieldType::kMemo, 10, 0}})
            .ok());
    {
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(path, {.exclusive = true}, &t).ok());
        for (int i = 1; i <= 50; ++i) {
            Record r = t->NewRecord();
            r.SetNumber(0, i);
            r.set_deleted(i % 2 == 0);
            // A changed memo leaves garbage behind: write each one twice.
            ASSERT_TRUE(t->WriteMemo(&r, 1, std::string(600, 'a')).ok());
            ASSERT_TRUE(t->WriteMemo(&r, 1, "memo " + std::to_string(i)).ok());
            uint32_t n;
            ASSERT_TRUE(t->Append(r, &n).ok());
        }
    }
    uint64_t memo_before = testing::ReadAll(dir.File("PKP.DBT")).size();
    uint32_t kept = 0;
    // Besides the deleted records, drop those the caller refuses.
    ASSERT_TRUE(PackTable(
                    path, [](const Record& r) { return r.GetNumber(0) != 49; }, &kept)
                    .ok());
    EXPECT_EQ(kept, 24u);
    EXPECT_FALSE(FileExists(dir.File("PKP@.DBF")));
    // The memo file is not replaced: only the table is, in one rename, so a
    // crash never pairs the records with another memo file.
    EXPECT_EQ(testing::ReadAll(dir.File("PKP.DBT")).size(), memo_before);
    EXPECT_FALSE(FileExists(dir.File("PKP@.DBT")));
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(path, {}, &t).ok());
    ASSERT_EQ(t->record_count(), 24u);
    Record r;
    std::string memo;
    for (uint32_t n = 1; n <= 24; ++n) {
        ASSERT_TRUE(t->Read(n, &r).ok());
        EXPECT_EQ(r.GetNumber(0), 2 * n - 1);
        ASSERT_TRUE(t->ReadMemo(r, 1, &memo).ok());
        EXPECT_EQ(memo, "memo " + std::to_string(2 * n - 1));
    }
}

TEST(TableOpsTest, PackNeedsTheTableToItself) {
    ScratchDir dir;
    std::string path = dir.File("PKB.DBF");
    ASSERT_TRUE(Table::Create(path, {{"N", FieldType::kNumeric, 4, 0}}).ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(path, {}, &t).ok());
    EXPECT_TRUE(PackTable(path).IsBusy());
}

TEST(TableOpsTest, CopyMatchesFieldsByName) {
    ScratchDir dir;
    std::string a = dir.File("A.DBF"), b = dir.File("B.DBF");
    ASSERT_TRUE(Table::Create(a, {{"NR", FieldType::kNumeric, 6, 2},
                                  {"NAZWA", FieldType::kCharacter, 10, 0},
                                  {"OPIS", FieldType::kMemo, 10, 0},
                                  {"X", FieldType::kCharacter, 2, 0}})
                    .ok());
    ASSERT_TRUE(Table::Create(b, {{"NAZWA", FieldType::kCharacter, 4, 0},
                                  {"NR", FieldType::kNumeric, 3, 0},
                                  {"OPIS", FieldType::kMemo, 10, 0},
                                  {"X", FieldType::kNumeric, 2, 0}})
                    .ok());
    std::unique_ptr<Table> ta, tb;
    ASSERT_TRUE(Table::Open(a, {.exclusive = true}, &ta).ok());
    ASSERT_TRUE(Table::Open(b, {.exclusive = true}, &tb).ok());
    for (int i = 0; i < 3; ++i) {
        Record r = ta->NewRecord();
        r.SetNumber(0, 10.4 * i);
        r.SetString(1, "NAME" + std::to_string(i));
        r.SetString(3, "zz");
        ASSERT_TRUE(ta->WriteMemo(&r, 2, "text " + std::to_string(i)).ok());
        r.set_deleted(i == 1);
        uint32_t n;
        ASSERT_TRUE(ta->Append(r, &n).ok());
    }
    uint32_t copied = 0;
    ASSERT_TRUE(CopyRecords(ta.get(), tb.get(), false, &copied).ok());
    EXPECT_EQ(copied, 2u);
    Record r;
    ASSERT_TRUE(tb->Read(2, &r).ok());
    EXPECT_EQ(r.GetString(0), "NAME");
    EXPECT_EQ(r.Raw(1), " 21");
    EXPECT_TRUE(r.IsBlank(3));  // X is C in one table and N in the other
    std::string memo;
    ASSERT_TRUE(tb->ReadMemo(r, 2, &memo).ok());
    EXPECT_EQ(memo, "text 2");
    // -99.6 rounds to -100, too wide for N3.
    Record big = ta->NewRecord();
    ASSERT_TRUE(big.SetNumber(0, -99.6).ok());
    uint32_t n;
    ASSERT_TRUE(ta->Append(big, &n).ok());
    Status s = CopyRecords(ta.get(), tb.get(), true, &copied);
    EXPECT_TRUE(s.IsInvalidArgument());
    EXPECT_NE(s.message().find("record 4"), std::string::npos) << s.message();
}

}  // namespace
}  // namespace kestrel::dbf
