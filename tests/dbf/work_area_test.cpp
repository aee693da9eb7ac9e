// Work areas: positions, the phantom record, hidden deleted records, seeks,
// appends and commits that keep every index right.
#include "platform/dbf/work_area.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "platform/dbf/formula_key.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;

std::unique_ptr<Index> OpenBound(const std::string& path, Table& t) {
    std::unique_ptr<Index> idx;
    EXPECT_TRUE(Index::Open(path, t.exclusive(), false, &idx).ok());
    KeyFunction key;
    ForFunction cond;
    EXPECT_TRUE(CompileFormulaKey(&t.fields(), idx->key_expression(), &key).ok());
    EXPECT_TRUE(CompileFormulaCondition(&t.fields(), idx->for_expression(), &cond).ok());
    idx->Bind(key, cond);
    return idx;
}

// A table of five people with an index on the name; record 3 is deleted.
class WorkAreaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dbf_ = dir_.File("PKOSOB.DBF");
        ASSERT_TRUE(Table::Create(dbf_, {{"NR", FieldType::kNumeric, 4, 0},
                                         {"NAZWA", FieldType::kCharacter, 10, 0}})
                        .ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dbf_, {.exclusive = true}, &t).ok());
        const char* names[] = {"EWA", "ADAM", "OLA", "BEATA", "ADAM"};
        for (int i = 0; i < 5; ++i) {
            Record r = t->NewRecord();
            r.SetNumber(0, i + 1);
            r.SetString(1, names[i]);
            r.set_deleted(i == 2);
            uint32_t n;
            ASSERT_TRUE(t->Append(r, &n).ok());
        }
        IndexDefinition def;
        def.key_expression = "upper(nazwa)";
        ASSERT_TRUE(CompileFormulaKey(&t->fields(), def.key_expression, &def.key).ok());
        ASSERT_TRUE(Index::Create(dir_.File("PKOSOB1.NTX"), t.get(), def).ok());
        t.reset();
        WorkArea* a = nullptr;
        ASSERT_TRUE(ws_.Use(dbf_, "", {}, &a).ok());
        ASSERT_TRUE(a->AddIndex(OpenBound(dir_.File("PKOSOB1.NTX"), a->table())).ok());
        area_ = a;
    }

    std::string Names() {
        std::string out;
        EXPECT_TRUE(area_->GoTop().ok());
        while (!area_->eof()) {
            out += std::to_string(area_->recno());
            EXPECT_TRUE(area_->Skip().ok());
        }
        return out;
    }

    ScratchDir dir_;
    std::string dbf_;
    Workspace ws_;
    WorkArea* area_ = nullptr;
};

TEST_F(WorkAreaTest, IndexOrderHidesDeletedAndEndsOnThePhantom) {
    EXPECT_EQ(area_->alias(), "PKOSOB");
    EXPECT_EQ(Names(), "2541");  // ADAM ADAM BEATA EWA; OLA (3) is deleted
    EXPECT_TRUE(area_->eof());
    EXPECT_EQ(area_->recno(), 6u);
    EXPECT_TRUE(area_->record().IsBlank(1));
    // Back from the phantom to the last record, then past the first.
    ASSERT_TRUE(area_->Skip(-1).ok());
    EXPECT_EQ(area_->recno(), 1u);
    ASSERT_TRUE(area_->Skip(-10).ok());
    EXPECT_TRUE(area_->bof());
    EXPECT_FALSE(area_->eof());
    EXPECT_EQ(area_->recno(), 2u);
    area_->set_hide_deleted(false);
    EXPECT_EQ(Names(), "25413");
    ASSERT_TRUE(area_->SetOrder(0).ok());
    EXPECT_EQ(Names(), "12345");
    area_->set_hide_deleted(true);
    EXPECT_EQ(Names(), "1245");
    ASSERT_TRUE(area_->GoBottom().ok());
    EXPECT_EQ(area_->recno(), 5u);
}

