// NTX indexes: the B-tree against a std::set model (random inserts, deletes,
// seeks of the first and the last equal key, and skips both ways across
// splits and joins), bulk builds, and the indexes written by another xBase
// runtime.
#include "platform/dbf/index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>

#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;
using Entry = std::pair<std::string, uint32_t>;

KeyFunction FieldKey(int field) {
    return [field](const Record& r, std::string* key) { key->append(r.Raw(field)); };
}

IndexDefinition FieldIndex(const std::string& name, int field) {
    IndexDefinition def;
    def.key_expression = name;
    def.key = FieldKey(field);
    return def;
}

// One index kept beside a model; every step compares them.
class ModelFixture {
  public:
    ModelFixture(const ScratchDir& dir, uint16_t key_width, bool exclusive) : width_(key_width) {
        std::string dbf = dir.File("M.DBF");
        EXPECT_TRUE(Table::Create(dbf, {{"K", FieldType::kCharacter, key_width, 0}}).ok());
        std::unique_ptr<Table> t;
        EXPECT_TRUE(Table::Open(dbf, {.exclusive = true}, &t).ok());
        path_ = dir.File("M1.NTX");
        EXPECT_TRUE(Index::Create(path_, t.get(), FieldIndex("k", 0)).ok());
        EXPECT_TRUE(Index::Open(path_, exclusive, false, &index_).ok());
    }

    std::string RandomKey(std::mt19937& rng) {
        // A small alphabet: many equal keys and common prefixes.
        std::string k(width_, ' ');
        int len = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < len; ++i) k[i] = static_cast<char>('A' + rng() % 6);
        return k;
    }

    Index& index() { return *index_; }
    std::set<Entry>& model() { return model_; }
    const std::string& path() const { return path_; }

  private:
    uint16_t width_;
    std::string path_;
    std::unique_ptr<Index> index_;
    std::set<Entry> model_;
};

