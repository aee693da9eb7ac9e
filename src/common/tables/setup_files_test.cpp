#include "common/tables/setup_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>

#include "common/tables/shipped_content.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;

TEST(SetupFiles, RecordsWithCommentsAndMemoTexts) {
    std::vector<SetupRecord> records;
    ASSERT_TRUE(ParseSetup("\xEF\xBB\xBF# the head of the file\r\n"
                           "[pkfunc]\r\n"
                           "fun_: zdr\r\n"
                           "  # a comment between fields\n"
                           "WZOR_:\n"
                           "    if(rok # 2003,\n"
                           "\n"
                           "       9/100,   \n"
                           "\t\n"
                           "       8/100)\n"
                           "\n"
                           "\n"
                           "KOMENTARZ_: Składka zdrowotna: 9 %\n"
                           "\n"
                           "[PKTAB]\n"
                           "ROK_: 2026\n"
                           "PROC_POD: 12\n",
                           "f.setup", &records)
                    .ok());
    ASSERT_EQ(records.size(), 2u);
    const SetupRecord& fun = records[0];
    EXPECT_EQ(fun.table, "PKFUNC");
    EXPECT_EQ(fun.line, 2);
    ASSERT_EQ(fun.fields.size(), 3u);
    EXPECT_EQ(fun.fields[0].name, "FUN_");
    EXPECT_EQ(fun.fields[0].value, "zdr");
    // The first line's indentation comes off every line, deeper indentation
    // stays, "#" is text, a blank line inside stays, the blank lines after
    // the text do not; lines are joined by CR LF.
    EXPECT_EQ(fun.fields[1].value, "if(rok # 2003,\r\n\r\n   9/100,\r\n\r\n   8/100)");
    EXPECT_EQ(fun.fields[1].line, 5);
    EXPECT_EQ(fun.Find("KOMENTARZ_")->value, "Składka zdrowotna: 9 %");
    EXPECT_EQ(fun.Find("KOMENTARZ_")->line, 13);
    EXPECT_EQ(records[1].line, 15);
    EXPECT_EQ(RecordsOf(records, "pktab").size(), 1u);
}

TEST(SetupFiles, FaultsNameTheFileAndLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"ROK_: 2026\n", "f.setup:1: a field before the first [TABLE] line"},
        {"\n[PKNIEMA]\n", "f.setup:2: unknown table PKNIEMA"},
        {"[PKTAB\n", "f.setup:1: expected [TABLE]"},
        {"[PKTAB]\nROK_ 2026\n", "f.setup:2: expected FIELD: value"},
        {"[PKTAB]\nROK: 2026\n", "f.setup:2: table PKTAB has no field ROK"},
        {"[PKTAB]\nROK_: 2026\nrok_: 2027\n", "f.setup:3: field ROK_ given twice"},
        {"[PKTAB]\nROK_: 20x6\n", "f.setup:2: ROK_: not a number: 20x6"},
        {"[PKTAB]\nROK_: 12026\n", "f.setup:2: ROK_: 12026 does not fit N4.0"},
        {"[PKTAB]\nPROC_POD: 12.345\n", "f.setup:2: PROC_POD: more than 2 decimals: 12.345"},
        {"[PKTAB]\nPROC_POD: 12,5\n", "f.setup:2: PROC_POD: not a number: 12,5"},
        {"[PKPRAC]\nDATA_ZATR: 2026-02-30\n",
         "f.setup:2: DATA_ZATR: not a date YYYY-MM-DD: 2026-02-30"},
        {"[PKSLST]\nLOCAL_NR: tak\n", "f.setup:2: LOCAL_NR: not T or F: tak"},
        {"[PKSLST]\nTYP_LST: ABC\n", "f.setup:2: TYP_LST: longer than 2 characters"},
        // Two letters where CP852 has one: "Ł" fits, the Euro sign does not.
        {"[PKSLST]\nTYP_LST: Ł\nNAZWA_LST: Lista €\n",
         "f.setup:3: NAZWA_LST: a letter outside the letter set"},
        {"[PKSLST]\nNAZWA_LST:\n    Lista\n", "f.setup:3: field NAZWA_LST is not a memo field"},
        {"[PKSLST]\nNAZWA_LST: Lista\n    płac\n",
         "f.setup:3: an indented line outside a memo text"},
        {"[PKFUNC]\nWZOR_:\n      a +\n    b\n",
         "f.setup:4: indented less than the first line of the text"},
    };
    for (const auto& c : cases) {
        std::vector<SetupRecord> records;
        const base::Status s = ParseSetup(c.text, "f.setup", &records);
        EXPECT_EQ(s.message(), c.error) << c.text;
        EXPECT_TRUE(records.empty()) << c.text;
    }
}

