// Files written by the engine read by independent readers from Debian
// packages (python3-dbfread for DBF and DBT, Perl's XBase for NTX), and files
// they write read by the engine.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/codepage/cp852.h"
#include "platform/dbf/formula_key.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;

std::string Shell(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

bool Have(const std::string& probe) {
    return Shell(probe + " >/dev/null 2>&1 && echo yes") == "yes\n";
}

TEST(ReadersTest, DbfreadReadsOurTableAndMemo) {
    if (!Have("/usr/bin/python3 -c 'import dbfread'")) GTEST_SKIP() << "python3-dbfread missing";
    ScratchDir dir;
    std::string path = dir.File("PKR.DBF");
    ASSERT_TRUE(Table::Create(path, {{"NR_PRAC", FieldType::kCharacter, 6, 0},
                                     {"NAZWISKO", FieldType::kCharacter, 20, 0},
                                     {"KWOTA_", FieldType::kNumeric, 9, 2},
                                     {"DATA_", FieldType::kDate, 8, 0},
                                     {"AKT", FieldType::kLogical, 1, 0},
                                     {"OPIS", FieldType::kMemo, 10, 0}})
                    .ok());
    {
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(path, {}, &t).ok());  // shared: no end-of-file byte
        Record r = t->NewRecord();
        r.SetString(0, "000001");
        r.SetString(1, codepage::FromUtf8("Źdźbło Łąka"));
        r.SetNumber(2, -1234.5);
        r.SetDate(3, "20261208");
        r.SetLogical(4, true);
        ASSERT_TRUE(t->WriteMemo(&r, 5, codepage::FromUtf8(std::string(700, 'x') + "ąę")).ok());
        uint32_t n;
        ASSERT_TRUE(t->Append(r, &n).ok());
        Record blank = t->NewRecord();
        blank.set_deleted(true);
        ASSERT_TRUE(t->Append(blank, &n).ok());
        ASSERT_TRUE(t->Append(t->NewRecord(), &n).ok());
    }
    std::string script =
        "import dbfread\n"
        "t = dbfread.DBF('" +
        path +
        "', encoding='cp852', char_decode_errors='strict')\n"
        "print(len(t.records), len(t.deleted))\n"
        "for r in t: print(repr([r['NR_PRAC'], r['NAZWISKO'], r['KWOTA_'], str(r['DATA_']),"
        " r['AKT'], len(r['OPIS'] or ''), (r['OPIS'] or '')[-2:]]))\n";
    testing::WriteAll(dir.File("read.py"), script);
    std::string out = Shell("/usr/bin/python3 " + dir.File("read.py") + " 2>&1");
    EXPECT_EQ(out,
              "2 1\n"
              "['000001', 'Źdźbło Łąka', -1234.5, '2026-12-08', True, 702, 'ąę']\n"
              "['', '', None, 'None', None, 0, '']\n");
}

TEST(ReadersTest, PerlXBaseReadsOurBulkBuiltIndex) {
    if (!Have("perl -MXBase::Index -e 1")) GTEST_SKIP() << "libdbd-xbase-perl missing";
    ScratchDir dir;
    std::string path = dir.File("PKI.DBF");
    ASSERT_TRUE(Table::Create(path, {{"NR_PRAC", FieldType::kCharacter, 6, 0}}).ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(path, {.exclusive = true}, &t).ok());
    for (int i = 1; i <= 3000; ++i) {
        Record r = t->NewRecord();
        char buf[8];
        std::snprintf(buf, sizeof buf, "%06d", (i * 7919) % 100000);
        r.SetString(0, buf);
        uint32_t n;
        ASSERT_TRUE(t->Append(r, &n).ok());
    }
    IndexDefinition def;
    def.key_expression = "NR_PRAC";
    ASSERT_TRUE(CompileFormulaKey(&t->fields(), def.key_expression, &def.key).ok());
    std::string ntx = dir.File("PKI1.NTX");
    ASSERT_TRUE(Index::Create(ntx, t.get(), def).ok());
    std::unique_ptr<Index> idx;
    ASSERT_TRUE(Index::Open(ntx, true, true, &idx).ok());
    std::vector<std::pair<std::string, uint32_t>> entries;
    ASSERT_TRUE(idx->Entries(&entries).ok());
    std::vector<std::string> want;
    for (auto& [key, recno] : entries) want.push_back(key + " " + std::to_string(recno));
    std::string out = Shell("perl -MXBase::Index -e '$i = XBase::Index->new(\"" + ntx +
                            "\", type => \"C\") or die XBase::Index->errstr; $i->prepare_select; "
                            "while (($k, $v) = $i->fetch) { print \"$k $v\\n\" }' 2>&1");
    std::vector<std::string> have;
    for (size_t at = 0; at < out.size();) {
        size_t nl = out.find('\n', at);
        if (nl == std::string::npos) nl = out.size();
        have.push_back(out.substr(at, nl - at));
        at = nl + 1;
    }
    ASSERT_EQ(have.size(), want.size()) << out.substr(0, 200);
    for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(have[i], want[i]) << "entry " << i;
}

TEST(ReadersTest, EngineReadsWhatPerlXBaseWrites) {
    if (!Have("perl -MXBase -e 1")) GTEST_SKIP() << "libdbd-xbase-perl missing";
    ScratchDir dir;
    std::string path = dir.File("perl.dbf");  // Perl adds ".dbf" and ".dbt"
    std::string out = Shell(
        "perl -MXBase -e '$t = XBase->create(name => \"" + dir.File("perl") +
        "\", field_names => [\"NAZWA\", \"KWOTA\", \"DATA\", \"OK\", \"OPIS\"], "
        "field_types => [\"C\", \"N\", \"D\", \"L\", \"M\"], field_lengths => [10, 8, 8, 1, 10], "
        "field_decimals => [0, 2, 0, 0, 0]) or die XBase->errstr; "
        "$t->set_record(0, \"abc\", -3.25, \"20240229\", 1, \"long memo \" x 100) or die; "
        "$t->set_record(1, \"def\", 7, \"\", 0, \"\") or die; $t->delete_record(1); $t->close' "
        "2>&1");
    ASSERT_EQ(out, "");
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(path, {.read_only = true}, &t).ok());
    ASSERT_EQ(t->record_count(), 2u);
    Record r;
    ASSERT_TRUE(t->Read(1, &r).ok());
    EXPECT_EQ(r.GetString(0), "abc       ");
    EXPECT_DOUBLE_EQ(r.GetNumber(1), -3.25);
    EXPECT_EQ(r.GetDate(2), "20240229");
    EXPECT_TRUE(r.GetLogical(3));
    std::string memo;
    ASSERT_TRUE(t->ReadMemo(r, 4, &memo).ok());
    EXPECT_EQ(memo.size(), 1000u);
    ASSERT_TRUE(t->Read(2, &r).ok());
    EXPECT_TRUE(r.deleted());
    EXPECT_FALSE(r.GetLogical(3));
}

}  // namespace
}  // namespace kestrel::dbf
