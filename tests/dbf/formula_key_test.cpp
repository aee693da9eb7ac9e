// Index keys compiled by the formula engine: the stored expressions of the
// payroll positions table and of another runtime's indexes.
#include "platform/dbf/formula_key.h"

#include <gtest/gtest.h>

#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

TEST(FormulaKeyTest, KeysOfThePayrollPositionsTable) {
    std::vector<Field> fields = {
        {"NR_PRAC", FieldType::kCharacter, 6, 0, 1},  {"NR_LST", FieldType::kNumeric, 4, 0, 7},
        {"TYP_LST", FieldType::kCharacter, 2, 0, 11}, {"ROK_LST", FieldType::kCharacter, 4, 0, 13},
        {"DATA_WYP", FieldType::kDate, 8, 0, 17},     {"KWOTA_", FieldType::kNumeric, 9, 2, 25},
        {"AKT", FieldType::kLogical, 1, 0, 34}};
    Record r(&fields, 35);
    r.SetString(0, "000123");
    r.SetNumber(1, 7);
    r.SetString(2, "LP");
    r.SetString(3, "2026");
    r.SetDate(4, "20261208");
    r.SetNumber(5, -12.5);
    r.SetLogical(6, true);
    Record blank(&fields, 35);
    struct Case {
        const char* text;
        const char* key;
        const char* blank_key;
    } cases[] = {
        {"rok_lst+typ_lst+str(nr_lst,4)+nr_prac", "2026LP   7000123", "         0      "},
        {"subs(dtos(data_wyp),1,6)+nr_prac", "202612000123", "            "},
        {"str(year(data_wyp),4)+nr_prac", "2026000123", "   0      "},
        {"kwota_", ",,,,+*.',", "000000.00"},
        {"data_wyp", "20261208", "        "},
        {"akt", "T", "F"},
    };
    for (const Case& c : cases) {
        KeyFunction key;
        Status s = CompileFormulaKey(&fields, c.text, &key);
        ASSERT_TRUE(s.ok()) << c.text << ": " << s.ToString();
        std::string k;
        key(r, &k);
        EXPECT_EQ(k, c.key) << c.text;
        k.clear();
        key(blank, &k);
        EXPECT_EQ(k, c.blank_key) << c.text;
    }
    ForFunction cond;
    ASSERT_TRUE(CompileFormulaCondition(&fields, "!empty(data_wyp) .and. akt", &cond).ok());
    EXPECT_TRUE(cond(r));
    EXPECT_FALSE(cond(blank));
    KeyFunction key;
    Status s = CompileFormulaKey(&fields, "nr_prac+", &key);
    EXPECT_TRUE(s.IsInvalidArgument());
    EXPECT_NE(s.message().find("Błąd syntaktyczny algorytmu"), std::string::npos) << s.message();
    // An unknown name may be a variable defined later: it compiles, and a
    // record for which it cannot be computed gets a blank key.
    ASSERT_TRUE(CompileFormulaKey(&fields, "brak_pola", &key).ok());
    std::string k = "x";
    k.clear();
    key(r, &k);
    EXPECT_EQ(k, "");
}

TEST(FormulaKeyTest, StoredExpressionsOfAnotherRuntimeCheckClean) {
    std::string dir = testing::FixtureDir() + "/updated/";
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dir + "HBTEST.dbf", {.read_only = true}, &t).ok());
    for (int n : {1, 2, 3, 4, 5, 7}) {  // 6 needs Descend(), which the system adds
        std::string ntx = dir + "HBTEST" + std::to_string(n) + ".ntx";
        std::unique_ptr<Index> idx;
        ASSERT_TRUE(Index::Open(ntx, false, true, &idx).ok());
        KeyFunction key;
        ForFunction cond;
        ASSERT_TRUE(CompileFormulaKey(&t->fields(), idx->key_expression(), &key).ok());
        ASSERT_TRUE(CompileFormulaCondition(&t->fields(), idx->for_expression(), &cond).ok());
        idx->Bind(key, cond);
        Status s = idx->Check(t.get());
        EXPECT_TRUE(s.ok()) << ntx << ": " << s.ToString();
    }
}

}  // namespace
}  // namespace kestrel::dbf
