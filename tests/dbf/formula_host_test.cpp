// Formulas reading the open work areas.
#include "platform/dbf/formula_host.h"

#include <gtest/gtest.h>

#include "platform/dbf/formula_key.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using formula::Value;

class FormulaHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            Table::Create(dir_.File("PKPRAC.DBF"), {{"NR_PRAC", FieldType::kCharacter, 6, 0},
                                                    {"STAWKA_", FieldType::kNumeric, 9, 2},
                                                    {"DATA_ZATR", FieldType::kDate, 8, 0},
                                                    {"AKTYWNY", FieldType::kLogical, 1, 0},
                                                    {"UWAGI", FieldType::kMemo, 10, 0}})
                .ok());
        ASSERT_TRUE(
            Table::Create(dir_.File("PKSTER.DBF"), {{"MIN_WYN", FieldType::kNumeric, 9, 2}}).ok());
        WorkArea* ster = nullptr;
        ASSERT_TRUE(ws_.Use(dir_.File("PKSTER.DBF"), "", {}, &ster).ok());
        ASSERT_TRUE(ster->Append().ok());
        ster->record().SetNumber(0, 4666);
        ASSERT_TRUE(ster->Commit().ok());
        ASSERT_TRUE(ster->Unlock().ok());
        WorkArea* prac = nullptr;
        ASSERT_TRUE(ws_.Use(dir_.File("PKPRAC.DBF"), "", {}, &prac).ok());
        for (int i = 1; i <= 2; ++i) {
            ASSERT_TRUE(prac->Append().ok());
            prac->record().SetString(0, i == 1 ? "000001" : "000002");
            prac->record().SetNumber(1, i * 1000.5);
            prac->record().SetDate(2, "20240115");
            prac->record().SetLogical(3, i == 1);
            ASSERT_TRUE(prac->WriteMemo(4, i == 1 ? "pierwszy" : "drugi").ok());
            ASSERT_TRUE(prac->Commit().ok());
        }
        ASSERT_TRUE(prac->Unlock().ok());
        ASSERT_TRUE(prac->GoTop().ok());
    }

    std::string Eval(const char* text) {
        formula::Runtime rt(&host_);
        formula::Program p;
        formula::Error e;
        Value v;
        if (!rt.Compile(text, &p, &e) || !rt.Evaluate(p, &v, &e)) return "error: " + e.Message();
        return formula::Canonical(v);
    }

    testing::ScratchDir dir_;
    Workspace ws_;
    WorkspaceHost host_{ws_};
};

TEST_F(FormulaHostTest, FieldsAliasesMemosAndTableFunctions) {
    EXPECT_EQ(Eval("nr_prac"), "\"000001\"");
    EXPECT_EQ(Eval("stawka_ * 2"), "2001.00");
    EXPECT_EQ(Eval("dtos(data_zatr)"), "\"20240115\"");
    EXPECT_EQ(Eval("aktywny"), ".T.");
    EXPECT_EQ(Eval("uwagi"), "\"pierwszy\"");
    EXPECT_EQ(Eval("pkster->min_wyn"), "4666.00");
    EXPECT_EQ(Eval("recno()"), "1");
    EXPECT_EQ(Eval("reccount()"), "2");
    EXPECT_EQ(Eval("alias()"), "\"PKPRAC\"");
    EXPECT_EQ(Eval("eof()"), ".F.");
    ASSERT_TRUE(ws_.current()->Skip(1).ok());
    EXPECT_EQ(Eval("nr_prac + str(stawka_, 8, 1)"), "\"000002  2001.0\"");
    ASSERT_TRUE(ws_.current()->Skip(1).ok());
    // Past the end: the phantom record's empty values.
    EXPECT_EQ(Eval("eof()"), ".T.");
    EXPECT_EQ(Eval("empty(nr_prac) .and. stawka_ == 0 .and. !aktywny"), ".T.");
    EXPECT_EQ(Eval("nosuch->pole"),
              "error: B\x88\xA9"
              "dny alias: NOSUCH");
    // A seek needs an index.
    EXPECT_EQ(Eval("dbseek(\"000001\")").rfind("error: ", 0), 0u);
}

// dbseek(key, soft, last) on the controlling index: the first or the last
// record of equal keys, soft misses on the next key.
TEST(FormulaHostSeek, SeekTheFirstOrTheLastOfEqualKeys) {
    testing::ScratchDir dir;
    const std::string dbf = dir.File("PKDOCH.DBF");
    ASSERT_TRUE(Table::Create(dbf, {{"NR_PRAC", FieldType::kCharacter, 6, 0}}).ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(dbf, {.exclusive = true}, &t).ok());
    for (const char* nr : {"000002", "000001", "000002", "000003", "000002", "000001"}) {
        Record r = t->NewRecord();
        r.SetString(0, nr);
        uint32_t n = 0;
        ASSERT_TRUE(t->Append(r, &n).ok());
    }
    IndexDefinition def;
    def.key_expression = "nr_prac";
    ASSERT_TRUE(CompileFormulaKey(&t->fields(), def.key_expression, &def.key).ok());
    ASSERT_TRUE(Index::Create(dir.File("PKDOCH1.NTX"), t.get(), def).ok());
    ASSERT_TRUE(t->Close().ok());
    Workspace ws;
    WorkArea* area = nullptr;
    ASSERT_TRUE(ws.Use(dbf, "", {}, &area).ok());
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(dir.File("PKDOCH1.NTX"), false, false, &idx).ok());
    KeyFunction key;
    ASSERT_TRUE(CompileFormulaKey(&area->table().fields(), "nr_prac", &key).ok());
    idx->Bind(key, nullptr);
    ASSERT_TRUE(area->AddIndex(std::move(idx)).ok());
    WorkspaceHost host(ws);
    formula::Runtime rt(&host);
    auto eval = [&](const char* text) {
        formula::Program p;
        formula::Error e;
        Value v;
        if (!rt.Compile(text, &p, &e) || !rt.Evaluate(p, &v, &e)) return "error: " + e.Message();
        return formula::Canonical(v);
    };
    struct Case {
        const char* seek;
        const char* found;
        const char* recno;
    } cases[] = {
        {"dbseek(\"000002\")", ".T.", "1"},
        {"dbseek(\"000002\", .F., .T.)", ".T.", "5"},
        {"dbseek(\"000001\", .F., .T.)", ".T.", "6"},  // the first key
        {"dbseek(\"000003\", .F., .T.)", ".T.", "4"},  // the last key
        {"dbseek(\"00000\", .F., .T.)", ".T.", "4"},
        {"dbseek(\"000000\", .T., .T.)", ".F.", "2"},
        {"dbseek(\"0000019\", .F., .T.)", ".T.", "6"},  // cut to the key size
        {"dbseek(\"000004\", .T., .T.)", ".F.", "7"},
        {"dbseek(\"000004\", .F., .T.)", ".F.", "7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(eval(c.seek), c.found) << c.seek;
        EXPECT_EQ(eval("recno()"), c.recno) << c.seek;
    }
}

