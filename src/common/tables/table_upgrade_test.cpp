#include "common/tables/table_upgrade.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/dbf/file.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Company() { h.rt.set_data_dir(dir.path() + "/"); }
    std::string File(const std::string& name) const { return dir.File(name); }
};

// The catalogue layout of `table` without the fields named in `drop`, with
// `change` (name, new spec) applied.
std::vector<dbf::FieldSpec> OldLayout(const char* table, std::vector<std::string> drop,
                                      std::vector<dbf::FieldSpec> change = {}) {
    std::vector<dbf::FieldSpec> out;
    for (dbf::FieldSpec f : FindTable(table)->Specs()) {
        if (std::find(drop.begin(), drop.end(), f.name) != drop.end()) continue;
        for (const dbf::FieldSpec& c : change)
            if (c.name == f.name) f = c;
        out.push_back(f);
    }
    return out;
}

// Distinct values for every field of a record (numbers within their width).
void Fill(dbf::Record* rec, int seed) {
    for (size_t i = 0; i < rec->fields().size(); ++i) {
        const dbf::Field& f = rec->fields()[i];
        const int n = static_cast<int>(i);
        switch (f.type) {
            case dbf::FieldType::kCharacter:
                rec->SetString(n, f.name.substr(0, 3) + std::to_string(seed));
                break;
            case dbf::FieldType::kNumeric:
                ASSERT_TRUE(rec->SetNumber(n, (seed * 7 + n) % 9 + (f.decimals ? 0.25 : 0)).ok())
                    << f.name;
                break;
            case dbf::FieldType::kDate:
                rec->SetDate(n, seed == 1 ? "20240131" : "19991231");
                break;
            case dbf::FieldType::kLogical:
                rec->SetLogical(n, (seed + n) % 2 == 0);
                break;
            case dbf::FieldType::kMemo:
                break;
        }
    }
}

// Every record as "name=value" texts, deletion flag included.
std::vector<std::string> Dump(const std::string& path, const std::vector<std::string>& fields) {
    std::unique_ptr<dbf::Table> t;
    EXPECT_TRUE(dbf::Table::Open(path, {}, &t).ok()) << path;
    std::vector<std::string> out;
    if (!t) return out;
    dbf::Record rec = t->NewRecord();
    for (uint32_t n = 1; n <= t->record_count(); ++n) {
        EXPECT_TRUE(t->Read(n, &rec).ok());
        std::string line = rec.deleted() ? "*" : " ";
        for (const std::string& name : fields) {
            const int f = rec.FieldIndex(name);
            line += name + "=" + (f < 0 ? "?" : rec.GetString(f)) + ";";
            if (f >= 0 && rec.fields()[static_cast<size_t>(f)].type == dbf::FieldType::kMemo) {
                std::string text;
                EXPECT_TRUE(t->ReadMemo(rec, f, &text).ok());
                line += text + ";";
            }
        }
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> Names(const std::vector<dbf::FieldSpec>& specs) {
    std::vector<std::string> out;
    for (const auto& s : specs) out.push_back(s.name);
    return out;
}

void MakeTable(const std::string& path, const std::vector<dbf::FieldSpec>& specs, int records,
               const char* memo_field = nullptr) {
    ASSERT_TRUE(dbf::Table::Create(path, specs).ok());
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(path, {}, &t).ok());
    for (int i = 1; i <= records; ++i) {
        dbf::Record rec = t->NewRecord();
        Fill(&rec, i);
        if (memo_field) {
            ASSERT_TRUE(
                t->WriteMemo(&rec, rec.FieldIndex(memo_field), "wzor " + std::to_string(i)).ok());
        }
        rec.set_deleted(i == 2);
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(rec, &recno).ok());
    }
    ASSERT_TRUE(t->Close().ok());
}

TEST(TableUpgrade, OldControlRecordKeepsEveryValue) {
    Company c;
    const auto old = OldLayout("PKSTER", {"MIN_WYN_G"});
    MakeTable(c.File("PKSTER.DBF"), old, 3);
    const std::vector<std::string> before = Dump(c.File("PKSTER.DBF"), Names(old));
    const std::string bytes = dbf::testing::ReadAll(c.File("PKSTER.DBF"));

    // "n" leaves the table as it was.
    c.h.backend.AddKeys({'n'});
    {
        Tables tables(c.h.rt);
        EXPECT_THROW(tables.Open("PKSTER"), Abandon);
    }
    EXPECT_NE(c.h.ShownRow(23).find("\"Stara\" struktura PKSTER"), std::string::npos);
    EXPECT_EQ(dbf::testing::ReadAll(c.File("PKSTER.DBF")), bytes);

    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKSTER");
    EXPECT_EQ(area.table().fields().size(), 57u);
    EXPECT_EQ(area.table().record_count(), 3u);
    tables.CloseAll();
    EXPECT_EQ(Dump(c.File("PKSTER.DBF"), Names(old)), before);
    for (const std::string& line : Dump(c.File("PKSTER.DBF"), {"MIN_WYN_G"}))
        EXPECT_EQ(line.substr(1), "MIN_WYN_G=         ;");
    EXPECT_FALSE(base::Exists(NewCopyName(c.File("PKSTER.DBF"))));
    EXPECT_FALSE(base::Exists(AsideName(c.File("PKSTER.DBF"))));
}

