// DBF and DBT: creating, reading back, encodings, appends, locks, zap, the
// header's dates and the reference files written by another xBase runtime.
#include "platform/dbf/table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/base/clock.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/table_ops.h"
#include "platform/dbf/work_area.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;

std::vector<FieldSpec> PeopleFields() {
    return {{"NR_PRAC", FieldType::kCharacter, 6, 0}, {"NAZWISKO", FieldType::kCharacter, 20, 0},
            {"KWOTA_", FieldType::kNumeric, 8, 2},    {"DATA_ZATR", FieldType::kDate, 8, 0},
            {"AKTYWNY", FieldType::kLogical, 1, 0},   {"OPIS_", FieldType::kMemo, 10, 0}};
}

std::unique_ptr<Table> OpenOrDie(const std::string& path, OpenOptions opt = {}) {
    std::unique_ptr<Table> t;
    Status s = Table::Open(path, opt, &t);
    EXPECT_TRUE(s.ok()) << s.ToString();
    return t;
}

TEST(TableTest, CreateWriteReopenKeepsEveryType) {
    ScratchDir dir;
    std::string path = dir.File("PKTEST.DBF");
    ASSERT_TRUE(Table::Create(path, PeopleFields()).ok());
    EXPECT_TRUE(FileExists(dir.File("PKTEST.DBT")));
    {
        auto t = OpenOrDie(path, {.exclusive = true});
        Record r = t->NewRecord();
        ASSERT_TRUE(r.SetString(0, "000001").ok());
        ASSERT_TRUE(r.SetString(1, codepage::FromUtf8("Łódź Żółć")).ok());
        ASSERT_TRUE(r.SetNumber(2, -12.3).ok());
        ASSERT_TRUE(r.SetDate(3, "20190301").ok());
        ASSERT_TRUE(r.SetLogical(4, true).ok());
        ASSERT_TRUE(t->WriteMemo(&r, 5, codepage::FromUtf8("Zażółć\r\nline two")).ok());
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(r, &recno).ok());
        EXPECT_EQ(recno, 1u);
        Record blank = t->NewRecord();
        ASSERT_TRUE(t->Append(blank, &recno).ok());
        ASSERT_TRUE(t->Close().ok());
    }
    std::string bytes = testing::ReadAll(path);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x83);
    EXPECT_EQ(bytes[4], 2);  // record count in the header
    EXPECT_EQ(bytes.back(), 0x1A);

    auto t = OpenOrDie(path);
    ASSERT_EQ(t->record_count(), 2u);
    Record r;
    ASSERT_TRUE(t->Read(1, &r).ok());
    EXPECT_EQ(r.Raw(2), "  -12.30");
    EXPECT_DOUBLE_EQ(r.GetNumber(2), -12.3);
    EXPECT_EQ(codepage::ToUtf8(r.GetString(1)), "Łódź Żółć           ");
    EXPECT_EQ(r.GetDate(3), "20190301");
    EXPECT_TRUE(r.GetLogical(4));
    std::string memo;
    ASSERT_TRUE(t->ReadMemo(r, 5, &memo).ok());
    EXPECT_EQ(codepage::ToUtf8(memo), "Zażółć\r\nline two");
    ASSERT_TRUE(t->Read(2, &r).ok());
    EXPECT_EQ(r.GetDate(3), "");
    EXPECT_FALSE(r.GetLogical(4));
    EXPECT_DOUBLE_EQ(r.GetNumber(2), 0.0);
    EXPECT_EQ(r.GetMemoBlock(5), 0u);
    EXPECT_TRUE(t->Read(3, &r).IsNotFound());
}