// A formula compiled while one table was open in an area, evaluated after
// that table was closed and the area reused by another: never the other
// table's field in the same position, only the field of the same name.
TEST(FormulaHostReuse, StaleFieldReferencesAreResolvedAgainByName) {
    testing::ScratchDir dir;
    // PKA: KOD, KWOTA. PKB: no KWOTA, ILOSC where PKA has KWOTA. PKC: KWOTA
    // first, ILOSC where PKA has KWOTA.
    ASSERT_TRUE(Table::Create(dir.File("PKA.DBF"), {{"KOD", FieldType::kCharacter, 3, 0},
                                                    {"KWOTA", FieldType::kNumeric, 9, 2}})
                    .ok());
    ASSERT_TRUE(Table::Create(dir.File("PKB.DBF"), {{"NAZWA", FieldType::kCharacter, 3, 0},
                                                    {"ILOSC", FieldType::kNumeric, 9, 2}})
                    .ok());
    ASSERT_TRUE(Table::Create(dir.File("PKC.DBF"), {{"KWOTA", FieldType::kNumeric, 9, 2},
                                                    {"ILOSC", FieldType::kNumeric, 9, 2}})
                    .ok());
    auto fill = [&](const char* file, double first, double second) {
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dir.File(file), {.exclusive = true}, &t).ok());
        Record r = t->NewRecord();
        if (r.fields()[0].type == FieldType::kCharacter) {
            r.SetString(0, "abc");
        } else {
            r.SetNumber(0, first);
        }
        r.SetNumber(1, second);
        uint32_t n = 0;
        ASSERT_TRUE(t->Append(r, &n).ok());
        ASSERT_TRUE(t->Close().ok());
    };
    fill("PKA.DBF", 0, 100);
    fill("PKB.DBF", 0, 666);
    fill("PKC.DBF", 300, 666);

    Workspace ws;
    WorkspaceHost host(ws);
    formula::Runtime rt(&host);
    WorkArea* area = nullptr;
    auto use = [&](const char* file, const char* alias) {
        ASSERT_TRUE(ws.CloseAll().ok());
        ASSERT_TRUE(ws.Use(dir.File(file), alias, {}, &area).ok());
        ASSERT_EQ(area->number(), 1);
        ASSERT_TRUE(area->GoTop().ok());
    };
    auto eval = [&](const formula::Program& p) {
        Value v;
        formula::Error e;
        if (!rt.Evaluate(p, &v, &e)) return "error: " + e.Message();
        return formula::Canonical(v);
    };
    use("PKA.DBF", "");
    formula::Program aliased, bare;
    formula::Error e;
    ASSERT_TRUE(rt.Compile("pka->kwota", &aliased, &e)) << e.Message();
    ASSERT_TRUE(rt.Compile("kwota", &bare, &e)) << e.Message();
    EXPECT_EQ(eval(aliased), "100.00");
    EXPECT_EQ(eval(bare), "100.00");

    // Area 1 reused by a table without the field, under another alias.
    use("PKB.DBF", "");
    EXPECT_EQ(eval(aliased),
              "error: B\x88\xA9"
              "dny alias: PKA");
    EXPECT_EQ(eval(bare),
              "error: B\x88\xA9"
              "dna zmienna: KWOTA");
    // ... and under the alias the formula names.
    use("PKB.DBF", "PKA");
    EXPECT_EQ(eval(aliased),
              "error: B\x88\xA9"
              "dna zmienna: KWOTA");
    // A table with the field elsewhere: the field of that name.
    use("PKC.DBF", "PKA");
    EXPECT_EQ(eval(aliased), "300.00");
    EXPECT_EQ(eval(bare), "300.00");
    use("PKC.DBF", "");
    EXPECT_EQ(eval(aliased),
              "error: B\x88\xA9"
              "dny alias: PKA");
    EXPECT_EQ(eval(bare), "300.00");
    // The same table opened again reads as before.
    use("PKA.DBF", "");
    EXPECT_EQ(eval(aliased), "100.00");
    EXPECT_EQ(eval(bare), "100.00");
    // Nothing open at all.
    ASSERT_TRUE(ws.CloseAll().ok());
    EXPECT_EQ(eval(aliased),
              "error: B\x88\xA9"
              "dny alias: PKA");
    EXPECT_EQ(eval(bare),
              "error: B\x88\xA9"
              "dna zmienna: KWOTA");
}

}  // namespace
}  // namespace kestrel::dbf
