// Damaged files: bytes flipped and files cut in real tables, memo files and
// indexes give a clear status naming the file, never a crash; a damaged
// index is never written to and always rebuilds from its table.
#include <gtest/gtest.h>

#include <random>

#include "platform/dbf/formula_key.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;

// Reads everything a program would read; returns the first failure.
Status ReadWholeTable(const std::string& path) {
    std::unique_ptr<Table> t;
    Status s = Table::Open(path, {.read_only = true}, &t);
    if (!s.ok()) return s;
    std::string memo;
    return t->Scan(1, [&](uint32_t, const Record& r) {
        for (size_t i = 0; i < t->fields().size(); ++i) {
            if (t->fields()[i].type == FieldType::kMemo) {
                Status st = t->ReadMemo(r, static_cast<int>(i), &memo);
                if (!st.ok()) return st;
            }
            r.GetNumber(static_cast<int>(i));
        }
        return Status::Ok();
    });
}

class CorruptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string src = testing::FixtureDir() + "/updated/";
        dbf_ = dir_.File("HBTEST.dbf");
        dbt_ = dir_.File("HBTEST.dbt");
        ntx_ = dir_.File("HBTEST2.ntx");
        ASSERT_TRUE(testing::CopyFile(src + "HBTEST.dbf", dbf_));
        ASSERT_TRUE(testing::CopyFile(src + "HBTEST.dbt", dbt_));
        ASSERT_TRUE(testing::CopyFile(src + "HBTEST2.ntx", ntx_));
        dbf_bytes_ = testing::ReadAll(dbf_);
        dbt_bytes_ = testing::ReadAll(dbt_);
        ntx_bytes_ = testing::ReadAll(ntx_);
    }

    int Rounds(int n) const { return testing::UnderSanitizer() ? n / 4 : n; }

    ScratchDir dir_;
    std::string dbf_, dbt_, ntx_;
    std::string dbf_bytes_, dbt_bytes_, ntx_bytes_;
};

TEST_F(CorruptionTest, CutTablesGiveCorruptionNamingTheFile) {
    const size_t cuts[] = {0, 1, 31, 32, 100, 289, 290, 291, 1000};
    for (size_t cut : cuts) {
        testing::WriteAll(dbf_, dbf_bytes_.substr(0, cut));
        Status s = ReadWholeTable(dbf_);
        ASSERT_FALSE(s.ok()) << cut;
        EXPECT_TRUE(s.IsCorruption()) << cut << " " << s.ToString();
        EXPECT_NE(s.message().find("HBTEST.dbf"), std::string::npos) << s.message();
    }
    // A cut among the records leaves fewer records than the header counts.
    testing::WriteAll(dbf_, dbf_bytes_.substr(0, dbf_bytes_.size() / 2));
    Status s = ReadWholeTable(dbf_);
    EXPECT_TRUE(s.IsCorruption()) << s.ToString();
    EXPECT_NE(s.message().find("header counts"), std::string::npos) << s.message();
}

TEST_F(CorruptionTest, FlippedHeaderBytesNeverCrash) {
    std::mt19937 rng(7);
    const size_t header = 32 + 32 * 8 + 2;
    for (int round = 0; round < Rounds(400); ++round) {
        std::string bytes = dbf_bytes_;
        for (int k = 0; k < 1 + round % 3; ++k) {
            bytes[rng() % header] = static_cast<char>(rng());
        }
        testing::WriteAll(dbf_, bytes);
        Status s = ReadWholeTable(dbf_);
        if (!s.ok()) {
            EXPECT_NE(s.message().find("HBTEST.db"), std::string::npos) << s.ToString();
        }
    }
}

TEST_F(CorruptionTest, DamagedMemoFileIsReportedByName) {
    // Memo pointers beyond the end of the memo file.
    testing::WriteAll(dbt_, dbt_bytes_.substr(0, 1024));
    Status s = ReadWholeTable(dbf_);
    EXPECT_TRUE(s.IsCorruption()) << s.ToString();
    EXPECT_NE(s.message().find("HBTEST.dbt"), std::string::npos) << s.message();
    // A zero next-free block in the header.
    std::string bytes = dbt_bytes_;
    bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0;
    testing::WriteAll(dbt_, bytes);
    std::unique_ptr<Table> t;
    s = Table::Open(dbf_, {}, &t);
    EXPECT_TRUE(s.IsCorruption()) << s.ToString();
    // No end mark: the memo runs to the end of the file and stops there.
    testing::WriteAll(dbt_, dbt_bytes_.substr(0, 512) + std::string(4096, 'x'));
    bytes = dbf_bytes_;
    EXPECT_TRUE(ReadWholeTable(dbf_).IsCorruption());
}