// The last-update date of the header (bytes 1-3: year - 1900, month, day)
// comes from the clock the table was created or opened with.
TEST(TableTest, HeaderDatesComeFromTheGivenClock) {
    ScratchDir dir;
    const std::string path = dir.File("PKDATA.DBF");
    auto date_bytes = [&] {
        const std::string b = testing::ReadAll(path);
        return std::vector<int>{static_cast<unsigned char>(b[1]), static_cast<unsigned char>(b[2]),
                                static_cast<unsigned char>(b[3])};
    };
    using Date = std::vector<int>;
    base::FixedClock clock(base::LocalTime{2031, 5, 17, 8, 0, 0});
    ASSERT_TRUE(Table::Create(path, PeopleFields(), nullptr, &clock).ok());
    EXPECT_EQ(date_bytes(), (Date{131, 5, 17}));
    // Exclusive: appends, written with the header on closing.
    clock.Set(base::LocalTime{2032, 2, 29, 8, 0, 0});
    {
        auto t = OpenOrDie(path, {.exclusive = true, .clock = &clock});
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(t->NewRecord(), &recno).ok());
        ASSERT_TRUE(t->Close().ok());
    }
    EXPECT_EQ(date_bytes(), (Date{132, 2, 29}));
    // Shared: a change of a record, and an append.
    clock.Set(base::LocalTime{2031, 5, 17, 8, 0, 0});
    {
        auto t = OpenOrDie(path, {.clock = &clock});
        Record r;
        ASSERT_TRUE(t->LockRecord(1).ok());
        ASSERT_TRUE(t->Read(1, &r).ok());
        ASSERT_TRUE(r.SetString(0, "000007").ok());
        ASSERT_TRUE(t->Write(1, r).ok());
        EXPECT_EQ(date_bytes(), (Date{131, 5, 17}));
    }
    clock.Set(base::LocalTime{2033, 12, 31, 8, 0, 0});
    {
        auto t = OpenOrDie(path, {.clock = &clock});
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(t->NewRecord(), &recno).ok());
        EXPECT_EQ(date_bytes(), (Date{133, 12, 31}));
    }
    // A pack writes a new table: its date too.
    clock.Set(base::LocalTime{2031, 5, 17, 8, 0, 0});
    ASSERT_TRUE(PackTable(path, nullptr, nullptr, nullptr, &clock).ok());
    EXPECT_EQ(date_bytes(), (Date{131, 5, 17}));
    clock.Set(base::LocalTime{2034, 1, 2, 8, 0, 0});
    {
        Workspace ws;
        WorkArea* area = nullptr;
        ASSERT_TRUE(ws.Use(path, "", {.exclusive = true, .clock = &clock}, &area).ok());
        ASSERT_TRUE(area->Pack().ok());
        ASSERT_TRUE(ws.CloseAll().ok());
    }
    EXPECT_EQ(date_bytes(), (Date{134, 1, 2}));
}

TEST(TableTest, FieldEncodingsRejectWhatDoesNotFit) {
    ScratchDir dir;
    std::string path = dir.File("N.DBF");
    ASSERT_TRUE(Table::Create(path, {{"N4", FieldType::kNumeric, 4, 0},
                                     {"N52", FieldType::kNumeric, 5, 2},
                                     {"L", FieldType::kLogical, 1, 0},
                                     {"D", FieldType::kDate, 8, 0}})
                    .ok());
    auto t = OpenOrDie(path);
    Record r = t->NewRecord();
    EXPECT_TRUE(r.SetNumber(0, 9999).ok());
    EXPECT_TRUE(r.SetNumber(0, 12345).IsInvalidArgument());
    EXPECT_TRUE(r.SetNumber(0, -999).ok());
    EXPECT_EQ(r.Raw(0), "-999");
    EXPECT_TRUE(r.SetNumber(1, 2.005).ok());  // rounds half away from zero
    EXPECT_EQ(r.Raw(1), " 2.01");
    // Doubles lying just below the half still round up, as the amount typed.
    for (auto [value, stored] : {std::pair<double, const char*>{2.345, " 2.35"},
                                 {1.005, " 1.01"},
                                 {-2.345, "-2.35"},
                                 {98.735, "98.74"},
                                 {12.345, "12.35"}}) {
        EXPECT_TRUE(r.SetNumber(1, value).ok());
        EXPECT_EQ(r.Raw(1), stored) << value;
    }
    EXPECT_TRUE(r.SetNumber(1, -0.001).ok());
    EXPECT_EQ(r.Raw(1), " 0.00");
    EXPECT_TRUE(r.SetNumber(1, 123.4).IsInvalidArgument());
    EXPECT_TRUE(r.SetDate(3, "2019-03-01").IsInvalidArgument());
    for (char c : std::string("TtYy")) {
        r.SetRaw(2, std::string(1, c));
        EXPECT_TRUE(r.GetLogical(2)) << c;
    }
    for (char c : std::string("FfNn? ")) {
        r.SetRaw(2, std::string(1, c));
        EXPECT_FALSE(r.GetLogical(2)) << c;
    }
}