TEST(TableUpgrade, TheNoticeDuringAPackLeavesNothingOfThePackMessage) {
    Company c;
    MakeTable(c.File("PKSTER.DBF"), OldLayout("PKSTER", {"MIN_WYN_G"}), 1);
    // 9.5.2 on an old table: "Trwa usuwanie rekordów skasowanych" is on the
    // message line when the opener finds the old layout.
    c.h.backend.AddKeys({'n'});
    {
        Tables tables(c.h.rt);
        EXPECT_THROW(tables.Pack("PKSTER", {}), Abandon);
    }
    EXPECT_EQ(c.h.ShownRow(23).substr(0, 39), " \"Stara\" struktura PKSTER" + std::string(14, ' '));
}

TEST(TableUpgrade, MemoTablesKeepTheirTextsAndChangedTypesAreRebuilt) {
    Company c;
    // HARMON_CZ missing, DRUK_ held as text.
    const auto old =
        OldLayout("PKRNB", {"HARMON_CZ"}, {{"DRUK_", dbf::FieldType::kCharacter, 1, 0}});
    MakeTable(c.File("PKRNB.DBF"), old, 3, "ALGORYTM_");
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKRNB", {"PKRNB1", "PKRNB2"});
    EXPECT_EQ(area.table().fields().size(), 20u);
    EXPECT_EQ(area.table().fields()[static_cast<size_t>(area.FieldIndex("DRUK_"))].type,
              dbf::FieldType::kLogical);
    tables.CloseAll();
    const auto lines = Dump(c.File("PKRNB.DBF"), {"KOD_NIEOB", "ALGORYTM_"});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " KOD_NIEOB=KOD1;ALGORYTM_=         1;wzor 1;");
    EXPECT_EQ(lines[1], "*KOD_NIEOB=KOD2;ALGORYTM_=         2;wzor 2;");
}

// Opens `table` of company `c` after answering "t" to the upgrade question.
void OpenUpgraded(Company& c, const char* table) {
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    tables.Open(table);
    EXPECT_NE(c.h.ShownRow(23).find("\"Stara\" struktura " + std::string(table)),
              std::string::npos);
}

// Writes records into a table of an old layout: one value per named field.
void Records(const std::string& path,
             const std::vector<std::vector<std::pair<const char*, const char*>>>& rows) {
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(path, {}, &t).ok());
    for (const auto& row : rows) {
        dbf::Record rec = t->NewRecord();
        for (const auto& [name, value] : row) rec.SetRaw(rec.FieldIndex(name), value);
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(rec, &recno).ok());
    }
    ASSERT_TRUE(t->Close().ok());
}

TEST(TableUpgrade, FieldsWhoseTypeChangedKeepTheirValues) {
    Company c;
    // The year of a payroll list held as text, the cost account as a number,
    // a matrix flag as a letter.
    ASSERT_TRUE(
        dbf::Table::Create(c.File("PKLISTY.DBF"),
                           OldLayout("PKLISTY", {}, {{"ZA_ROK", dbf::FieldType::kCharacter, 4, 0}}))
            .ok());
    Records(c.File("PKLISTY.DBF"),
            {{{"ROK_LST", "2024"}, {"ZA_ROK", "2023"}}, {{"ROK_LST", "2025"}, {"ZA_ROK", "20x3"}}});
    OpenUpgraded(c, "PKLISTY");
    EXPECT_EQ(
        Dump(c.File("PKLISTY.DBF"), {"ROK_LST", "ZA_ROK"}),
        (std::vector<std::string>{" ROK_LST=2024;ZA_ROK=2023;", " ROK_LST=2025;ZA_ROK=    ;"}));

    ASSERT_TRUE(dbf::Table::Create(
                    c.File("PKCZAS.DBF"),
                    OldLayout("PKCZAS", {}, {{"KONTO_KOSZ", dbf::FieldType::kNumeric, 8, 2}}))
                    .ok());
    Records(c.File("PKCZAS.DBF"), {{{"NR_PRAC", "000001"}, {"KONTO_KOSZ", "  401.50"}}});
    OpenUpgraded(c, "PKCZAS");
    EXPECT_EQ(Dump(c.File("PKCZAS.DBF"), {"NR_PRAC", "KONTO_KOSZ"}),
              (std::vector<std::string>{" NR_PRAC=000001;KONTO_KOSZ=401.50      ;"}));

    ASSERT_TRUE(
        dbf::Table::Create(c.File("PKTBW.DBF"),
                           OldLayout("PKTBW", {}, {{"P_X", dbf::FieldType::kCharacter, 1, 0}}))
            .ok());
    Records(c.File("PKTBW.DBF"),
            {{{"TBW_", "A"}, {"P_X", "T"}}, {{"TBW_", "B"}, {"P_X", "n"}}, {{"TBW_", "C"}}});
    OpenUpgraded(c, "PKTBW");
    EXPECT_EQ(
        Dump(c.File("PKTBW.DBF"), {"TBW_", "P_X"}),
        (std::vector<std::string>{" TBW_=A   ;P_X=T;", " TBW_=B   ;P_X=F;", " TBW_=C   ;P_X= ;"}));
}