// Movements as xBase makes them, each from the state the previous one left:
// {order, movement, argument, expected record, eof, bof}. Records: 1 EWA,
// 2 ADAM, 3 OLA (deleted, hidden), 4 BEATA, 5 ADAM; name order 2 5 4 1.
TEST_F(WorkAreaTest, MovementsTable) {
    enum Move { kTop, kBottom, kGoto, kSkip };
    struct Step {
        int order;
        Move move;
        int64_t arg;
        uint32_t recno;
        bool eof, bof;
    } steps[] = {
        {0, kTop, 0, 1, false, false},    {0, kSkip, 1, 2, false, false},
        {0, kSkip, 1, 4, false, false},   {0, kSkip, -1, 2, false, false},
        {0, kSkip, -5, 1, false, true},   {0, kBottom, 0, 5, false, false},
        {0, kSkip, 1, 6, true, false},    {0, kSkip, 1, 6, true, false},
        {0, kSkip, -2, 4, false, false},  {0, kGoto, 3, 3, false, false},
        {0, kGoto, 0, 6, true, false},    {0, kGoto, 99, 6, true, false},
        {1, kTop, 0, 2, false, false},    {1, kSkip, 2, 4, false, false},
        {1, kSkip, -1, 5, false, false},  {1, kGoto, 1, 1, false, false},
        {1, kSkip, -3, 2, false, false},  {1, kSkip, -1, 2, false, true},
        {1, kBottom, 0, 1, false, false}, {1, kSkip, 0, 1, false, false},
        {1, kSkip, 3, 6, true, false},    {1, kSkip, -1, 1, false, false},
    };
    int n = 0;
    for (const Step& st : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        ASSERT_TRUE(area_->SetOrder(st.order).ok());
        Status s;
        switch (st.move) {
            case kTop:
                s = area_->GoTop();
                break;
            case kBottom:
                s = area_->GoBottom();
                break;
            case kGoto:
                s = area_->Goto(static_cast<uint32_t>(st.arg));
                break;
            case kSkip:
                s = area_->Skip(st.arg);
                break;
        }
        ASSERT_TRUE(s.ok()) << s.ToString();
        EXPECT_EQ(area_->recno(), st.recno);
        EXPECT_EQ(area_->eof(), st.eof);
        EXPECT_EQ(area_->bof(), st.bof);
    }
}

TEST_F(WorkAreaTest, GotoARecordTheIndexLeavesOut) {
    // A second index with a condition: only names from "B" on (text
    // compares the length of the right side, so "BEATA" >= "B").
    IndexDefinition def;
    def.key_expression = "nazwa";
    def.for_expression = "nazwa >= 'B'";
    ASSERT_TRUE(CompileFormulaKey(&area_->table().fields(), def.key_expression, &def.key).ok());
    ASSERT_TRUE(
        CompileFormulaCondition(&area_->table().fields(), def.for_expression, &def.condition).ok());
    ASSERT_TRUE(ws_.CloseAll().ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {.exclusive = true}, &t).ok());
    ASSERT_TRUE(Index::Create(dir_.File("PKOSOB2.NTX"), t.get(), def).ok());
    t.reset();
    WorkArea* a = nullptr;
    ASSERT_TRUE(ws_.Use(dbf_, "", {}, &a).ok());
    ASSERT_TRUE(a->AddIndex(OpenBound(dir_.File("PKOSOB2.NTX"), a->table())).ok());
    area_ = a;
    EXPECT_EQ(Names(), "41");      // BEATA EWA
    ASSERT_TRUE(a->Goto(2).ok());  // ADAM: not in the index
    ASSERT_TRUE(a->Skip().ok());
    EXPECT_EQ(a->recno(), 4u);  // the first key after "ADAM"
    ASSERT_TRUE(a->Goto(2).ok());
    ASSERT_TRUE(a->Skip(-1).ok());
    EXPECT_TRUE(a->bof());
}