void RunModel(uint16_t width, bool exclusive, int steps, uint32_t seed, size_t cache = 65536) {
    ScratchDir dir;
    ModelFixture fx(dir, width, exclusive);
    Index& idx = fx.index();
    idx.set_cache_limit(cache);
    auto& model = fx.model();
    std::mt19937 rng(seed);
    uint32_t next_recno = 1;
    auto check_cursor = [&](std::set<Entry>::iterator it) {
        if (it == model.end()) {
            EXPECT_FALSE(idx.valid());
            return;
        }
        ASSERT_TRUE(idx.valid());
        EXPECT_EQ(std::string(idx.key()), it->first);
        EXPECT_EQ(idx.recno(), it->second);
    };
    for (int step = 0; step < steps; ++step) {
        int op = static_cast<int>(rng() % 10);
        if (op < 4 || model.empty()) {  // insert
            Entry e{fx.RandomKey(rng), next_recno++};
            ASSERT_TRUE(idx.Insert(e.first, e.second).ok()) << step;
            model.insert(e);
        } else if (op < 7) {  // remove a random existing entry
            auto it = model.begin();
            std::advance(it, rng() % model.size());
            Status s = idx.Remove(it->first, it->second);
            ASSERT_TRUE(s.ok()) << step << " " << s.ToString();
            model.erase(it);
            EXPECT_TRUE(idx.Remove(fx.RandomKey(rng), 999999).IsNotFound());
        } else if (op < 8) {  // a record changes its key
            auto it = model.begin();
            std::advance(it, rng() % model.size());
            Entry moved{fx.RandomKey(rng), it->second};
            ASSERT_TRUE(idx.Remove(it->first, it->second).ok());
            model.erase(it);
            ASSERT_TRUE(idx.Insert(moved.first, moved.second).ok());
            model.insert(moved);
        } else {  // seek the first or the last equal key, then walk a few steps either way
            std::string probe = fx.RandomKey(rng).substr(0, 1 + rng() % 2);
            const bool last = rng() % 2;
            bool found = false;
            ASSERT_TRUE((last ? idx.SeekLast(probe, &found) : idx.Seek(probe, &found)).ok());
            auto it = model.lower_bound({probe, 0});
            auto beyond = std::find_if(it, model.end(), [&](const Entry& e) {
                return e.first.compare(0, probe.size(), probe) != 0;
            });
            EXPECT_EQ(found, beyond != it) << probe;
            if (last && beyond != it) it = std::prev(beyond);
            check_cursor(it);
            bool forward = rng() % 2;
            for (int k = 0; k < 12 && it != model.end(); ++k) {
                if (forward) {
                    ASSERT_TRUE(idx.Next().ok());
                    ++it;
                } else {
                    ASSERT_TRUE(idx.Prev().ok());
                    if (it == model.begin()) {
                        EXPECT_FALSE(idx.valid());
                        break;
                    }
                    --it;
                }
                check_cursor(it);
            }
        }
    }
    // Whole walks both ways and the shape of the tree.
    ASSERT_TRUE(idx.GoTop().ok());
    for (auto it = model.begin(); it != model.end(); ++it) {
        check_cursor(it);
        ASSERT_TRUE(idx.Next().ok());
    }
    EXPECT_FALSE(idx.valid());
    ASSERT_TRUE(idx.GoBottom().ok());
    for (auto it = model.rbegin(); it != model.rend(); ++it) {
        ASSERT_TRUE(idx.valid());
        EXPECT_EQ(idx.recno(), it->second);
        ASSERT_TRUE(idx.Prev().ok());
    }
    EXPECT_FALSE(idx.valid());
    ASSERT_TRUE(idx.Close().ok());
    std::unique_ptr<Index> again;
    ASSERT_TRUE(Index::Open(fx.path(), false, true, &again).ok());
    std::vector<Entry> entries;
    ASSERT_TRUE(again->Entries(&entries).ok());
    std::vector<Entry> want(model.begin(), model.end());
    EXPECT_EQ(entries, want);
}

int Steps(int n) {
    return testing::UnderSanitizer() ? n / 4 : n;
}

TEST(IndexModelTest, SmallPagesExclusive) {
    RunModel(60, true, Steps(12000), 1);
}
TEST(IndexModelTest, SmallPagesShared) {
    RunModel(60, false, Steps(4000), 2);
}
TEST(IndexModelTest, ShortKeysExclusive) {
    RunModel(4, true, Steps(20000), 3);
}
TEST(IndexModelTest, TinyCacheWritesPagesBack) {
    RunModel(60, true, Steps(6000), 4, 4);
}

TEST(IndexModelTest, CursorSurvivesChangesByAnotherOpen) {
    ScratchDir dir;
    ModelFixture fx(dir, 8, false);
    std::unique_ptr<Index> other;
    ASSERT_TRUE(Index::Open(fx.path(), false, false, &other).ok());
    for (uint32_t r = 1; r <= 300; ++r) {
        char k[9];
        std::snprintf(k, sizeof k, "%08u", r * 10);
        ASSERT_TRUE(fx.index().Insert(k, r).ok());
    }
    bool found = false;
    ASSERT_TRUE(other->Seek("00001000", &found).ok());
    ASSERT_TRUE(found);
    EXPECT_EQ(other->recno(), 100u);
    // The first open removes the entry under the other's cursor and adds one
    // just after it; the other sees both through the header counter.
    ASSERT_TRUE(fx.index().Remove("00001000", 100).ok());
    ASSERT_TRUE(fx.index().Insert("00001005", 1000).ok());
    ASSERT_TRUE(other->Next().ok());
    EXPECT_EQ(other->recno(), 1000u);
    ASSERT_TRUE(other->Next().ok());
    EXPECT_EQ(other->recno(), 101u);
}