TEST(TableUpgrade, OfficeAndCommuneCodesGetTheirLeadingZerosBack) {
    Company c;
    ASSERT_TRUE(
        dbf::Table::Create(c.File("PKURZ.DBF"),
                           OldLayout("PKURZ", {}, {{"KOD_URZEDU", dbf::FieldType::kNumeric, 4, 0}}))
            .ok());
    Records(c.File("PKURZ.DBF"), {{{"URZ_SKARB", "01"}, {"KOD_URZEDU", " 202"}},
                                  {{"URZ_SKARB", "02"}, {"KOD_URZEDU", "1471"}},
                                  {{"URZ_SKARB", "03"}}});
    OpenUpgraded(c, "PKURZ");
    EXPECT_EQ(Dump(c.File("PKURZ.DBF"), {"URZ_SKARB", "KOD_URZEDU"}),
              (std::vector<std::string>{" URZ_SKARB=01;KOD_URZEDU=0202;",
                                        " URZ_SKARB=02;KOD_URZEDU=1471;",
                                        " URZ_SKARB=03;KOD_URZEDU=    ;"}));

    ASSERT_TRUE(dbf::Table::Create(
                    c.File("PKDZIAL.DBF"),
                    OldLayout("PKDZIAL", {}, {{"KOD_GMINY", dbf::FieldType::kNumeric, 7, 0}}))
                    .ok());
    Records(c.File("PKDZIAL.DBF"), {{{"DZIAL_", "PROD"}, {"KOD_GMINY", " 201011"}}});
    OpenUpgraded(c, "PKDZIAL");
    EXPECT_EQ(Dump(c.File("PKDZIAL.DBF"), {"DZIAL_", "KOD_GMINY"}),
              (std::vector<std::string>{" DZIAL_=PROD;KOD_GMINY=0201011;"}));
}

TEST(TableUpgrade, DictionariesWithoutTheirFullNamesGetAMemoFile) {
    // The older layouts of the position and dismissal-reason dictionaries
    // had no memo and so no .DBT; they are upgraded, not reported missing.
    Company c;
    ASSERT_TRUE(dbf::Table::Create(c.File("PKSTAN.DBF"), OldLayout("PKSTAN", {"PELNA_NAZ"})).ok());
    ASSERT_FALSE(base::Exists(c.File("PKSTAN.DBT")));
    Records(c.File("PKSTAN.DBF"), {{{"STANOW_", "KIER"}, {"NAZWA_", "Kierownik"}}});
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKSTAN", {"PKSTAN1"});
    EXPECT_EQ(area.table().fields().size(), 3u);
    EXPECT_EQ(area.record().GetString(area.FieldIndex("STANOW_")), "KIER");
    tables.CloseAll();
    EXPECT_TRUE(base::Exists(c.File("PKSTAN.DBT")));

    // A table whose layout has its memo still needs the memo file.
    ASSERT_TRUE(dbf::Table::Create(c.File("PKPRZ.DBF"), FindTable("PKPRZ")->Specs()).ok());
    ASSERT_TRUE(dbf::RemoveFile(c.File("PKPRZ.DBT")).ok());
    Tables again(c.h.rt);
    try {
        again.Open("PKPRZ");
        ADD_FAILURE() << "opened without its memo file";
    } catch (const Abandon& a) {
        EXPECT_NE(std::string(a.message()).find("PKPRZ.DBT"), std::string::npos);
    }
}