TEST(TableTest, CreateRejectsBadLayouts) {
    ScratchDir dir;
    std::string path = dir.File("BAD.DBF");
    EXPECT_TRUE(Table::Create(path, {}).IsInvalidArgument());
    EXPECT_TRUE(Table::Create(
                    path, {{"A", FieldType::kCharacter, 1, 0}, {"a", FieldType::kCharacter, 1, 0}})
                    .IsInvalidArgument());
    EXPECT_TRUE(
        Table::Create(path, {{"TOOLONGNAME", FieldType::kCharacter, 1, 0}}).IsInvalidArgument());
    EXPECT_TRUE(Table::Create(path, {{"N", FieldType::kNumeric, 3, 2}}).IsInvalidArgument());
    EXPECT_FALSE(FileExists(path));
}

TEST(TableTest, WideCharacterFieldsAndManyFields) {
    ScratchDir dir;
    std::string path = dir.File("WIDE.DBF");
    std::vector<FieldSpec> specs;
    for (int i = 0; i < 171; ++i) {
        FieldSpec f{std::to_string(i), FieldType::kCharacter, 9, 0};
        f.name.insert(f.name.begin(), 'F');
        specs.push_back(f);
    }
    specs.push_back({"TEXT", FieldType::kCharacter, 300, 0});
    ASSERT_TRUE(Table::Create(path, specs).ok());
    auto t = OpenOrDie(path);
    ASSERT_EQ(t->fields().size(), 172u);
    EXPECT_EQ(t->fields().back().length, 300);
    EXPECT_EQ(t->record_length(), 1u + 171 * 9 + 300);
}

TEST(TableTest, ExclusiveReadsSeeTheirOwnWritesAndAppends) {
    ScratchDir dir;
    std::string path = dir.File("C.DBF");
    ASSERT_TRUE(Table::Create(path, {{"N", FieldType::kNumeric, 9, 0}}).ok());
    auto t = OpenOrDie(path, {.exclusive = true});
    Record r = t->NewRecord();
    uint32_t n = 0;
    for (int i = 1; i <= 20000; ++i) {  // several blocks of records, some still unwritten
        r.SetNumber(0, i);
        ASSERT_TRUE(t->Append(r, &n).ok());
    }
    ASSERT_TRUE(t->Flush().ok());
    Record got;
    for (uint32_t k : {1u, 7000u, 20000u}) {
        ASSERT_TRUE(t->Read(k, &got).ok());
        EXPECT_EQ(got.GetNumber(0), k);
        r.SetNumber(0, -static_cast<double>(k));
        ASSERT_TRUE(t->Write(k, r).ok());
        ASSERT_TRUE(t->Read(k, &got).ok());
        EXPECT_EQ(got.GetNumber(0), -static_cast<double>(k));
    }
    r.SetNumber(0, 20001);
    ASSERT_TRUE(t->Append(r, &n).ok());
    ASSERT_TRUE(t->Read(20001, &got).ok());
    EXPECT_EQ(got.GetNumber(0), 20001);
    ASSERT_TRUE(t->Close().ok());
    t.reset();
    t = OpenOrDie(path);
    got = t->NewRecord();  // the old record's field list went with the old table
    for (uint32_t k : {1u, 2u, 7000u, 20000u, 20001u}) {
        ASSERT_TRUE(t->Read(k, &got).ok());
        EXPECT_EQ(std::abs(got.GetNumber(0)), k);
    }
}

