// Index keys compiled by the formula engine: the stored expressions of the
// payroll positions table and of another runtime's indexes, and faults.
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

// Descend() of a date as the other runtime keys it: 5231808 less the Julian
// day, a number (the system's own keys use QRMSDATA instead).
void AddDescend(formula::Runtime& rt) {
    rt.RegisterFunction("DESCEND", [](formula::Call& call) {
        const formula::Value& d = call.Arg(0);
        if (!d.IsDate()) return call.ArgError(1);
        call.result = formula::Value::Number(d.julian() == 0 ? 5231808 : 5231808 - d.julian());
        return true;
    });
}

TEST(FormulaKeyTest, StoredExpressionsOfAnotherRuntimeCheckClean) {
    for (const char* sub : {"/created/", "/updated/"}) {
        std::string dir = testing::FixtureDir() + sub;
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dir + "HBTEST.dbf", {.read_only = true}, &t).ok());
        for (int n = 1; n <= 7; ++n) {
            std::string ntx = dir + "HBTEST" + std::to_string(n) + ".ntx";
            std::unique_ptr<Index> idx;
            ASSERT_TRUE(Index::Open(ntx, false, true, &idx).ok());
            KeyFunction key;
            ForFunction cond;
            Status s = CompileFormulaKey(&t->fields(), idx->key_expression(), &key, AddDescend);
            ASSERT_TRUE(s.ok()) << s.ToString();
            s = CompileFormulaCondition(&t->fields(), idx->for_expression(), &cond, AddDescend);
            ASSERT_TRUE(s.ok()) << s.ToString();
            idx->Bind(key, cond);
            s = idx->Check(t.get());
            EXPECT_TRUE(s.ok()) << ntx << ": " << s.ToString();
        }
    }
}

// Faults: a formula that does not compile is refused; one that compiles but
// cannot be computed for a record (an unknown name, mismatched types) gives
// that record a blank key, and a condition that is not logical leaves it out.
TEST(FormulaKeyTest, FaultsAndAbbreviatedFunctions) {
    std::vector<Field> fields = {{"A", FieldType::kCharacter, 3, 0, 1},
                                 {"N", FieldType::kNumeric, 5, 1, 4}};
    KeyFunction key;
    for (const char* text : {"subs(a,1", "a b", "", "a +* n"}) {
        EXPECT_TRUE(CompileFormulaKey(&fields, text, &key).IsInvalidArgument()) << text;
    }
    Record r(&fields, 9);
    r.SetString(0, "xyz");
    r.SetNumber(1, -2.5);
    for (const char* text : {"B", "A+N", "str(a)", "iif(a,a,a)"}) {
        ASSERT_TRUE(CompileFormulaKey(&fields, text, &key).ok()) << text;
        std::string k;
        key(r, &k);
        EXPECT_EQ(k, "") << text;
    }
    ForFunction cond;
    ASSERT_TRUE(CompileFormulaCondition(&fields, "a", &cond).ok());
    EXPECT_FALSE(cond(r));
    struct Case {
        const char* text;
        const char* key;
    } cases[] = {{"a", "xyz"},
                 {"uppe(subs(a,2,1))+left(a,1)+right(a,1)", "Yxz"},
                 {"str(n,6,2)", " -2.50"},
                 {"strzero(n*2,4)", "-005"},
                 {"n", ",,*.'"},
                 {"iif(empt(a),'-','+')", "+"}};
    for (const Case& c : cases) {
        Status s = CompileFormulaKey(&fields, c.text, &key);
        ASSERT_TRUE(s.ok()) << c.text << " " << s.ToString();
        std::string k;
        key(r, &k);
        EXPECT_EQ(k, c.key) << c.text;
    }
}

}  // namespace
}  // namespace kestrel::dbf