TEST(TableUpgrade, PersonalFieldsAreStoredAgainForTheirNewWidth) {
    Company c;
    // An older register: no BEZ_ZAL_PD, the surname in plain text in a
    // narrower field, the first names scrambled for a narrower field.
    ASSERT_TRUE(dbf::Table::Create(c.File("PKPRAC.DBF"),
                                   OldLayout("PKPRAC", {"BEZ_ZAL_PD"},
                                             {{"NAZWX_", dbf::FieldType::kCharacter, 30, 0},
                                              {"IMIEX_", dbf::FieldType::kCharacter, 40, 0}}))
                    .ok());
    const std::string pesel = Scramble(ScrambleKind::kIdentity, "44051401359", 34);
    const std::string names = Scramble(ScrambleKind::kName, "Jan Maria", 40);
    Records(c.File("PKPRAC.DBF"), {{{"NR_PRAC", "000001"},
                                    {"NAZWX_", "Kowalska-Nowak"},
                                    {"IMIEX_", names.c_str()},
                                    {"PESELX_", pesel.c_str()}},
                                   {{"NR_PRAC", "000002"}}});
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC2", "PKPRACA"});
    ASSERT_TRUE(area.GoTop().ok());
    const dbf::Record& r = area.record();
    EXPECT_EQ(r.GetString(area.FieldIndex("NR_PRAC")), "000001");
    const std::string surname = r.GetString(area.FieldIndex("NAZWX_"));
    EXPECT_EQ(surname.find("Kowalska"), std::string::npos);  // no longer plain
    EXPECT_EQ(Unscramble(ScrambleKind::kName, surname),
              "Kowalska-Nowak" + std::string(30 - 14, ' '));
    EXPECT_EQ(Unscramble(ScrambleKind::kName, r.GetString(area.FieldIndex("IMIEX_"))),
              "Jan Maria" + std::string(11, ' '));
    EXPECT_EQ(r.GetString(area.FieldIndex("PESELX_")), pesel);
    ASSERT_TRUE(area.Skip(1).ok());
    EXPECT_EQ(area.record().GetString(area.FieldIndex("NAZWX_")), std::string(72, ' '));
    for (size_t i = 0; i < area.index_count(); ++i)
        EXPECT_TRUE(area.index(i).Check(&area.table()).ok());
}

// The states a crash can leave during a replacement of PKRNB (old layout
// with 3 records, new layout in PKRNB@ with the same records).
struct Interrupted : Company {
    std::vector<std::string> expected_new;
    std::vector<std::string> expected_old;
    Interrupted() {
        const auto old = OldLayout("PKRNB", {"HARMON_CZ"});
        MakeTable(File("PKRNB.DBF"), old, 3, "ALGORYTM_");
        MakeTable(File("PKRNB@.DBF"), FindTable("PKRNB")->Specs(), 3, "ALGORYTM_");
        expected_old = Dump(File("PKRNB.DBF"), {"KOD_NIEOB", "ALGORYTM_", "HARMON_CZ"});
        expected_new = Dump(File("PKRNB@.DBF"), {"KOD_NIEOB", "ALGORYTM_", "HARMON_CZ"});
    }
    void Move(const std::string& from, const std::string& to) {
        ASSERT_TRUE(dbf::RenameFile(File(from), File(to)).ok()) << from;
    }
    std::vector<std::string> Recovered() {
        bool recovered = false;
        EXPECT_TRUE(RecoverReplacement(dir.path(), "PKRNB", &recovered).ok());
        EXPECT_TRUE(recovered);
        return Dump(File("PKRNB.DBF"), {"KOD_NIEOB", "ALGORYTM_", "HARMON_CZ"});
    }
};

TEST(TableUpgrade, CrashWhileWritingTheNewCopyKeepsTheOldTable) {
    Interrupted s;
    EXPECT_EQ(s.Recovered(), s.expected_old);
    EXPECT_FALSE(base::Exists(s.File("PKRNB@.DBF")));
    EXPECT_FALSE(base::Exists(s.File("PKRNB@.DBT")));
}

TEST(TableUpgrade, CrashWhileSettingTheOldTableAsideKeepsIt) {
    Interrupted s;
    s.Move("PKRNB.DBT", "PKRNB~.DBT");
    EXPECT_EQ(s.Recovered(), s.expected_old);
}