TEST(TableTest, ZapEmptiesTableAndMemo) {
    ScratchDir dir;
    std::string path = dir.File("Z.DBF");
    ASSERT_TRUE(Table::Create(path, PeopleFields()).ok());
    auto t = OpenOrDie(path, {.exclusive = true});
    Record r = t->NewRecord();
    ASSERT_TRUE(t->WriteMemo(&r, 5, std::string(2000, 'x')).ok());
    uint32_t n;
    ASSERT_TRUE(t->Append(r, &n).ok());
    ASSERT_TRUE(t->Zap().ok());
    EXPECT_EQ(t->record_count(), 0u);
    ASSERT_TRUE(t->Close().ok());
    t.reset();
    EXPECT_EQ(testing::ReadAll(dir.File("Z.DBT")).size(), 512u);
    t = OpenOrDie(path);
    EXPECT_EQ(t->record_count(), 0u);
}

TEST(TableTest, SharedWritesNeedLocksAndLocksConflictBetweenOpens) {
    ScratchDir dir;
    std::string path = dir.File("L.DBF");
    ASSERT_TRUE(Table::Create(path, PeopleFields()).ok());
    auto a = OpenOrDie(path);
    auto b = OpenOrDie(path);
    Record r = a->NewRecord();
    uint32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(a->Append(r, &n1).ok());
    ASSERT_TRUE(b->Append(r, &n2).ok());
    EXPECT_EQ(n1, 1u);
    EXPECT_EQ(n2, 2u);
    // Each new record stays locked by the one who appended it.
    EXPECT_TRUE(b->LockRecord(1).IsBusy());
    EXPECT_TRUE(a->LockFile().IsBusy());  // b holds record 2
    ASSERT_TRUE(a->UnlockAll().ok());
    ASSERT_TRUE(b->LockRecord(1).ok());
    EXPECT_TRUE(a->LockRecord(1).IsBusy());
    EXPECT_TRUE(a->LockFile().IsBusy());
    EXPECT_TRUE(a->Write(1, r).IsInvalidArgument());
    // a sees b's append without reopening.
    ASSERT_TRUE(a->Refresh().ok());
    EXPECT_EQ(a->record_count(), 2u);
    ASSERT_TRUE(b->UnlockAll().ok());
    ASSERT_TRUE(a->LockFile().ok());
    EXPECT_TRUE(b->LockRecord(2).IsBusy());
    ASSERT_TRUE(a->Write(2, r).ok());
    ASSERT_TRUE(a->UnlockAll().ok());
    std::string bytes = testing::ReadAll(path);
    EXPECT_EQ(bytes[4], 2);  // shared appends keep the header count for tools that trust it
    // An old date in the header: the first shared write puts today's date there.
    bytes[1] = 99;
    testing::WriteAll(path, bytes);
    auto c = OpenOrDie(path);
    ASSERT_TRUE(c->LockRecord(2).ok());
    ASSERT_TRUE(c->Write(2, r).ok());
    bytes = testing::ReadAll(path);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]) + 1900, c->header().year);
    EXPECT_NE(bytes[1], 99);
}