TEST(IndexModelTest, TwoOpensTakingTurnsNeverOverwriteEachOthersPages) {
    // Each open asks for the file's size only when the header has changed:
    // an open that kept a stale end of file would put its new pages over
    // the ones the other has just added, and the tree would lose keys.
    ScratchDir dir;
    ModelFixture fx(dir, 8, false);
    std::unique_ptr<Index> other;
    ASSERT_TRUE(Index::Open(fx.path(), false, false, &other).ok());
    std::vector<Entry> want;
    for (uint32_t r = 1; r <= 1500; ++r) {
        char k[9];
        std::snprintf(k, sizeof k, "%08u", (r * 7919u) % 100000u);
        Index& writer = (r / 50) % 2 == 0 ? fx.index() : *other;
        ASSERT_TRUE(writer.Insert(k, r).ok()) << r;
        want.push_back({k, r});
        bool found = false;
        Index& reader = &writer == other.get() ? fx.index() : *other;
        ASSERT_TRUE(reader.Seek(k, &found).ok()) << r;
        ASSERT_TRUE(found) << r;
        EXPECT_EQ(reader.recno(), r);
    }
    std::sort(want.begin(), want.end());
    ASSERT_TRUE(other->Close().ok());
    ASSERT_TRUE(fx.index().Close().ok());
    std::unique_ptr<Index> again;
    ASSERT_TRUE(Index::Open(fx.path(), false, true, &again).ok());
    std::vector<Entry> entries;
    ASSERT_TRUE(again->Entries(&entries).ok());
    EXPECT_EQ(entries, want);
}

TEST(IndexBuildTest, BulkBuildMatchesSortedKeysAtEverySize) {
    for (uint32_t n : {0u, 1u, 18u, 19u, 20u, 400u, 5000u}) {
        ScratchDir dir;
        std::string dbf = dir.File("B.DBF");
        ASSERT_TRUE(Table::Create(dbf, {{"K", FieldType::kCharacter, 60, 0},
                                        {"F", FieldType::kLogical, 1, 0}})
                        .ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dbf, {.exclusive = true}, &t).ok());
        std::mt19937 rng(n);
        std::vector<Entry> want;
        for (uint32_t r = 1; r <= n; ++r) {
            Record rec = t->NewRecord();
            std::string k = std::to_string(rng() % 97);
            rec.SetString(0, k);
            rec.SetLogical(1, r % 3 != 0);
            uint32_t recno;
            ASSERT_TRUE(t->Append(rec, &recno).ok());
            if (r % 3 != 0) want.emplace_back(k + std::string(60 - k.size(), ' '), r);
        }
        std::sort(want.begin(), want.end());
        IndexDefinition def = FieldIndex("k", 0);
        def.for_expression = "f";
        def.condition = [](const Record& r) { return r.GetLogical(1); };
        std::string ntx = dir.File("B1.NTX");
        ASSERT_TRUE(Index::Create(ntx, t.get(), def).ok());
        std::unique_ptr<Index> idx;
        ASSERT_TRUE(Index::Open(ntx, true, false, &idx).ok());
        EXPECT_EQ(idx->header().signature, 7);
        EXPECT_EQ(idx->for_expression(), "f");
        std::vector<Entry> have;
        ASSERT_TRUE(idx->Entries(&have).ok());
        EXPECT_EQ(have, want) << n;
        idx->Bind(def.key, def.condition);
        EXPECT_TRUE(idx->Check(t.get()).ok()) << n;
        // The first and the last of equal keys (many, across pages), of a
        // prefix, of keys before the first and after the last.
        for (std::string probe : {"0", "1", "5", "55", "96", "97", " ", "~"}) {
            if (probe.size() == 2) probe.resize(60, ' ');
            auto first = std::lower_bound(want.begin(), want.end(), Entry{probe, 0});
            auto beyond = std::find_if(first, want.end(), [&](const Entry& e) {
                return e.first.compare(0, probe.size(), probe) != 0;
            });
            for (bool last : {false, true}) {
                bool found = false;
                ASSERT_TRUE((last ? idx->SeekLast(probe, &found) : idx->Seek(probe, &found)).ok());
                EXPECT_EQ(found, first != beyond) << n << " " << probe;
                auto at = last && first != beyond ? std::prev(beyond) : first;
                EXPECT_EQ(idx->valid(), at != want.end()) << n << " " << probe;
                if (idx->valid() && at != want.end()) {
                    EXPECT_EQ(idx->recno(), at->second) << n << " " << probe << " " << last;
                }
            }
        }
    }
}

