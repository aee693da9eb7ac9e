#include "common/tables/index_keys.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "common/tables/index_functions.h"
#include "common/tables/table_catalogue.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;

const LetterSet kCp852 = MakeLetterSet(kPolishCp852);

// "Łódź", "Lublin", "Malbork", "Łomża" in CP852.
const std::string kLodz =
    "\x9D\xA2"
    "d\xAB";
const std::string kLomza =
    "\x9D"
    "om\xBE"
    "a";

TEST(IndexFunctions, PolishCollationOfTownNames) {
    const std::string lodz = SortKey(kCp852, kLodz);
    EXPECT_GT(lodz, SortKey(kCp852, "Lublin"));
    EXPECT_LT(lodz, SortKey(kCp852, "Malbork"));
    EXPECT_GT(lodz, SortKey(kCp852, kLomza));  // Ó after O
    EXPECT_EQ(SortKey(kCp852, "lublin"), SortKey(kCp852, "LUBLIN"));
    EXPECT_LT(SortKey(kCp852, "Zawada"), SortKey(kCp852,
                                                 "\x8D"
                                                 "rebiec"));  // Z before Ź
    // Digits and blanks sort before letters.
    EXPECT_LT(SortKey(kCp852, "9"), SortKey(kCp852, "A"));
    EXPECT_EQ(SortKey(kCp852, "A1 ").substr(1), "1 ");
}

TEST(IndexFunctions, OtherSortKeys) {
    // qrmsort3 maps through NAGLSORT3: blank first, capitals in Polish order.
    EXPECT_EQ(SortKey3(kCp852, " "), " ");
    EXPECT_LT(SortKey3(kCp852, "L"), SortKey3(kCp852, "\x9D"));
    EXPECT_LT(SortKey3(kCp852, "\x9D"), SortKey3(kCp852, "M"));
    EXPECT_EQ(SortKey3(kCp852, "a"), SortKey3(kCp852, "b"));  // both outside the sequence
    EXPECT_EQ(ProfessionKey("012345"), "A12345");
    EXPECT_EQ(ProfessionKey("912345"), "912345");
    EXPECT_LT(ProfessionKey("912345"), ProfessionKey("012345"));
    EXPECT_EQ(DescendingDateKey(0), "        ");
    EXPECT_EQ(DescendingDateKey(2451545), "02780263");  // 2000-01-01
    EXPECT_LT(DescendingDateKey(2451546), DescendingDateKey(2451545));
}

TEST(IndexFunctions, TaxOfficesSortByTown) {
    // "URZĄD SKARBOWY W ŁODZI", "PIERWSZY URZĄD SKARBOWY WE WROCŁAWIU".
    const std::string lodz = TaxOfficeKey(kCp852,
                                          "URZ\xA4"
                                          "D SKARBOWY W \x9D"
                                          "ODZI");
    const std::string wroclaw = TaxOfficeKey(kCp852,
                                             "PIERWSZY URZ\xA4"
                                             "D SKARBOWY WE WROC\x9D"
                                             "AWIU");
    const std::string other = TaxOfficeKey(kCp852, "DRUGI MAZOWIECKI");
    EXPECT_EQ(lodz.size(), 20u);
    EXPECT_EQ(lodz, SortKey(kCp852,
                            "\x9D"
                            "ODZI               "));
    EXPECT_EQ(wroclaw, SortKey(kCp852,
                               "WROC\x9D"
                               "AWIU           "));
    EXPECT_LT(lodz, wroclaw);
    EXPECT_LT(wroclaw, other);
    EXPECT_EQ(other.size(), 20u);
}

// A table of the catalogue's layout in a scratch directory.
struct CatalogueTable {
    ScratchDir dir;
    std::unique_ptr<dbf::Table> table;

    explicit CatalogueTable(const char* name) {
        const TableLayout* t = FindTable(name);
        const std::string path = dir.File(std::string(name) + ".DBF");
        EXPECT_TRUE(dbf::Table::Create(path, t->Specs()).ok());
        EXPECT_TRUE(dbf::Table::Open(path, dbf::OpenOptions{true}, &table).ok());
    }
};

// Fills every field of a record with a value of its full width.
void FillRecord(dbf::Record* rec, int seed) {
    for (size_t i = 0; i < rec->fields().size(); ++i) {
        const dbf::Field& f = rec->fields()[i];
        const int fi = static_cast<int>(i);
        switch (f.type) {
            case dbf::FieldType::kCharacter:
                rec->SetString(fi, std::string(f.length, static_cast<char>('A' + seed % 26)));
                break;
            case dbf::FieldType::kNumeric: {
                const int digits = f.length - (f.decimals ? f.decimals + 1 : 0);
                double v = 1;
                for (int d = 1; d < digits; ++d) v *= 10;
                rec->SetNumber(fi, seed % 2 ? v - 1 : -(v / 10 - 1));
                break;
            }
            case dbf::FieldType::kDate:
                rec->SetDate(fi, "20261208");
                break;
            case dbf::FieldType::kLogical:
                rec->SetLogical(fi, seed % 2 == 0);
                break;
            case dbf::FieldType::kMemo:
                break;
        }
    }
}