TEST(TableTest, ExclusiveAndSharedOpeningExcludeEachOther) {
    ScratchDir dir;
    std::string path = dir.File("X.DBF");
    ASSERT_TRUE(Table::Create(path, PeopleFields()).ok());
    {
        auto shared = OpenOrDie(path);
        std::unique_ptr<Table> t;
        EXPECT_TRUE(Table::Open(path, {.exclusive = true}, &t).IsBusy());
    }
    auto excl = OpenOrDie(path, {.exclusive = true});
    std::unique_ptr<Table> t;
    EXPECT_TRUE(Table::Open(path, {}, &t).IsBusy());
    EXPECT_TRUE(Table::Open(path, {.exclusive = true}, &t).IsBusy());
    excl.reset();
    EXPECT_TRUE(Table::Open(path, {}, &t).ok());
    // Closing gives the table free even while the object lives on.
    ASSERT_TRUE(t->Close().ok());
    std::unique_ptr<Table> again;
    EXPECT_TRUE(Table::Open(path, {.exclusive = true}, &again).ok());
}

TEST(TableTest, LocalDirectoryIsNoNetworkDrive) {
    ScratchDir dir;
    bool network = true;
    ASSERT_TRUE(IsNetworkFileSystem(dir.path(), &network).ok());
    EXPECT_FALSE(network);
    EXPECT_TRUE(IsNetworkFileSystem(dir.File("none/x"), &network).IsNotFound());
}

TEST(TableTest, ReadsReferenceSampleWrittenElsewhere) {
    auto t = OpenOrDie(testing::FixtureDir() + "/sample/SAMPLE.DBF", {.read_only = true});
    ASSERT_EQ(t->record_count(), 4u);
    Record r;
    ASSERT_TRUE(t->Read(1, &r).ok());
    ASSERT_GE(t->fields().size(), 6u);
    EXPECT_EQ(r.GetString(0), "000001");
    EXPECT_EQ(codepage::ToUtf8(r.GetString(1)), "Łódź Żółć           ");
    EXPECT_EQ(r.GetDate(2), "20190301");
    EXPECT_DOUBLE_EQ(r.GetNumber(3), 4250.5);
    EXPECT_TRUE(r.GetLogical(4));
    std::string memo;
    ASSERT_TRUE(t->ReadMemo(r, 5, &memo).ok());
    EXPECT_EQ(codepage::ToUtf8(memo), "Zażółć gęślą jaźń\r\nline two");
    ASSERT_TRUE(t->Read(2, &r).ok());
    EXPECT_EQ(r.GetDate(2), "");
    EXPECT_DOUBLE_EQ(r.GetNumber(3), -12.3);
    ASSERT_TRUE(t->ReadMemo(r, 5, &memo).ok());
    EXPECT_EQ(memo.size(), 699u);  // as dbfread reads it
    ASSERT_TRUE(t->Read(3, &r).ok());
    EXPECT_TRUE(r.deleted());
    ASSERT_TRUE(t->Read(4, &r).ok());
    EXPECT_FALSE(r.deleted());
    EXPECT_TRUE(r.IsBlank(1));
}

TEST(TableTest, ReadsUpdatedFixtureWithoutEndOfFileByte) {
    auto t = OpenOrDie(testing::FixtureDir() + "/updated/HBTEST.dbf", {.read_only = true});
    EXPECT_EQ(t->record_count(), 3200u);
    Record r;
    ASSERT_TRUE(t->Read(3200, &r).ok());
    int memo_field = -1;
    for (size_t i = 0; i < t->fields().size(); ++i) {
        if (t->fields()[i].type == FieldType::kMemo) memo_field = static_cast<int>(i);
    }
    ASSERT_GE(memo_field, 0);
    size_t memos = 0;
    for (uint32_t n = 1; n <= t->record_count(); ++n) {
        ASSERT_TRUE(t->Read(n, &r).ok());
        std::string text;
        ASSERT_TRUE(t->ReadMemo(r, memo_field, &text).ok()) << n;
        memos += !text.empty();
    }
    EXPECT_GT(memos, 0u);
}

}  // namespace
}  // namespace kestrel::dbf