TEST_F(WorkAreaTest, SeekExactAndSoft) {
    ASSERT_TRUE(area_->Seek("BEATA").ok());
    EXPECT_TRUE(area_->found());
    EXPECT_EQ(area_->recno(), 4u);
    ASSERT_TRUE(area_->Seek("AD").ok());  // a shorter key compares its length
    EXPECT_TRUE(area_->found());
    EXPECT_EQ(area_->recno(), 2u);
    ASSERT_TRUE(area_->Seek("OLA").ok());  // only the deleted record has it
    EXPECT_FALSE(area_->found());
    EXPECT_TRUE(area_->eof());
    ASSERT_TRUE(area_->Seek("C", true).ok());
    EXPECT_FALSE(area_->found());
    EXPECT_EQ(area_->recno(), 1u);  // EWA follows C
    ASSERT_TRUE(area_->Seek("Z", true).ok());
    EXPECT_TRUE(area_->eof());
}

TEST_F(WorkAreaTest, SeekLastOfEqualKeys) {
    // Keys: ADAM 2, ADAM 5, BEATA 4, EWA 1, OLA 3 (deleted, hidden).
    struct Case {
        const char* key;
        bool soft, last;
        bool found;
        uint32_t recno;  // 6: the phantom
    } cases[] = {
        {"ADAM", false, true, true, 5}, {"ADAM", false, false, true, 2},
        {"AD", false, true, true, 5},   {"A", true, true, true, 5},
        {"EWA", false, true, true, 1},  {"C", true, true, false, 1},
        {"AAA", true, true, false, 2},  {"AAA", false, true, false, 6},
        {"OLA", false, true, false, 6}, {"OLA", true, true, false, 6},
        {"Z", true, true, false, 6},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(area_->Seek(c.key, c.soft, c.last).ok());
        EXPECT_EQ(area_->found(), c.found) << c.key << c.soft << c.last;
        EXPECT_EQ(area_->recno(), c.recno) << c.key << c.soft << c.last;
        EXPECT_EQ(area_->eof(), c.recno == 6) << c.key << c.soft << c.last;
    }
    // The last of equal keys hidden: the one before it; all of them hidden:
    // as a plain seek goes on.
    area_->set_hide_deleted(false);
    ASSERT_TRUE(area_->Seek("OLA", false, true).ok());
    EXPECT_TRUE(area_->found());
    EXPECT_EQ(area_->recno(), 3u);
    area_->set_hide_deleted(true);
    ASSERT_TRUE(area_->Goto(5).ok());
    ASSERT_TRUE(area_->RLock().ok());
    ASSERT_TRUE(area_->Delete().ok());
    ASSERT_TRUE(area_->Seek("ADAM", false, true).ok());
    EXPECT_TRUE(area_->found());
    EXPECT_EQ(area_->recno(), 2u);
    ASSERT_TRUE(area_->RLock().ok());
    ASSERT_TRUE(area_->Delete().ok());
    ASSERT_TRUE(area_->Seek("ADAM", true, true).ok());
    EXPECT_FALSE(area_->found());
    EXPECT_EQ(area_->recno(), 4u);  // BEATA follows
    ASSERT_TRUE(area_->Seek("ADAM", false, true).ok());
    EXPECT_FALSE(area_->found());
    EXPECT_TRUE(area_->eof());
    // Many equal keys, across index pages: the last appended.
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(area_->Append().ok());
        area_->record().SetString(1, i % 2 ? "KAROL" : "KAMIL");
        ASSERT_TRUE(area_->Commit().ok());
    }
    ASSERT_TRUE(area_->Unlock().ok());
    ASSERT_TRUE(area_->Seek("KAROL", false, true).ok());
    EXPECT_EQ(area_->recno(), 305u);
    ASSERT_TRUE(area_->Seek("KAMIL", false, true).ok());
    EXPECT_EQ(area_->recno(), 304u);
    ASSERT_TRUE(area_->Seek("KA", false, true).ok());
    EXPECT_EQ(area_->recno(), 305u);
    ASSERT_TRUE(area_->Seek("KAMIL").ok());
    EXPECT_EQ(area_->recno(), 6u);
}