// A build leaves room in its pages: every page below the root is at least
// half full but not full, so the saves that follow a rebuild move keys
// within their pages instead of splitting (and growing the file) at once.
TEST(IndexBuildTest, BuiltPagesLeaveRoomAndNewKeysFitWithoutSplits) {
    for (uint32_t n : {200u, 3000u, 20000u}) {
        ScratchDir dir;
        std::string dbf = dir.File("R.DBF");
        ASSERT_TRUE(Table::Create(dbf, {{"K", FieldType::kCharacter, 12, 0}}).ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dbf, {.exclusive = true}, &t).ok());
        for (uint32_t r = 1; r <= n; ++r) {
            Record rec = t->NewRecord();
            rec.SetString(0, std::to_string(100000 + 10 * r));
            uint32_t recno;
            ASSERT_TRUE(t->Append(rec, &recno).ok());
        }
        std::string ntx = dir.File("R1.NTX");
        ASSERT_TRUE(Index::Create(ntx, t.get(), FieldIndex("k", 0)).ok());
        ASSERT_TRUE(t->Close().ok());

        const std::string bytes = testing::ReadAll(ntx);
        NtxHeader h;
        ASSERT_TRUE(DecodeNtxHeader(ntx, std::string_view(bytes).substr(0, kNtxPage), &h).ok());
        std::vector<char> copy(bytes.begin(), bytes.end());
        size_t leaves = 0;
        for (size_t off = kNtxPage; off < copy.size(); off += kNtxPage) {
            NtxPage p(copy.data() + off, h.max_items, h.key_size);
            ASSERT_TRUE(p.Valid()) << n << " page " << off;
            if (off == h.root) continue;
            EXPECT_GE(p.count(), h.half_page) << n << " page " << off;
            EXPECT_LT(p.count(), h.max_items) << n << " page " << off;
            if (p.leaf()) ++leaves;
        }
        ASSERT_GT(leaves, 1u) << n;

        // One new key after the first key of every leaf-sized stretch: one
        // insert per leaf, none of which needs a new page.
        std::unique_ptr<Index> idx;
        ASSERT_TRUE(Index::Open(ntx, false, false, &idx).ok());
        idx->Bind(FieldKey(0), nullptr);
        const uint32_t step = std::max<uint32_t>(1, n / static_cast<uint32_t>(leaves));
        for (uint32_t r = 1; r <= n; r += step) {
            std::string key = std::to_string(100000 + 10 * r + 5);
            key.resize(12, ' ');
            ASSERT_TRUE(idx->Insert(key, n + r).ok());
        }
        ASSERT_TRUE(idx->Close().ok());
        EXPECT_EQ(testing::ReadAll(ntx).size(), bytes.size()) << n;
    }
}