Status Bind(Index* idx, Table* t) {
    KeyFunction key;
    ForFunction cond;
    Status s = CompileFormulaKey(&t->fields(), idx->key_expression(), &key);
    if (s.ok()) s = CompileFormulaCondition(&t->fields(), idx->for_expression(), &cond);
    if (!s.ok()) return Status::InvalidArgument(idx->path() + ": " + s.message());
    idx->Bind(key, cond);
    return s;
}

// Uses an index in every way; any failure must name the file.
void Exercise(const std::string& ntx, Table* t, bool* damaged) {
    std::unique_ptr<Index> idx;
    Status s = Index::Open(ntx, false, false, &idx);
    if (s.ok()) s = Bind(idx.get(), t);
    if (s.ok()) s = idx->Check(t);
    bool found;
    if (s.ok()) s = idx->Seek("2010", &found);
    for (int i = 0; s.ok() && idx->valid() && i < 100; ++i) s = idx->Next();
    for (int i = 0; s.ok() && idx->valid() && i < 100; ++i) s = idx->Prev();
    if (s.ok()) s = idx->Insert(std::string(idx->key_size(), '5'), 9999);
    if (s.ok()) s = idx->Remove(std::string(idx->key_size(), '5'), 9999);
    *damaged = !s.ok();
    if (!s.ok() && !s.IsNotFound()) {
        EXPECT_NE(s.message().find("HBTEST2.ntx"), std::string::npos) << s.ToString();
    }
}

TEST_F(CorruptionTest, FlippedIndexBytesNeverCrashAndRebuildClean) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {}, &t).ok());
    std::mt19937 rng(11);
    int damaged_count = 0;
    for (int round = 0; round < Rounds(240); ++round) {
        std::string bytes = ntx_bytes_;
        // Header fields and page contents, a few bytes at a time.
        for (int k = 0; k < 1 + round % 4; ++k) {
            size_t at = round % 5 == 0 ? rng() % 24 : rng() % bytes.size();
            bytes[at] = static_cast<char>(rng());
        }
        if (round % 7 == 0) bytes.resize(rng() % bytes.size());
        testing::WriteAll(ntx_, bytes);
        bool damaged = false;
        Exercise(ntx_, t.get(), &damaged);
        damaged_count += damaged;
    }
    EXPECT_GT(damaged_count, 0);
    // However damaged, the index rebuilds from its table.
    IndexDefinition def;
    def.key_expression = "Str( ROK_, 4 ) + StrZero( MC_, 2 ) + NR_PRAC";
    ASSERT_TRUE(CompileFormulaKey(&t->fields(), def.key_expression, &def.key).ok());
    ASSERT_TRUE(Index::Create(ntx_, t.get(), def).ok());
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx_, false, false, &idx).ok());
    ASSERT_TRUE(Bind(idx.get(), t.get()).ok());
    EXPECT_TRUE(idx->Check(t.get()).ok());
}

TEST_F(CorruptionTest, NothingIsWrittenIntoADamagedIndex) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {}, &t).ok());
    // Point every child of the root page outside the file.
    std::string bytes = ntx_bytes_;
    uint32_t root = DecodeFixed32(bytes.data() + 4);
    uint16_t max = DecodeFixed16(bytes.data() + 18);
    for (int i = 0; i <= max; ++i) {
        uint16_t slot = DecodeFixed16(bytes.data() + root + 2 + 2 * i);
        EncodeFixed32(bytes.data() + root + slot, 0x7FFFFC00);
    }
    testing::WriteAll(ntx_, bytes);
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx_, false, false, &idx).ok());
    ASSERT_TRUE(Bind(idx.get(), t.get()).ok());
    Status s = idx->Insert(std::string(idx->key_size(), '1'), 1);
    EXPECT_TRUE(s.IsCorruption()) << s.ToString();
    EXPECT_EQ(testing::ReadAll(ntx_), bytes);
    std::string key = std::string(idx->key_size(), '2');
    EXPECT_FALSE(idx->Insert(key, 2).ok());
    EXPECT_EQ(testing::ReadAll(ntx_), bytes);
}

}  // namespace
}  // namespace kestrel::dbf