// A table of every field type, written through FillSetupRecord.
TEST(SetupFiles, ValuesIntoATableInItsLetterSet) {
    ScratchDir dir;
    testing::HeadlessRuntime h({'t'});
    h.rt.set_data_dir(dir.path() + "/");
    ASSERT_TRUE(dbf::Table::Create(dir.File("PKSPL.DBF"), FindTable("PKSPL")->Specs()).ok());
    Tables tables(h.rt);
    dbf::WorkArea& spl = tables.Open("PKSPL", IndexFiles("PKSPL"));
    std::vector<SetupRecord> records;
    ASSERT_TRUE(ParseSetup("[PKSPL]\n"
                           "SKLADN_PL: ZASD\n"
                           "NAZWA_: Płaca zasadnicza - ŻÓŁĆ\n"
                           "SEKW_OBL: 10\n"
                           "POTRAC_: N\n"
                           "POZA_LISTA: y\n"
                           "ALGORYTM_:\n"
                           "    yround(pkprac->st_podst *\n"
                           "           etat(), 2)  // źle\n",
                           "s.setup", &records)
                    .ok());
    tables.Append(spl);
    ASSERT_TRUE(FillSetupRecord(records[0], spl.table(), &spl.record()).ok());
    ASSERT_TRUE(spl.Commit().ok());
    spl.Unlock();

    ASSERT_TRUE(spl.GoTop().ok());
    const dbf::Record& r = spl.record();
    EXPECT_EQ(r.GetString(spl.FieldIndex("NAZWA_")).substr(0, 24),
              "P\x88"
              "aca zasadnicza - \xBD\xE0\x9D\x8F ");  // CP852
    EXPECT_DOUBLE_EQ(r.GetNumber(spl.FieldIndex("SEKW_OBL")), 10);
    EXPECT_FALSE(r.GetLogical(spl.FieldIndex("POTRAC_")));
    EXPECT_TRUE(r.GetLogical(spl.FieldIndex("POZA_LISTA")));
    std::string memo;
    ASSERT_TRUE(spl.ReadMemo(spl.FieldIndex("ALGORYTM_"), &memo).ok());
    EXPECT_EQ(memo,
              "yround(pkprac->st_podst *\r\n       etat(), 2)  // \xAB"
              "le");
    EXPECT_TRUE(spl.index(0).Check(&spl.table()).ok());

    // The stored record holds what the file says until it is changed.
    EXPECT_TRUE(SetupRecordMatches(records[0], spl.table(), spl.record()));
    ASSERT_TRUE(spl.WriteMemo(spl.FieldIndex("ALGORYTM_"), "pkprac->st_podst").ok());
    EXPECT_FALSE(SetupRecordMatches(records[0], spl.table(), spl.record()));
}