TEST(IndexBuildTest, UpdatesFollowTheForCondition) {
    ScratchDir dir;
    std::string dbf = dir.File("F.DBF");
    ASSERT_TRUE(
        Table::Create(dbf, {{"K", FieldType::kCharacter, 4, 0}, {"ON", FieldType::kLogical, 1, 0}})
            .ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf, {.exclusive = true}, &t).ok());
    IndexDefinition def = FieldIndex("k", 0);
    def.for_expression = "on";
    def.condition = [](const Record& r) { return r.GetLogical(1); };
    std::string ntx = dir.File("F1.NTX");
    ASSERT_TRUE(Index::Create(ntx, t.get(), def).ok());
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx, true, false, &idx).ok());
    idx->Bind(def.key, def.condition);
    Record off = t->NewRecord();
    off.SetString(0, "AAAA");
    off.SetLogical(1, false);
    Record on = off;
    on.SetLogical(1, true);
    Record moved = on;
    moved.SetString(0, "BBBB");
    uint32_t n;
    ASSERT_TRUE(t->Append(off, &n).ok());
    ASSERT_TRUE(idx->Add(off, n).ok());  // left out
    std::vector<Entry> have;
    ASSERT_TRUE(idx->Entries(&have).ok());
    EXPECT_TRUE(have.empty());
    ASSERT_TRUE(idx->Update(off, on, n).ok());    // comes in
    ASSERT_TRUE(idx->Update(on, moved, n).ok());  // moves
    ASSERT_TRUE(idx->Entries(&have).ok());
    EXPECT_EQ(have, (std::vector<Entry>{{"BBBB", 1}}));
    ASSERT_TRUE(idx->Update(moved, off, n).ok());  // goes out
    ASSERT_TRUE(idx->Entries(&have).ok());
    EXPECT_TRUE(have.empty());
}

// A process stopped between the index files of one write leaves some of
// them with the record's new key and the rest with the old: the next
// change of that record puts each file right instead of refusing.
TEST(IndexBuildTest, AnUpdateFindingItsNewKeyAlreadyThereLeavesOneEntry) {
    ScratchDir dir;
    std::string dbf = dir.File("F.DBF");
    ASSERT_TRUE(Table::Create(dbf, {{"K", FieldType::kCharacter, 4, 0}}).ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf, {.exclusive = true}, &t).ok());
    std::string ntx = dir.File("F1.NTX");
    ASSERT_TRUE(Index::Create(ntx, t.get(), FieldIndex("k", 0)).ok());
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx, true, false, &idx).ok());
    idx->Bind(FieldKey(0), nullptr);
    Record blank = t->NewRecord();
    Record filled = blank;
    filled.SetString(0, "AAAA");
    uint32_t n;
    ASSERT_TRUE(t->Append(filled, &n).ok());
    // The file kept the blank key of the appended record.
    ASSERT_TRUE(idx->Add(blank, n).ok());
    // Cleared again: from "AAAA" (not in the file) to blank (there already).
    ASSERT_TRUE(idx->Update(filled, blank, n).ok());
    std::vector<Entry> have;
    ASSERT_TRUE(idx->Entries(&have).ok());
    EXPECT_EQ(have, (std::vector<Entry>{{"    ", 1}}));
    EXPECT_FALSE(idx->Add(blank, n).ok());  // a plain insert still refuses a twin
}

TEST(IndexFormatTest, NumericKeysSortNegativesFirst) {
    EXPECT_EQ(NumericKey(12.3, 8, 2), "00012.30");
    EXPECT_EQ(NumericKey(0, 4, 0), "0000");
    // Each digit d of a negative becomes 0x2C - d: '0' -> ',', '9' -> '#'.
    EXPECT_EQ(NumericKey(-12.3, 8, 2), ",,,+*.),");
    EXPECT_LT(NumericKey(-99, 4, 0), NumericKey(-1, 4, 0));
    EXPECT_LT(NumericKey(-1, 4, 0), NumericKey(0, 4, 0));
    EXPECT_EQ(MaxItemsForKey(6), 62);
    EXPECT_EQ(MaxItemsForKey(8), 54);
    EXPECT_EQ(MaxItemsForKey(12), 44);
    EXPECT_EQ(MaxItemsForKey(1), 90);
}

// The reference indexes: every record once, in byte order of the keys the
// record gives.
struct Reference {
    const char* file;
    const char* field;
    bool numeric;
    bool only_dated;
};

