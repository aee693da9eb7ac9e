#include "common/tables/table_layer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "common/checks/scramble.h"
#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/console/keys.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;
namespace key = console::key;

std::vector<std::string> IndexNames(const TableLayout& t) {
    std::vector<std::string> out;
    for (const CatalogueIndex& i : t.indexes) out.push_back(i.name);
    return out;
}

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Company() { h.rt.set_data_dir(dir.path() + "/"); }
    std::string File(const std::string& name) const { return dir.File(name); }
    void Create(const char* table) {
        ASSERT_TRUE(
            dbf::Table::Create(File(std::string(table) + ".DBF"), FindTable(table)->Specs()).ok());
    }
    // The message that abandoned an operation.
    template <typename Fn>
    std::string AbandonOf(Fn fn) {
        try {
            fn();
        } catch (const Abandon& a) {
            return a.message();
        } catch (const console::ScriptEnded&) {
            return "<keys ran out>";
        }
        return "<no abandon>";
    }
};

TEST(TableLayer, EveryCatalogueTableOpensWithAllItsIndexesInAnEmptyDirectory) {
    Company c;
    for (const TableLayout& t : CatalogueTables()) {
        if (IsCreatable(t.name)) {
            c.h.backend.AddKeys({'t'});
        } else {
            c.Create(t.name);
        }
        Tables tables(c.h.rt);
        dbf::WorkArea& area = tables.Open(t.name, IndexNames(t));
        EXPECT_EQ(area.index_count(), t.indexes.size()) << t.name;
        EXPECT_EQ(area.alias(), t.name);
        ASSERT_TRUE(area.table().fields().size() == t.Specs().size()) << t.name;
        EXPECT_EQ(base::Exists(c.File(std::string(t.name) + ".DBT")), t.memo()) << t.name;
        tables.Append(area);
        ASSERT_TRUE(area.Commit().ok());
        for (size_t i = 0; i < area.index_count(); ++i)
            EXPECT_TRUE(area.index(i).Check(&area.table()).ok()) << t.indexes[i].name;
    }
}

TEST(TableLayer, MissingTableIsCreatedOnlyWhenTheOperatorAgrees) {
    Company c;
    c.h.backend.AddKeys({'n'});
    {
        Tables tables(c.h.rt);
        EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKTAB", {"PKTAB1"}); }), "");
    }
    EXPECT_EQ(c.h.ShownRow(23).substr(1, 39), "Brak pliku PKTAB.DBF                   ");
    EXPECT_NE(c.h.ShownRow(23).find("Utworzyć plik ? [t,n]"), std::string::npos);
    EXPECT_FALSE(base::Exists(c.File("PKTAB.DBF")));

    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    tables.Open("pktab", {"pktab1"});
    EXPECT_TRUE(base::Exists(c.File("PKTAB.DBF")));
    EXPECT_TRUE(base::Exists(c.File("PKTAB1.NTX")));

    // Memo tables ask for both files.
    c.h.backend.AddKeys({key::kEsc});
    EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKFUNC"); }), "");
    EXPECT_NE(c.h.ShownRow(23).find("Brak plików PKFUNC.DBF,PKFUNC.DBT"), std::string::npos);
    EXPECT_NE(c.h.ShownRow(23).find("Utworzyć pliki ?"), std::string::npos);
}

TEST(TableLayer, MissingTablesThatMustExistAreReported) {
    Company c;
    Tables tables(c.h.rt);
    EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKPRAC", {"PKPRAC1"}); }),
              "Brak " + c.File("PKPRAC.DBF").substr(0, 2) + "..." +
                  c.File("PKPRAC.DBF").substr(c.File("PKPRAC.DBF").size() - 28));
    c.Create("PKURZ");
    EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKURZ", {"PKURZ9"}); }),
              "B\x88\xA5"
              "d indeksu: PKURZ(PKURZ9)");
    // A memo table without its memo file.
    c.Create("PKRNB");
    ASSERT_TRUE(dbf::RemoveFile(c.File("PKRNB.DBT")).ok());
    EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKRNB"); }).substr(0, 5), "Brak ");
}

// Offices in PKURZ; returns the record numbers in the order of index `i`.
std::vector<uint32_t> Order(dbf::WorkArea& area, int i) {
    std::vector<uint32_t> out;
    EXPECT_TRUE(area.SetOrder(i).ok());
    EXPECT_TRUE(area.GoTop().ok());
    while (!area.eof()) {
        out.push_back(area.recno());
        if (!area.Skip(1).ok()) break;
    }
    return out;
}