TEST(SetupFiles, AFolderIsReadInTheOrderOfItsFiles) {
    ScratchDir dir;
    dbf::testing::WriteAll(dir.File("b.setup"), "[PKSLST]\nTYP_LST: B\n");
    dbf::testing::WriteAll(dir.File("a.setup"), "[PKSLST]\nTYP_LST: A\n");
    dbf::testing::WriteAll(dir.File("notes.txt"), "[PKNIEMA]\n");
    std::vector<SetupRecord> records;
    ASSERT_TRUE(ReadSetupDir(dir.path() + "/", &records).ok());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].source, "a.setup");
    EXPECT_EQ(records[1].Find("TYP_LST")->value, "B");
    dbf::testing::WriteAll(dir.File("c.setup"), "[PKSLST]\nTYP_LST: AAA\n");
    EXPECT_EQ(ReadSetupDir(dir.path() + "/", &records).message(),
              "c.setup:2: TYP_LST: longer than 2 characters");
    EXPECT_TRUE(ReadSetupDir(dir.File("none") + "/", &records).ok());
}

// A company that lacks PKWROR gets the shipped bank when the table layer
// creates the table, the data folder named with or without its slash.
TEST(SetupFiles, TheShippedBankFillsANewTable) {
    std::string data = KESTREL_DATA_DIR;
    for (const std::string& folder : {data, data.substr(0, data.size() - 1)}) {
        ScratchDir dir;
        testing::HeadlessRuntime h({'t'});
        h.rt.set_data_dir(dir.path() + "/");
        Tables tables(h.rt);
        tables.set_initial_content(ShippedContent(folder));
        dbf::WorkArea& banks = tables.Open("PKWROR", IndexFiles("PKWROR"));
        ASSERT_TRUE(banks.GoTop().ok());
        ASSERT_FALSE(banks.eof()) << folder;
        EXPECT_EQ(base::TrimRight(banks.record().GetString(banks.FieldIndex("BANK_"))),
                  "Przelewy Elixir-O");
    }
}

// A company that lacks PKTAB gets the shipped tax scale when the table
// layer creates the table: every year from 2022, both halves of 2022.
TEST(SetupFiles, TheShippedTaxScaleFillsANewTable) {
    ScratchDir dir;
    testing::HeadlessRuntime h({'t'});
    h.rt.set_data_dir(dir.path() + "/");
    Tables tables(h.rt);
    tables.set_initial_content(ShippedContent(KESTREL_DATA_DIR));
    dbf::WorkArea& tab = tables.Open("PKTAB", IndexFiles("PKTAB"));
    EXPECT_TRUE(tab.index(0).Check(&tab.table()).ok());
    std::map<int, std::vector<std::string>> by_year;
    for (base::Status s = tab.GoTop(); s.ok() && !tab.eof(); s = tab.Skip(1)) {
        const dbf::Record& r = tab.record();
        char row[80];
        std::snprintf(
            row, sizeof row, "%d-%d %.2f %.2f %.0f%% %.2f",
            static_cast<int>(r.GetNumber(tab.FieldIndex("OD_MC"))),
            static_cast<int>(r.GetNumber(tab.FieldIndex("MC_DO"))),
            r.GetNumber(tab.FieldIndex("PONAD_KW")), r.GetNumber(tab.FieldIndex("KWOTA_POD")),
            r.GetNumber(tab.FieldIndex("PROC_POD")), r.GetNumber(tab.FieldIndex("ULGA_POD")));
        by_year[static_cast<int>(r.GetNumber(tab.FieldIndex("ROK_")))].push_back(row);
    }
    ASSERT_EQ(by_year.size(), 5u);
    EXPECT_EQ(by_year[2022],
              (std::vector<std::string>{
                  "1-6 0.00 0.00 17% 5100.00", "1-6 120000.00 20400.00 32% 5100.00",
                  "7-12 0.00 0.00 12% 3600.00", "7-12 120000.00 14400.00 32% 3600.00"}));
    for (int year = 2023; year <= 2026; ++year)
        EXPECT_EQ(by_year[year], (std::vector<std::string>{"1-12 0.00 0.00 12% 3600.00",
                                                           "1-12 120000.00 14400.00 32% 3600.00"}))
            << year;
}

}  // namespace
}  // namespace kestrel::common