TEST_F(WorkAreaTest, AppendAndCommitMoveKeys) {
    ASSERT_TRUE(area_->Append().ok());
    EXPECT_EQ(area_->recno(), 6u);
    ASSERT_TRUE(area_->record().SetString(1, "ZENON").ok());
    ASSERT_TRUE(area_->record().SetNumber(0, 6).ok());
    ASSERT_TRUE(area_->Commit().ok());
    ASSERT_TRUE(area_->Unlock().ok());
    ASSERT_TRUE(area_->Seek("EWA").ok());
    ASSERT_TRUE(area_->RLock().ok());
    ASSERT_TRUE(area_->record().SetString(1, "AAA").ok());
    ASSERT_TRUE(area_->Commit().ok());
    ASSERT_TRUE(area_->Delete().ok());  // keys of deleted records stay
    ASSERT_TRUE(area_->Unlock().ok());
    EXPECT_EQ(Names(), "2546");
    area_->set_hide_deleted(false);
    EXPECT_EQ(Names(), "125436");
    EXPECT_TRUE(area_->index(0).Check(&area_->table()).ok());
    // Without the lock a shared area cannot change the record.
    ASSERT_TRUE(area_->Goto(2).ok());
    area_->record().SetString(1, "X");
    EXPECT_TRUE(area_->Commit().IsInvalidArgument());
}

TEST_F(WorkAreaTest, MovesCountEveryMovementAndWriteButNotAChangeOfOrder) {
    ASSERT_TRUE(area_->Seek("BEATA").ok());
    uint64_t seen = area_->moves();
    // Standing still: reading the record and setting the same order.
    EXPECT_EQ(area_->record().GetString(1), "BEATA     ");
    ASSERT_TRUE(area_->SetOrder(1).ok());
    EXPECT_EQ(area_->moves(), seen);
    const std::function<Status()> steps[] = {
        [&] { return area_->Seek("BEATA"); },  // the same record sought again
        [&] { return area_->Skip(0); },
        [&] { return area_->Goto(4); },
        [&] { return area_->Seek("NOBODY"); },  // the phantom
        [&] { return area_->GoTop(); },
        [&] { return area_->Skip(); },
        [&] {
            area_->record().SetString(1, "BOGNA");
            return area_->Commit();
        },
        [&] { return area_->Delete(); },
        [&] { return area_->Recall(); },
        [&] { return area_->Append(); },
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        ASSERT_TRUE(area_->RLock().ok() || area_->eof());
        ASSERT_TRUE(steps[i]().ok()) << i;
        EXPECT_NE(area_->moves(), seen) << "step " << i;
        seen = area_->moves();
    }
}

TEST_F(WorkAreaTest, TheSameOrderAfterAKeyChangeGoesOnFromTheNewKey) {
    ASSERT_TRUE(area_->Seek("EWA").ok());
    ASSERT_TRUE(area_->RLock().ok());
    ASSERT_TRUE(area_->record().SetString(1, "AAA").ok());
    ASSERT_TRUE(area_->Commit().ok());
    ASSERT_TRUE(area_->Unlock().ok());
    ASSERT_TRUE(area_->SetOrder(1).ok());
    ASSERT_TRUE(area_->Skip().ok());
    EXPECT_EQ(area_->recno(), 2u);  // ADAM follows AAA, not what followed EWA
    // An uncommitted change of the buffer counts too: the order stands on
    // the key the buffer holds.
    ASSERT_TRUE(area_->Seek("BEATA").ok());
    area_->record().SetString(1, "ZZZ");
    ASSERT_TRUE(area_->SetOrder(1).ok());
    ASSERT_TRUE(area_->Skip().ok());
    EXPECT_TRUE(area_->eof());
}