void AddOffices(Tables& tables, dbf::WorkArea& area) {
    const int urz = area.FieldIndex("URZ_SKARB");
    const int kod = area.FieldIndex("KOD_URZEDU");
    for (auto [u, k] : {std::pair{"03", "1471"}, {"01", "0202"}, {"02", "3010"}}) {
        tables.Append(area);
        area.record().SetString(urz, u);
        area.record().SetString(kod, k);
        ASSERT_TRUE(area.Commit().ok());
    }
}

TEST(TableLayer, MissingDamagedOrStaleIndexesAreRebuiltOnOpen) {
    Company c;
    c.Create("PKURZ");
    {
        Tables tables(c.h.rt);
        dbf::WorkArea& area = tables.Open("PKURZ", {"PKURZ1", "PKURZ2"});
        AddOffices(tables, area);
    }
    const std::vector<uint32_t> by_office = {2, 3, 1};
    const std::vector<uint32_t> by_code = {2, 1, 3};

    ASSERT_TRUE(dbf::RemoveFile(c.File("PKURZ2.NTX")).ok());
    {
        Tables tables(c.h.rt);
        dbf::WorkArea& area = tables.Open("PKURZ", {"PKURZ1", "PKURZ2"});
        EXPECT_EQ(Order(area, 2), by_code);
    }
    // Damaged: its header is garbage.
    dbf::testing::WriteAll(c.File("PKURZ1.NTX"), std::string(1024, '\x5A'));
    {
        Tables tables(c.h.rt);
        dbf::WorkArea& area = tables.Open("PKURZ", {"PKURZ1", "PKURZ2"});
        EXPECT_EQ(Order(area, 1), by_office);
    }
    // Stale: written with another key.
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(c.File("PKURZ.DBF"), {}, &t).ok());
        dbf::IndexDefinition def;
        def.key_expression = "kod_urzedu";
        def.key = [&](const dbf::Record& r, std::string* k) { *k = r.GetString(8); };
        ASSERT_TRUE(dbf::Index::Create(c.File("PKURZ1.NTX"), t.get(), def).ok());
    }
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKURZ", {"PKURZ1"});
    EXPECT_EQ(area.index(0).key_expression(), "urz_skarb");
    EXPECT_EQ(Order(area, 1), by_office);
}

TEST(TableLayer, AnotherStationHoldingTheTableGetsTheQuestion) {
    Company c;
    c.Create("PKURZ");
    std::unique_ptr<dbf::Table> holder;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    ASSERT_TRUE(dbf::Table::Open(c.File("PKURZ.DBF"), exclusive, &holder).ok());

    // Local drive: the question at once; "t" tries again, "n" cancels.
    c.h.backend.AddKeys({'t', 'n', ' '});
    {
        Tables tables(c.h.rt);
        EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKURZ"); }), "");
    }
    EXPECT_NE(c.h.ShownRow(23).find("Operacja skasowana"), std::string::npos);

    // Network drive: five silent retries, then the question; Esc cancels.
    int asked = 0;
    RetryPolicy network;
    network.is_network = [&](const std::string&) {
        ++asked;
        return true;
    };
    c.h.backend.AddKeys({key::kEsc, ' '});
    {
        Tables tables(c.h.rt, network);
        EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKURZ"); }), "");
    }
    EXPECT_EQ(asked, 5);

    // With NAGLRETRY the bar turns until Esc, without a question.
    c.h.rt.config().Set("NAGLRETRY", memfile::MemValue::Logical(true));
    c.h.backend.AddKeys({key::kEsc, ' '});
    {
        Tables tables(c.h.rt);
        EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKURZ"); }), "");
    }
    c.h.rt.config().Set("NAGLRETRY", memfile::MemValue::Logical(false));
    ASSERT_TRUE(holder->Close().ok());
    holder.reset();

    // Once free, the table opens.
    Tables tables(c.h.rt);
    EXPECT_EQ(tables.Open("PKURZ").alias(), "PKURZ");
}