TEST(IndexKeys, EveryCatalogueKeyCompilesAndHasAFixedWidth) {
    ScratchDir dir;
    int checked = 0;
    for (const TableLayout& t : CatalogueTables()) {
        if (t.indexes.empty()) continue;
        const std::string path = dir.File(std::string(t.name) + ".DBF");
        ASSERT_TRUE(dbf::Table::Create(path, t.Specs()).ok()) << t.name;
        std::unique_ptr<dbf::Table> table;
        ASSERT_TRUE(dbf::Table::Open(path, dbf::OpenOptions{true}, &table).ok()) << t.name;
        IndexKeys keys(table->fields(), kCp852);
        for (const CatalogueIndex& i : t.indexes) {
            dbf::IndexDefinition def;
            base::Status s = keys.Define(i, &def);
            ASSERT_TRUE(s.ok()) << i.name << ": " << s.message();
            std::string blank_key;
            dbf::Record rec = table->NewRecord();
            def.key(rec, &blank_key);
            EXPECT_FALSE(blank_key.empty()) << i.name;
            for (int seed = 1; seed <= 2; ++seed) {
                FillRecord(&rec, seed);
                std::string key;
                def.key(rec, &key);
                EXPECT_EQ(key.size(), blank_key.size()) << i.name << " seed " << seed;
                if (def.condition) def.condition(rec);
            }
            ++checked;
        }
        EXPECT_EQ(keys.eval_errors(), 0) << t.name;
    }
    EXPECT_EQ(checked, 197);
}

TEST(IndexKeys, EmployeesByUnscrambledNameAndPesel) {
    CatalogueTable prac("PKPRAC");
    dbf::Table& table = *prac.table;
    const int nr = table.FieldIndex("NR_PRAC");
    const int nazw = table.FieldIndex("NAZWX_");
    const int pesel = table.FieldIndex("PESELX_");
    const int przycz = table.FieldIndex("PRZYCZ_ZW");
    struct Person {
        const char* nr;
        std::string surname;
        const char* pesel;
        const char* reason;
    };
    const Person people[] = {{"000001", "Malbork", "90010100001", ""},
                             {"000002", kLodz, "80010100002", "01"},
                             {"000003", "Lublin", "85010100003", ""}};
    for (const Person& p : people) {
        dbf::Record rec = table.NewRecord();
        rec.SetString(nr, p.nr);
        rec.SetString(nazw, Scramble(ScrambleKind::kName, p.surname, 72));
        rec.SetString(pesel, Scramble(ScrambleKind::kIdentity, p.pesel, 34));
        rec.SetString(przycz, p.reason);
        uint32_t recno = 0;
        ASSERT_TRUE(table.Append(rec, &recno).ok());
    }
    IndexKeys keys(table.fields(), kCp852);
    auto entries = [&](const char* index) {
        dbf::IndexDefinition def;
        EXPECT_TRUE(keys.Define(*IndexDefinitionOf("PKPRAC", index), &def).ok());
        const std::string path = prac.dir.File(std::string(index) + ".NTX");
        EXPECT_TRUE(dbf::Index::Create(path, &table, def).ok());
        std::unique_ptr<dbf::Index> idx;
        EXPECT_TRUE(dbf::Index::Open(path, true, false, &idx).ok());
        idx->Bind(def.key, def.condition);
        EXPECT_TRUE(idx->Check(&table).ok());
        std::vector<std::pair<std::string, uint32_t>> out;
        EXPECT_TRUE(idx->Entries(&out).ok());
        std::vector<uint32_t> recnos;
        for (auto& e : out) recnos.push_back(e.second);
        return std::make_pair(idx->key_size(), recnos);
    };
    // By surname: Lublin, Łódź, Malbork.
    EXPECT_EQ(entries("PKPRAC2"), std::make_pair(uint16_t{30}, std::vector<uint32_t>{3, 2, 1}));
    // Those still employed only.
    EXPECT_EQ(entries("PKPRAC6").second, (std::vector<uint32_t>{3, 1}));
    // By PESEL, then number.
    EXPECT_EQ(entries("PKPRACA"), std::make_pair(uint16_t{17}, std::vector<uint32_t>{2, 3, 1}));
    EXPECT_EQ(keys.eval_errors(), 0);
}

TEST(IndexKeys, BadExpressionsAreReported) {
    CatalogueTable t("PKURZ");
    IndexKeys keys(t.table->fields(), kCp852);
    dbf::IndexDefinition def;
    EXPECT_FALSE(keys.Define("urz_skarb+", "", &def).ok());
    EXPECT_FALSE(keys.Define("urz_skarb", "empt(", &def).ok());
}

}  // namespace
}  // namespace kestrel::common
