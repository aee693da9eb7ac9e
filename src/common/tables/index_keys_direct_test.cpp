// Direct key building against the formula engine: over every index of the
// catalogue and records of random contents, both must give the same key
// bytes and the same condition results.
#include "common/tables/index_keys_direct.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "common/checks/scramble.h"
#include "common/tables/index_keys.h"
#include "common/tables/table_catalogue.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;

// Random field contents: texts with Polish letters, blanks and digits
// (leading zeros too), scrambled names and identity numbers in the
// scrambled fields, numbers of every sign and size, empty and real dates,
// both logicals.
class RandomRecords {
  public:
    explicit RandomRecords(uint32_t seed) : rng_(seed) {}

    void Fill(dbf::Record* rec) {
        for (size_t i = 0; i < rec->fields().size(); ++i) {
            const dbf::Field& f = rec->fields()[i];
            const int fi = static_cast<int>(i);
            switch (f.type) {
                case dbf::FieldType::kCharacter:
                    if (f.name.rfind("NAZWX_", 0) == 0 || f.name == "IMIEX_")
                        rec->SetString(fi, Scramble(ScrambleKind::kName, Text(20), f.length));
                    else if (f.name.rfind("PESELX_", 0) == 0)
                        rec->SetString(fi, Scramble(ScrambleKind::kIdentity, Digits(11), f.length));
                    else
                        rec->SetString(fi, Pick(4) == 0 ? std::string() : Text(f.length));
                    break;
                case dbf::FieldType::kNumeric: {
                    const int digits = f.length - (f.decimals ? f.decimals + 1 : 0);
                    double limit = 1;
                    for (int d = 0; d < digits - 1 && d < 15; ++d) limit *= 10;
                    double v = static_cast<double>(rng_() % 100000) / 7.0;
                    if (Pick(3) == 0) v = 0;
                    if (Pick(4) == 0) v = -v;
                    while (v >= limit || v <= -limit / 10) v /= 10;
                    (void)rec->SetNumber(fi, v);
                    break;
                }
                case dbf::FieldType::kDate: {
                    char buf[16];
                    std::snprintf(buf, sizeof buf, "%04d%02d%02d", 1990 + Pick(40), 1 + Pick(12),
                                  1 + Pick(28));
                    rec->SetDate(fi, Pick(4) == 0 ? "" : buf);
                    break;
                }
                case dbf::FieldType::kLogical:
                    rec->SetLogical(fi, Pick(2) == 0);
                    break;
                case dbf::FieldType::kMemo:
                    break;
            }
        }
        rec->set_deleted(Pick(10) == 0);
    }

  private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    std::string Text(size_t n) {
        // Letters of both cases, CP852 Polish letters, digits, blanks.
        static const std::string kChars =
            "abcxyzABCXYZ0129 -.\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE\xA4\x8F\xA8\x9D\xE3\xE0"
            "\x97\x8D\xBD";
        std::string s(1 + static_cast<size_t>(Pick(static_cast<int>(n))), ' ');
        for (char& c : s) c = kChars[static_cast<size_t>(Pick(static_cast<int>(kChars.size())))];
        if (Pick(3) == 0) s[0] = '0';
        return s;
    }
    std::string Digits(size_t n) {
        std::string s(n, '0');
        for (char& c : s) c = static_cast<char>('0' + Pick(10));
        return s;
    }
    std::mt19937 rng_;
};

TEST(DirectKeys, SameKeysAndConditionsAsTheFormulaEngineOverTheWholeCatalogue) {
    const LetterSet letters = MakeLetterSet(kPolishCp852);
    ScratchDir dir;
    RandomRecords random(8122026);
    int indexes = 0, direct = 0;
    for (const TableLayout& t : CatalogueTables()) {
        if (t.indexes.empty()) continue;
        const std::string path = dir.File(std::string(t.name) + ".DBF");
        ASSERT_TRUE(dbf::Table::Create(path, t.Specs()).ok()) << t.name;
        std::unique_ptr<dbf::Table> table;
        ASSERT_TRUE(dbf::Table::Open(path, dbf::OpenOptions{true}, &table).ok()) << t.name;
        IndexKeys fast(table->fields(), letters, true);
        IndexKeys general(table->fields(), letters, false);
        for (const CatalogueIndex& i : t.indexes) {
            dbf::IndexDefinition f, g;
            ASSERT_TRUE(fast.Define(i, &f).ok()) << i.name;
            ASSERT_TRUE(general.Define(i, &g).ok()) << i.name;
            ++indexes;
            dbf::Record rec = table->NewRecord();
            for (int n = 0; n < 200; ++n) {
                if (n > 0) random.Fill(&rec);    // the first is the blank record
                std::string kf = "x", kg = "x";  // appended to, as the engine does
                f.key(rec, &kf);
                g.key(rec, &kg);
                ASSERT_EQ(kf, kg) << i.name << " " << i.key << " record " << n;
                ASSERT_EQ(static_cast<bool>(f.condition), static_cast<bool>(g.condition));
                if (f.condition) {
                    ASSERT_EQ(f.condition(rec), g.condition(rec))
                        << i.name << " " << i.condition << " record " << n;
                }
            }
        }
        EXPECT_EQ(fast.eval_errors(), general.eval_errors()) << t.name;
        EXPECT_EQ(general.direct_count(), 0);
        direct += fast.direct_count();
    }
    EXPECT_EQ(indexes, 197);
    // The comparison covered the direct builder for nearly every key.
    EXPECT_GT(direct, 180);
}

TEST(DirectKeys, SortTableIsQrmsortByteForByte) {
    for (const LetterSet& letters : {MakeLetterSet(kPolishCp852), MakeLetterSet(kPolishPlain),
                                     MakeLetterSet(kPolishMazovia)}) {
        const SortTable table = MakeSortTable(letters);
        std::string all(256, ' ');
        for (int i = 0; i < 256; ++i) all[static_cast<size_t>(i)] = static_cast<char>(i);
        std::string in_place = all;
        SortKeyInPlace(table, &in_place);
        EXPECT_EQ(in_place, SortKey(letters, all));
    }
}

TEST(DirectKeys, ShapesItDoesNotKnowAreLeftToTheFormulaEngine) {
    ScratchDir dir;
    const std::string path = dir.File("PKURZ.DBF");
    ASSERT_TRUE(dbf::Table::Create(path, FindTable("PKURZ")->Specs()).ok());
    std::unique_ptr<dbf::Table> table;
    ASSERT_TRUE(dbf::Table::Open(path, dbf::OpenOptions{true}, &table).ok());
    IndexKeys keys(table->fields(), MakeLetterSet(kPolishCp852));
    dbf::IndexDefinition def;
    // A literal, an iif, a comparison: evaluated by the engine, same keys.
    ASSERT_TRUE(keys.Define("\"X\"+urz_skarb", "", &def).ok());
    ASSERT_TRUE(keys.Define("iif(empt(urz_skarb), \"1\", \"2\")", "urz_skarb > \"05\"", &def).ok());
    EXPECT_EQ(keys.direct_count(), 0);
    dbf::Record rec = table->NewRecord();
    rec.SetString(table->FieldIndex("URZ_SKARB"), "07");
    std::string key;
    def.key(rec, &key);
    EXPECT_EQ(key, "2");
    EXPECT_TRUE(def.condition(rec));
    // str() of a width no built-in would read the same way stays general.
    ASSERT_TRUE(keys.Define("str(val(urz_skarb), 2.5)", "", &def).ok());
    EXPECT_EQ(keys.direct_count(), 0);
}

}  // namespace
}  // namespace kestrel::common