// The permission bits of a file, as the read-only mark is kept in them.
mode_t ModeOf(const std::string& path) {
    struct stat st;
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

TEST(TableLayer, ReadOnlyTableAsksBeforeMakingItWritable) {
    // The mark counts whoever runs the program: the super-user, who could
    // write the file anyway, is asked too.
    Company c;
    c.Create("PKURZ");
    ASSERT_EQ(::chmod(c.File("PKURZ.DBF").c_str(), 0444), 0);
    c.h.backend.AddKeys({'1'});
    {
        Tables tables(c.h.rt);
        EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKURZ"); }), "");
    }
    EXPECT_NE(c.h.ShownRow(9).find("wymaga możliwości zapisu"), std::string::npos);
    EXPECT_EQ(ModeOf(c.File("PKURZ.DBF")), 0444u);
    c.h.backend.AddKeys({'2'});
    {
        Tables tables(c.h.rt);
        tables.Open("PKURZ");
    }
    EXPECT_EQ(ModeOf(c.File("PKURZ.DBF")), 0644u);

    // A memo table whose .DBT alone is marked names the .DBT.
    c.Create("PKSTAN");
    ASSERT_EQ(::chmod(c.File("PKSTAN.DBT").c_str(), 0444), 0);
    c.h.backend.AddKeys({'1'});
    {
        Tables tables(c.h.rt);
        EXPECT_EQ(c.AbandonOf([&] { tables.Open("PKSTAN"); }), "");
    }
    EXPECT_NE(c.h.ShownRow(10).find("PKSTAN.DBT"), std::string::npos);
    EXPECT_EQ(ModeOf(c.File("PKSTAN.DBT")), 0444u);

    // In the read-only mode nothing is asked and nothing changed.
    ASSERT_EQ(::chmod(c.File("PKURZ.DBF").c_str(), 0444), 0);
    c.h.rt.SetReadOnly(true);
    {
        Tables tables(c.h.rt);
        tables.Open("PKURZ");
    }
    EXPECT_EQ(ModeOf(c.File("PKURZ.DBF")), 0444u);
}

TEST(TableLayer, BusyRecordAndTableLocksAskAndNeverLoseData) {
    Company c;
    c.Create("PKURZ");
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKURZ", {"PKURZ1"});
    AddOffices(tables, area);
    ASSERT_TRUE(area.Unlock().ok());

    std::unique_ptr<dbf::Table> other;
    ASSERT_TRUE(dbf::Table::Open(c.File("PKURZ.DBF"), {}, &other).ok());
    ASSERT_TRUE(other->LockRecord(1).ok());
    ASSERT_TRUE(area.Goto(1).ok());
    c.h.backend.AddKeys({'t', 'n', ' '});
    EXPECT_EQ(c.AbandonOf([&] { tables.RLock(area); }), "");
    c.h.backend.AddKeys({key::kEsc, ' '});
    EXPECT_EQ(c.AbandonOf([&] { tables.FLock(area); }), "");
    EXPECT_NE(c.h.ShownRow(23).find("Operacja skasowana"), std::string::npos);

    ASSERT_TRUE(other->UnlockAll().ok());
    tables.RLock(area);  // free now: no question
    area.record().SetString(area.FieldIndex("NAZWA_"), "Pierwszy");
    ASSERT_TRUE(area.Commit().ok());
    ASSERT_TRUE(area.Unlock().ok());
    dbf::Record rec = other->NewRecord();
    ASSERT_TRUE(other->Read(1, &rec).ok());
    EXPECT_EQ(rec.GetString(1).substr(0, 8), "Pierwszy");
    EXPECT_EQ(other->record_count(), 3u);
}

TEST(TableLayer, ReservedRecordsAreHiddenUntilConfirmedAndReused) {
    Company c;
    c.Create("PKURZ");
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKURZ", {"PKURZ1"});
    const int urz = area.FieldIndex("URZ_SKARB");
    const int nazwa = area.FieldIndex("NAZWA_");

    tables.Reserve(area, "07");
    const uint32_t first = area.recno();
    area.record().SetString(urz, "07");
    area.record().SetString(nazwa, "Szkic");
    ASSERT_TRUE(area.Commit().ok());
    ASSERT_TRUE(area.Unlock().ok());
    ASSERT_TRUE(area.Seek("07").ok());
    EXPECT_TRUE(area.eof()) << "an unconfirmed record is visible";

    // The operation is repeated: the deleted record is taken again, emptied.
    tables.Reserve(area, "07");
    EXPECT_EQ(area.recno(), first);
    EXPECT_TRUE(area.record().IsBlank(nazwa));
    area.record().SetString(urz, "07");
    area.record().SetString(nazwa, "Gotowy");
    tables.Confirm(area);
    ASSERT_TRUE(area.Unlock().ok());
    EXPECT_EQ(area.table().record_count(), 1u);
    ASSERT_TRUE(area.Seek("07").ok());
    ASSERT_FALSE(area.eof());
    EXPECT_EQ(area.record().GetString(nazwa).substr(0, 6), "Gotowy");

    // Another key appends.
    tables.Reserve(area, "08");
    EXPECT_NE(area.recno(), first);
    EXPECT_EQ(area.table().record_count(), 2u);
}

}  // namespace
}  // namespace kestrel::common