TEST_F(WorkAreaTest, AnotherWorkstationsChangesAreSeen) {
    // A second workspace opens the same files: another workstation.
    Workspace other;
    WorkArea* b = nullptr;
    ASSERT_TRUE(other.Use(dbf_, "", {}, &b).ok());
    ASSERT_TRUE(b->AddIndex(OpenBound(dir_.File("PKOSOB1.NTX"), b->table())).ok());
    ASSERT_TRUE(b->Seek("BEATA").ok());
    ASSERT_TRUE(b->found());
    // This one appends and renames; the other finds both through its index
    // and sees the new record count.
    ASSERT_TRUE(area_->Append().ok());
    area_->record().SetString(1, "CELINA");
    ASSERT_TRUE(area_->Commit().ok());
    ASSERT_TRUE(area_->Unlock().ok());
    ASSERT_TRUE(area_->Seek("EWA").ok());
    ASSERT_TRUE(area_->RLock().ok());
    // b cannot lock what a holds.
    ASSERT_TRUE(b->Seek("EWA").ok());
    EXPECT_TRUE(b->RLock().IsBusy());
    area_->record().SetString(1, "DOROTA");
    ASSERT_TRUE(area_->Commit().ok());
    ASSERT_TRUE(area_->Unlock().ok());
    ASSERT_TRUE(b->Seek("BEATA").ok());  // the cursor's tree changed twice since
    ASSERT_TRUE(b->Skip().ok());
    EXPECT_EQ(b->recno(), 6u);  // CELINA
    ASSERT_TRUE(b->Skip().ok());
    EXPECT_EQ(b->recno(), 1u);  // DOROTA, formerly EWA
    EXPECT_EQ(b->record().GetString(1), "DOROTA    ");
    ASSERT_TRUE(b->Skip().ok());
    EXPECT_TRUE(b->eof());
    EXPECT_EQ(b->recno(), 7u);  // the phantom follows the new count
    ASSERT_TRUE(b->RLock().IsNotFound());
    ASSERT_TRUE(b->Goto(1).ok());
    ASSERT_TRUE(b->RLock().ok());
}

TEST_F(WorkAreaTest, EmptyTableIsAtBothEnds) {
    ASSERT_TRUE(ws_.CloseAll().ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf_, {.exclusive = true}, &t).ok());
    ASSERT_TRUE(t->Zap().ok());
    t.reset();
    WorkArea* a = nullptr;
    ASSERT_TRUE(ws_.Use(dbf_, "OS", {}, &a).ok());
    ASSERT_TRUE(a->GoTop().ok());
    EXPECT_TRUE(a->eof());
    EXPECT_TRUE(a->bof());
    EXPECT_EQ(a->recno(), 1u);
    EXPECT_EQ(ws_.Select("os"), a);
    EXPECT_EQ(ws_.current_number(), 1);
}

TEST_F(WorkAreaTest, PackAndZapRebuildTheIndexes) {
    ASSERT_TRUE(ws_.CloseAll().ok());
    WorkArea* a = nullptr;
    ASSERT_TRUE(ws_.Use(dbf_, "", {.exclusive = true}, &a).ok());
    area_ = a;
    ASSERT_TRUE(a->Pack().ok());  // no index yet: a plain pack drops OLA
    ASSERT_TRUE(a->AddIndex(OpenBound(dir_.File("PKOSOB1.NTX"), a->table())).ok());
    // The index is stale after the pack above; a reindex repairs it.
    EXPECT_FALSE(a->index(0).Check(&a->table()).ok());
    ASSERT_TRUE(a->Reindex().ok());
    EXPECT_TRUE(a->index(0).Check(&a->table()).ok());
    ASSERT_TRUE(a->Goto(1).ok());  // EWA
    ASSERT_TRUE(a->Delete().ok());
    ASSERT_TRUE(a->Pack([](const Record& r) { return r.GetNumber(0) != 4; }).ok());
    EXPECT_EQ(a->table().record_count(), 2u);  // ADAM (2), ADAM (5)
    EXPECT_EQ(Names(), "12");
    EXPECT_TRUE(a->index(0).Check(&a->table()).ok());
    ASSERT_TRUE(a->Zap().ok());
    EXPECT_EQ(a->table().record_count(), 0u);
    ASSERT_TRUE(a->GoTop().ok());
    EXPECT_TRUE(a->eof());
    EXPECT_TRUE(a->index(0).Check(&a->table()).ok());
}

}  // namespace
}  // namespace kestrel::dbf