void CheckReference(const std::string& dir, const Reference& ref, bool modify) {
    ScratchDir scratch;
    std::string dbf = scratch.File("HBTEST.dbf");
    ASSERT_TRUE(testing::CopyFile(dir + "/HBTEST.dbf", dbf));
    ASSERT_TRUE(testing::CopyFile(dir + "/HBTEST.dbt", scratch.File("HBTEST.dbt")));
    std::string ntx = scratch.File(ref.file);
    ASSERT_TRUE(testing::CopyFile(dir + "/" + ref.file, ntx));
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf, {}, &t).ok());
    int field = t->FieldIndex(ref.field);
    ASSERT_GE(field, 0);
    const Field& f = t->fields()[field];
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx, false, false, &idx).ok());
    KeyFunction key = FieldKey(field);
    if (ref.numeric) {
        key = [field, f](const Record& r, std::string* k) {
            k->append(NumericKey(r.GetNumber(field), f.length, f.decimals));
        };
    }
    ForFunction cond;
    int date = t->FieldIndex("DATA_ZATR");
    if (ref.only_dated) cond = [date](const Record& r) { return !r.IsBlank(date); };
    idx->Bind(key, cond);
    Status s = idx->Check(t.get());
    ASSERT_TRUE(s.ok()) << ref.file << ": " << s.ToString();
    if (!modify) return;
    // Move keys of a few records in the foreign tree, then check it again.
    for (uint32_t r = 1; r <= t->record_count(); r += 7) {
        Record before, after;
        ASSERT_TRUE(t->Read(r, &before).ok());
        after = before;
        ASSERT_TRUE(t->LockRecord(r).ok());
        if (ref.numeric) {
            ASSERT_TRUE(after.SetNumber(field, -after.GetNumber(field)).ok());
        } else {
            std::string v = std::string(after.Raw(field));
            std::reverse(v.begin(), v.end());
            after.SetRaw(field, v);
        }
        ASSERT_TRUE(t->Write(r, after).ok());
        ASSERT_TRUE(idx->Update(before, after, r).ok()) << r;
        ASSERT_TRUE(t->UnlockRecord(r).ok());
    }
    s = idx->Check(t.get());
    EXPECT_TRUE(s.ok()) << ref.file << ": " << s.ToString();
}

TEST(IndexReferenceTest, ReadsAndUpdatesIndexesOfAnotherRuntime) {
    const Reference refs[] = {{"HBTEST1.ntx", "NR_PRAC", false, false},
                              {"HBTEST3.ntx", "ST_PODST", true, false},
                              {"HBTEST4.ntx", "DATA_ZATR", false, false},
                              {"HBTEST5.ntx", "NR_PRAC", false, true}};
    for (const char* sub : {"/created", "/updated"}) {
        for (const Reference& ref : refs) {
            SCOPED_TRACE(std::string(sub) + "/" + ref.file);
            CheckReference(testing::FixtureDir() + sub, ref, std::string(sub) == "/created");
        }
    }
}

TEST(IndexReferenceTest, StoredExpressionsAreRead) {
    std::unique_ptr<Index> idx;
    std::string dir = testing::FixtureDir() + "/created/";
    ASSERT_TRUE(Index::Open(dir + "HBTEST5.ntx", false, true, &idx).ok());
    EXPECT_EQ(idx->header().signature, 7);
    EXPECT_EQ(idx->key_expression(), "NR_PRAC");
    EXPECT_EQ(idx->for_expression(), "! Empty( DATA_ZATR )");
    ASSERT_TRUE(Index::Open(dir + "HBTEST2.ntx", false, true, &idx).ok());
    EXPECT_EQ(idx->key_expression(), "Str( ROK_, 4 ) + StrZero( MC_, 2 ) + NR_PRAC");
    EXPECT_EQ(idx->key_size(), 12);
}

}  // namespace
}  // namespace kestrel::dbf