namespace kestrel::common {
namespace {

TEST(TableLayer, MatrixNamesAreMadeFromTheMatrices) {
    Company c;
    c.Create("PKTBW");
    {
        Tables tables(c.h.rt);
        dbf::WorkArea& tbw = tables.Open("PKTBW", {"PKTBW1"});
        int row = 0;
        for (const char* name : {"B2", "A1", "C3", "A1"}) {
            tables.Append(tbw);
            tbw.record().SetString(tbw.FieldIndex("TBW_"), name);
            ASSERT_TRUE(tbw.record().SetNumber(tbw.FieldIndex("WIERSZ_"), ++row).ok());
            ASSERT_TRUE(tbw.Commit().ok());
        }
    }
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& names = tables.Open("PKNTBW", {"PKNTBW1"});
    EXPECT_NE(c.h.ShownRow(23).find("Utworzyć na podstawie PKTBW ?"), std::string::npos);
    std::vector<std::string> got;
    ASSERT_TRUE(names.SetOrder(0).ok());
    ASSERT_TRUE(names.GoTop().ok());
    while (!names.eof()) {
        got.push_back(names.record().GetString(names.FieldIndex("TBW_")));
        ASSERT_TRUE(names.Skip(1).ok());
    }
    EXPECT_EQ(got, (std::vector<std::string>{"A1  ", "B2  ", "C3  "}));
    EXPECT_FALSE(base::Exists(c.File("PKNTBW.NEW")));
}

TEST(TableLayer, ProgramDirectoryGetsOneDefaultPrinterDefinition) {
    using memfile::MemValue;
    ScratchDir program;
    testing::HeadlessRuntime h;
    h.rt.set_program_dir(program.path(), "");
    h.rt.config().Set("NAGLTDR", MemValue::Char("L"));
    h.rt.config().Set("NAGLNDR", MemValue::Char("2"));
    h.rt.config().Set("NAGLSYMPL", MemValue::Logical(true));
    h.rt.config().Set("NAGLINITPR", MemValue::Logical(true));
    h.rt.config().Set("NAGLPRTPL", MemValue::Char(std::string(kPolishWin1250)));
    for (int pass = 0; pass < 2; ++pass) {  // the second open finds the table
        Tables tables(h.rt);
        dbf::WorkArea& druk = tables.OpenProgram("pkdruk");
        ASSERT_EQ(druk.table().record_count(), 1u);
        const dbf::Record& r = druk.record();
        EXPECT_EQ(r.GetString(r.FieldIndex("NAZWA_")), h.rt.Text("DRUKARKA DOMYŚLNA   "));
        EXPECT_EQ(r.GetString(r.FieldIndex("TYP_")), "L");
        EXPECT_EQ(r.GetString(r.FieldIndex("PORT_")), "2");
        EXPECT_TRUE(r.GetLogical(r.FieldIndex("DOMYSLNA_")));
        EXPECT_TRUE(r.GetLogical(r.FieldIndex("SYMPL_")));
        EXPECT_EQ(r.GetString(r.FieldIndex("ZM_STD_PL")), "3");
        EXPECT_TRUE(r.GetLogical(r.FieldIndex("ZEWN_INIT")));
        EXPECT_EQ(r.GetString(r.FieldIndex("NAZ_INIT_P")), "INPRTP.BIN  ");
        EXPECT_EQ(r.GetString(r.FieldIndex("NAZ_INIT_L")), "INPRTL.BIN  ");
    }
    EXPECT_FALSE(base::Exists(program.File("PKDRUK.NEW")));
    EXPECT_FALSE(base::Exists(program.File("PKETYK.DBF")));

    // Only the printer definitions are made there.
    Tables tables(h.rt);
    try {
        tables.OpenProgram("PKETYK");
        ADD_FAILURE() << "opened a missing table";
    } catch (const Abandon& a) {
        EXPECT_EQ(std::string(a.message()).substr(0, 5), "Brak ");
    }

    EXPECT_EQ(PrinterLetterCode(kPolishMazovia, kPolishMazovia), "0");
    EXPECT_EQ(PrinterLetterCode(kPolishCp852, kPolishMazovia), "1");
    EXPECT_EQ(PrinterLetterCode(kPolishMazovia, kPolishCp852), "2");
    EXPECT_EQ(PrinterLetterCode(kPolishIso88592, kPolishCp852), "4");
    EXPECT_EQ(PrinterLetterCode(kPolishPlain, kPolishCp852), "0");
}

}  // namespace
}  // namespace kestrel::common