TEST(TableUpgrade, CrashBeforeTheNewCopyWasInPlaceFinishesTheUpgrade) {
    for (int step = 0; step < 2; ++step) {
        Interrupted s;
        s.Move("PKRNB.DBT", "PKRNB~.DBT");
        s.Move("PKRNB.DBF", "PKRNB~.DBF");
        if (step == 1) s.Move("PKRNB@.DBT", "PKRNB.DBT");
        EXPECT_EQ(s.Recovered(), s.expected_new) << step;
        EXPECT_FALSE(base::Exists(s.File("PKRNB~.DBF")));
        EXPECT_FALSE(base::Exists(s.File("PKRNB~.DBT")));
    }
}

TEST(TableUpgrade, CrashBeforeDeletingTheOldTableDropsIt) {
    Interrupted s;
    s.Move("PKRNB.DBT", "PKRNB~.DBT");
    s.Move("PKRNB.DBF", "PKRNB~.DBF");
    s.Move("PKRNB@.DBT", "PKRNB.DBT");
    s.Move("PKRNB@.DBF", "PKRNB.DBF");
    EXPECT_EQ(s.Recovered(), s.expected_new);
    EXPECT_FALSE(base::Exists(s.File("PKRNB~.DBF")));
}

TEST(TableUpgrade, AnOnlyCopyIsNeverDeleted) {
    Interrupted s;
    ASSERT_TRUE(dbf::RemoveFile(s.File("PKRNB.DBF")).ok());
    ASSERT_TRUE(dbf::RemoveFile(s.File("PKRNB.DBT")).ok());
    EXPECT_TRUE(RecoverReplacement(s.dir.path(), "PKRNB").ok());
    EXPECT_TRUE(base::Exists(s.File("PKRNB@.DBF")));
    EXPECT_TRUE(base::Exists(s.File("PKRNB@.DBT")));
}

TEST(TableUpgrade, TwoDigitPayrollYearsAreAllConverted) {
    Company c;
    const auto old = OldLayout("PKPLACE", {}, {{"ROK_LST", dbf::FieldType::kCharacter, 2, 0}});
    ASSERT_TRUE(dbf::Table::Create(c.File("PKPLACE.DBF"), old).ok());
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(c.File("PKPLACE.DBF"), {}, &t).ok());
        for (const char* year : {"95", "03", "49", "50", "  ", "7x"}) {
            dbf::Record rec = t->NewRecord();
            rec.SetString(rec.FieldIndex("ROK_LST"), year);
            rec.SetString(rec.FieldIndex("NR_PRAC"), "000001");
            uint32_t n = 0;
            ASSERT_TRUE(t->Append(rec, &n).ok());
        }
    }
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKPLACE", {"PKPLACE1"});
    tables.CloseAll();
    std::vector<std::string> years;
    for (const std::string& line : Dump(c.File("PKPLACE.DBF"), {"ROK_LST"})) years.push_back(line);
    EXPECT_EQ(years,
              (std::vector<std::string>{" ROK_LST=1995;", " ROK_LST=2003;", " ROK_LST=2049;",
                                        " ROK_LST=1950;", " ROK_LST=    ;", " ROK_LST=7x  ;"}));
    (void)area;
    // Every index file of the positions was rebuilt, not only the one opened.
    for (const CatalogueIndex& i : FindTable("PKPLACE")->indexes)
        EXPECT_TRUE(base::Exists(c.File(std::string(i.name) + ".NTX"))) << i.name;
}

TEST(TableUpgrade, OtherPayrollTablesWithTwoDigitYearsAreRefused) {
    Company c;
    ASSERT_TRUE(
        dbf::Table::Create(c.File("PKDOCH.DBF"),
                           OldLayout("PKDOCH", {}, {{"ROK_LST", dbf::FieldType::kCharacter, 2, 0}}))
            .ok());
    Tables tables(c.h.rt);
    try {
        tables.Open("PKDOCH");
        ADD_FAILURE() << "opened";
    } catch (const Abandon& a) {
        EXPECT_EQ(std::string(a.message()), c.h.rt.Text("Błędna struktura pliku PKDOCH"));
    }
}

}  // namespace
}  // namespace kestrel::common

namespace kestrel::common {
namespace {

TEST(TableUpgrade, AReplacementRunningElsewhereIsLeftAlone) {
    Interrupted s;
    // The other workstation still writes its new copy, holding the table.
    std::unique_ptr<dbf::Table> running;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    ASSERT_TRUE(dbf::Table::Open(s.File("PKRNB.DBF"), exclusive, &running).ok());
    EXPECT_TRUE(RecoverReplacement(s.dir.path(), "PKRNB").ok());
    EXPECT_TRUE(base::Exists(s.File("PKRNB@.DBF")));
    running.reset();
    EXPECT_EQ(s.Recovered(), s.expected_old);
}

}  // namespace
}  // namespace kestrel::common
