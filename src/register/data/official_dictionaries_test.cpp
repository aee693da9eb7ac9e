#include "register/data/official_dictionaries.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/dbf/index.h"
#include "test_util.h"

namespace kestrel::registry {
namespace {

using dbf::testing::ReadAll;
using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;

const std::string kData = KESTREL_DATA_DIR;
const std::string kFixtures = KESTREL_TESTDATA_DIR;

const common::LetterSet& Cp852() {
    static const common::LetterSet set = common::MakeLetterSet(common::kPolishCp852);
    return set;
}

std::vector<std::string> IndexNames(const char* table) {
    std::vector<std::string> names;
    for (const common::CatalogueIndex& i : common::FindTable(table)->indexes)
        names.push_back(i.name);
    return names;
}

// The values of `field` in the order of index `order` (1-based) of the
// company table, opened as every function opens it; every index is checked
// against the table on the way.
std::vector<std::string> InOrder(const std::string& dir, const char* table, int order,
                                 const char* field, const common::LetterSet& letters = Cp852()) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir + "/");
    h.rt.set_letters(letters);
    common::Tables tables(h.rt);
    dbf::WorkArea& area = tables.Open(table, IndexNames(table));
    for (size_t i = 0; i < area.index_count(); ++i)
        EXPECT_TRUE(area.index(i).Check(&area.table()).ok()) << table << " index " << i + 1;
    std::vector<std::string> out;
    EXPECT_TRUE(area.SetOrder(order).ok());
    const int f = area.FieldIndex(field);
    for (base::Status s = area.GoTop(); s.ok() && !area.eof(); s = area.Skip(1))
        out.push_back(base::TrimRight(area.record().GetString(f)));
    return out;
}

// Every file a rebuild may leave behind by mistake.
std::vector<std::string> Leftovers(const std::string& dir, const char* table, const char* temp) {
    std::vector<std::string> found;
    std::vector<std::string> names = {std::string(table) + "@.DBF", std::string(table) + "~.DBF",
                                      std::string(temp) + ".DBF"};
    for (const std::string& i : IndexNames(table)) names.push_back(i + "@.NTX");
    for (const std::string& n : names) {
        if (base::Exists(dir + "/" + n)) found.push_back(n);
    }
    return found;
}

TEST(OfficialImport, TaxOfficesFromTheCsvAndTheXsdOfTheDictionary) {
    ScratchDir dir;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kTaxOffices), "");
    uint32_t rows = 0;
    ASSERT_EQ(ImportOfficialList(dir.path(), Cp852(), OfficialList::kTaxOffices,
                                 kFixtures + "tax_offices.csv", &rows),
              "");
    EXPECT_EQ(rows, 3u);
    // By code, and by the town of the office (the name index).
    EXPECT_EQ(InOrder(dir.path(), "PKKDURZ", 1, "KOD_URZEDU"),
              (std::vector<std::string>{"0202", "1471", "3021"}));
    const auto names = InOrder(dir.path(), "PKKDURZ", 2, "NAZWA_URZ");
    ASSERT_EQ(names.size(), 3u);
    // Quoted cells keep their commas and doubled quotes; text is CP852.
    EXPECT_EQ(names[0],
              "URZ\xA4"
              "D SKARBOWY W BOLES\x9D"
              "AWCU");
    EXPECT_EQ(names[1],
              "DRUGI URZ\xA4"
              "D SKARBOWY W POZNANIU, \"WIELKOPOLSKI\"");
    EXPECT_EQ(names[2],
              "PIERWSZY URZ\xA4"
              "D SKARBOWY WARSZAWA-\x97R\xE0"
              "DMIE\x97"
              "CIE");

    ASSERT_EQ(ImportOfficialList(dir.path(), Cp852(), OfficialList::kTaxOffices,
                                 kFixtures + "tax_offices.xsd", &rows),
              "");
    EXPECT_EQ(rows, 2u);
    const auto xsd = InOrder(dir.path(), "PKKDURZ", 1, "NAZWA_URZ");
    ASSERT_EQ(xsd.size(), 2u);
    EXPECT_EQ(xsd[1],
              "URZ\xA4"
              "D SKARBOWY W BIELSKU-BIA\x9D"
              "EJ & OKOLICY");
    EXPECT_TRUE(Leftovers(dir.path(), "PKKDURZ", "URZTMP").empty());
}

TEST(OfficialImport, CountriesKeepTheShortNamesOfTheDictionaryInForce) {
    ScratchDir dir;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kCountries), "");
    // A file with a byte-order mark and CRLF line ends.
    ASSERT_EQ(ImportOfficialList(dir.path(), Cp852(), OfficialList::kCountries,
                                 kFixtures + "countries.csv"),
              "");
    EXPECT_EQ(InOrder(dir.path(), "PKSKODK", 1, "KOD_KRAJU"),
              (std::vector<std::string>{"AZ", "PL", "XK"}));
    const auto short_names = InOrder(dir.path(), "PKSKODK", 1, "KRAJ_");
    EXPECT_EQ(short_names[1], "POLSKA");
    EXPECT_EQ(short_names[0],
              "AZERBEJD\xBD"
              "AN");
}

TEST(OfficialImport, TerritorialRegisterLevelsAndTheirSevenIndexes) {
    ScratchDir dir;
    uint32_t rows = 0;
    ASSERT_EQ(ImportOfficialList(dir.path(), Cp852(), OfficialList::kTerritory,
                                 kFixtures + "terc.csv", &rows),
              "");
    EXPECT_EQ(rows, 14u);
    // Names of voivodeships; districts by voivodeship and name; communes by
    // district and name; codes of voivodeships, of districts, all codes, all
    // names (Polish order: Ł after L, Ś after S).
    EXPECT_EQ(InOrder(dir.path(), "PKGMINY", 1, "KOD_"),
              (std::vector<std::string>{"02", "12", "14"}));
    EXPECT_EQ(InOrder(dir.path(), "PKGMINY", 2, "NAZWA_"),
              (std::vector<std::string>{"BOLES\x9D"
                                        "AWIECKI",
                                        "KRAK\xE0W", "WARSZAWA"}));
    EXPECT_EQ(InOrder(dir.path(), "PKGMINY", 3, "KOD_"),
              (std::vector<std::string>{"0201011", "0201043", "0201044", "0201045", "1261011",
                                        "1465028", "1465038", "1465011"}));
    EXPECT_EQ(InOrder(dir.path(), "PKGMINY", 4, "KOD_"),
              (std::vector<std::string>{"02", "12", "14"}));
    EXPECT_EQ(InOrder(dir.path(), "PKGMINY", 5, "KOD_"),
              (std::vector<std::string>{"0201", "1261", "1465"}));
    EXPECT_EQ(InOrder(dir.path(), "PKGMINY", 6, "KOD_").size(), 14u);
    const auto names = InOrder(dir.path(), "PKGMINY", 7, "NAZWA_");
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names.front(), "BEMOWO");
    EXPECT_EQ(names.back(), "WARSZAWA");
    EXPECT_EQ(TerritoryKind("1465028"), "dzielnica");
    EXPECT_EQ(TerritoryKind("0201043"), "gmina miejsko-wiejska");
    EXPECT_EQ(TerritoryKind("0201"), "powiat");
}

TEST(OfficialImport, OccupationsBeginningWithZeroSortAfterTheOthers) {
    ScratchDir dir;
    ASSERT_EQ(
        ImportOfficialList(dir.path(), Cp852(), OfficialList::kOccupations, kFixtures + "kzis.csv"),
        "");
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 1, "KOD_ZAWODU"),
              (std::vector<std::string>{"1", "11", "111", "1111", "111101", "9", "93", "931",
                                        "9312", "931203", "0", "01", "011", "0110", "011001"}));
    // One index per level of the code.
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 2, "KOD_ZAWODU"),
              (std::vector<std::string>{"1", "9", "0"}));
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 3, "KOD_ZAWODU"),
              (std::vector<std::string>{"11", "93", "01"}));
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 4, "KOD_ZAWODU"),
              (std::vector<std::string>{"111", "931", "011"}));
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 5, "KOD_ZAWODU"),
              (std::vector<std::string>{"1111", "9312", "0110"}));
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 6, "KOD_ZAWODU"),
              (std::vector<std::string>{"111101", "931203", "011001"}));

    // A list of occupations alone keeps the groups in force.
    ASSERT_EQ(ImportOfficialList(dir.path(), Cp852(), OfficialList::kOccupations,
                                 kFixtures + "kzis_occupations.csv"),
              "");
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 6, "KOD_ZAWODU"),
              (std::vector<std::string>{"111101", "111102", "011001"}));
    EXPECT_EQ(InOrder(dir.path(), "PKKZIS", 2, "KOD_ZAWODU"),
              (std::vector<std::string>{"1", "9", "0"}));
}

TEST(OfficialImport, ShippedOccupationsAndCommunesKeepTheirLevels) {
    ScratchDir dir;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kOccupations), "");
    const auto all = InOrder(dir.path(), "PKKZIS", 1, "KOD_ZAWODU");
    ASSERT_FALSE(all.empty());
    // Every code beginning with 1-9 comes before every code beginning with 0.
    size_t first_zero = all.size();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i][0] == '0' && first_zero == all.size()) first_zero = i;
        if (i > first_zero) {
            EXPECT_EQ(all[i][0], '0') << all[i];
        }
    }
    EXPECT_LT(first_zero, all.size());
    EXPECT_EQ(all.front(), "1");

    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kTerritory), "");
    for (const std::string& code : InOrder(dir.path(), "PKGMINY", 6, "KOD_"))
        EXPECT_TRUE(code.size() == 2 || code.size() == 4 || code.size() == 7) << code;
}

TEST(OfficialImport, DamagedFilesAreRefusedAndTheDictionaryStays) {
    ScratchDir dir;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kTerritory), "");
    const std::string before = ReadAll(dir.File("PKGMINY.DBF"));
    const std::string index_before = ReadAll(dir.File("PKGMINY6.NTX"));
    const std::string good = ReadAll(kFixtures + "terc.csv");

    struct Case {
        const char* what;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"cut inside a line", good.substr(0, good.find("14;65;02;8")) + "14;65;0"},
        {"binary garbage", good.substr(0, 200) + std::string("\x00\x01\xFF\xFE", 4) + "x\n"},
        {"not UTF-8",
         "WOJ;POW;GMI;RODZ;NAZWA;NAZWA_DOD;STAN_NA\n02;;;;DOLNO\x8C"
         "L\xA5SKIE;w;d\n"},
        {"unknown header", "KOD;NAZWA\n02;DOLNOSLASKIE\n"},
        {"missing parent", "WOJ;POW;GMI;RODZ;NAZWA;NAZWA_DOD;STAN_NA\n02;01;;;x;powiat;d\n"},
        {"repeated code", good + "02;01;01;1;Bis;gmina miejska;2024-01-01\n"},
        {"open quote", good + "02;01;06;2;\"Warta;gmina wiejska;2024-01-01\n"},
        {"empty", ""},
        {"header only", "WOJ;POW;GMI;RODZ;NAZWA;NAZWA_DOD;STAN_NA\n"},
    };
    for (const Case& c : cases) {
        WriteAll(dir.File("bad.csv"), c.text);
        const std::string err =
            ImportOfficialList(dir.path(), Cp852(), OfficialList::kTerritory, dir.File("bad.csv"));
        EXPECT_NE(err, "") << c.what;
        EXPECT_LE(codepage::FromUtf8(err).size(), 38u) << err;
        EXPECT_EQ(ReadAll(dir.File("PKGMINY.DBF")), before) << c.what;
        EXPECT_EQ(ReadAll(dir.File("PKGMINY6.NTX")), index_before) << c.what;
        EXPECT_TRUE(Leftovers(dir.path(), "PKGMINY", "GMNTMP").empty()) << c.what;
    }
    // The same for a schema cut short and for a file that is not there.
    const std::string xsd = ReadAll(kFixtures + "tax_offices.xsd");
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kTaxOffices), "");
    const std::string offices = ReadAll(dir.File("PKKDURZ.DBF"));
    WriteAll(dir.File("cut.xsd"), xsd.substr(0, xsd.size() / 2));
    EXPECT_NE(
        ImportOfficialList(dir.path(), Cp852(), OfficialList::kTaxOffices, dir.File("cut.xsd")),
        "");
    EXPECT_EQ(
        ImportOfficialList(dir.path(), Cp852(), OfficialList::kTaxOffices, dir.File("none.csv")),
        "Brak pliku");
    WriteAll(dir.File("code.csv"), "type,code,name\nTKodUS,02A2,URZĄD\n");
    EXPECT_EQ(
        ImportOfficialList(dir.path(), Cp852(), OfficialList::kTaxOffices, dir.File("code.csv")),
        "Błędny kod urzędu: wiersz 2");
    EXPECT_EQ(ReadAll(dir.File("PKKDURZ.DBF")), offices);
}

TEST(OfficialLists, FilesReadAndFilesRefused) {
    struct Good {
        OfficialList list;
        std::string text;
        std::vector<std::string> first_row;
    };
    const std::vector<Good> good = {
        {OfficialList::kOccupations,
         "code;level;name;school_occupation\n1;1;A;\n11;2;B;\n111;3;C;\n"
         "1111;4;D;\n111101;5;\"E; \"\"F\"\"\";S\n",
         {"1", "A", "F"}},
        {OfficialList::kTaxOffices,
         "<schema><enumeration value=\"0202\"><documentation xml:lang=\"pl\">US &#321;&#xF3;d&#378;"
         "</documentation></enumeration></schema>\n",
         {"0202",
          "US \x9D\xA2"
          "d\xAB"}},
        {OfficialList::kCountries, "code,name\nPL,Polska\n", {"PL", "POLSKA", "POLSKA"}},
        {OfficialList::kTerritory,
         "WOJ;POW;GMI;RODZ;NAZWA\n02;;;;dolnośląskie\n",
         {"02", "DOLNO\x97L\xA4SKIE"}},
    };
    for (const Good& g : good) {
        ListRows rows;
        EXPECT_EQ(ParseOfficialList(g.list, g.text, &rows), "") << g.text;
        ASSERT_FALSE(rows.rows.empty()) << g.text;
        EXPECT_EQ(rows.rows[0], g.first_row) << g.text;
    }
    ListRows rows;
    ASSERT_EQ(ParseOfficialList(OfficialList::kOccupations,
                                "code;level;name;school_occupation\n1;1;A;\n"
                                "11;2;B;\n111;3;C;\n1111;4;D;\n111101;5;\"E; \"\"F\"\"\";S\n",
                                &rows),
              "");
    EXPECT_EQ(rows.rows[4], (std::vector<std::string>{"111101", "E; \"F\"", "T"}));

    struct Bad {
        OfficialList list;
        std::string text;
        std::string error;
    };
    const std::vector<Bad> bad = {
        {OfficialList::kOccupations, "code,level,name\n1,1,A\n11,3,B\n",
         "Błędny kod zawodu: wiersz 3"},
        {OfficialList::kOccupations, "code,level,name\n1,1,A\n1111,4,B\n",
         "Kod bez grupy nadrzędnej: wiersz 3"},
        {OfficialList::kOccupations, "code,name\n12345,A\n", "Błędny kod zawodu: wiersz 2"},
        {OfficialList::kOccupations, "code,name\n123456,\"A\n", "Niezamknięty cudzysłów: wiersz 2"},
        {OfficialList::kTaxOffices, "<schema><enumeration value=\"0202\"/></schema>",
         "Brak nazwy: wiersz 1"},
        {OfficialList::kTaxOffices, "<schema><enumeration value=\"0202\">",
         "Plik niekompletny (brak końca)"},
        {OfficialList::kCountries, "code,name\npl,Polska\n", "Błędny kod kraju: wiersz 2"},
        {OfficialList::kCountries, "code,name\nPL,Polska\nPL,Polska\n", "Powtórzony kod: wiersz 3"},
        {OfficialList::kTerritory, "WOJ;POW;GMI;RODZ;NAZWA\n02;;01;1;x\n", "Błędny kod: wiersz 2"},
        {OfficialList::kTerritory, "WOJ;POW;GMI;RODZ;NAZWA\n02;;;;\n", "Brak nazwy: wiersz 2"},
    };
    for (const Bad& b : bad) {
        EXPECT_EQ(ParseOfficialList(b.list, b.text, &rows), b.error) << b.text;
        EXPECT_TRUE(rows.rows.empty()) << b.text;
    }
}

TEST(OfficialRebuild, TextIsRecodedIntoTheLetterSetInForce) {
    ScratchDir dir;
    const common::LetterSet mazovia = common::MakeLetterSet(common::kPolishMazovia);
    uint32_t rows = 0;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, mazovia, OfficialList::kCountries, &rows), "");
    EXPECT_EQ(rows, 254u);
    EXPECT_FALSE(base::Exists(dir.File("KRJTMP.DBF")));
    EXPECT_TRUE(Leftovers(dir.path(), "PKSKODK", "KRJTMP").empty());
    const auto codes = InOrder(dir.path(), "PKSKODK", 1, "KOD_KRAJU", mazovia);
    const auto names = InOrder(dir.path(), "PKSKODK", 1, "NAZWA_PEL", mazovia);
    ASSERT_EQ(codes.size(), names.size());
    bool seen = false;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != "AZ") continue;
        seen = true;
        EXPECT_EQ(names[i],
                  "AZERBEJD\xA1"
                  "AN");  // Ż in Mazovia
    }
    EXPECT_TRUE(seen);

    // The plain set: Polish letters become their Latin base letters, and
    // the index by name follows the recoded text.
    const common::LetterSet plain = common::MakeLetterSet(common::kPolishPlain);
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, plain, OfficialList::kTaxOffices), "");
    const auto offices = InOrder(dir.path(), "PKKDURZ", 1, "NAZWA_URZ", plain);
    ASSERT_FALSE(offices.empty());
    EXPECT_EQ(offices.front(), "URZAD SKARBOWY W BOLESLAWCU");
    EXPECT_FALSE(base::Exists(dir.File("URZTMP.DBF")));
}

TEST(OfficialRebuild, AFailedRebuildLeavesTheWorkingTableAndNoPartialFiles) {
    ScratchDir dir;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kCountries), "");
    const std::string before = ReadAll(dir.File("PKSKODK.DBF"));
    const std::string index_before = ReadAll(dir.File("PKSKODK1.NTX"));

    // The content fails half-way (as a short write would).
    auto failing = [](dbf::Table& t) {
        dbf::Record rec = t.NewRecord();
        uint32_t n = 0;
        base::Status s = rec.SetString(0, "AA");
        if (s.ok()) s = t.Append(rec, &n);
        if (!s.ok()) return s;
        return base::Status::IOError("disk full");
    };
    EXPECT_EQ(RebuildOfficialTable(dir.path(), Cp852(), OfficialList::kCountries, failing),
              "Błąd zapisu PKSKODK@.DBF");
    EXPECT_EQ(ReadAll(dir.File("PKSKODK.DBF")), before);
    EXPECT_EQ(ReadAll(dir.File("PKSKODK1.NTX")), index_before);
    EXPECT_TRUE(Leftovers(dir.path(), "PKSKODK", "KRJTMP").empty());

    // With recoding the temporary copy fails as well.
    const common::LetterSet mazovia = common::MakeLetterSet(common::kPolishMazovia);
    EXPECT_EQ(RebuildOfficialTable(dir.path(), mazovia, OfficialList::kCountries, failing),
              "Błąd zapisu KRJTMP.DBF");
    EXPECT_EQ(ReadAll(dir.File("PKSKODK.DBF")), before);
    EXPECT_TRUE(Leftovers(dir.path(), "PKSKODK", "KRJTMP").empty());

    // A shipped file that is missing.
    ScratchDir empty;
    EXPECT_EQ(RebuildFromShipped(dir.path(), empty.path(), Cp852(), OfficialList::kCountries),
              "Brak pliku PKSKODK.tsv");
    EXPECT_EQ(ReadAll(dir.File("PKSKODK.DBF")), before);

    // A new copy left by a rebuild that was cut short is cleared away and
    // the next rebuild succeeds.
    WriteAll(dir.File("PKSKODK@.DBF"), "half");
    WriteAll(dir.File("PKSKODK1@.NTX"), "half");
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kCountries), "");
    EXPECT_EQ(InOrder(dir.path(), "PKSKODK", 1, "KOD_KRAJU").size(), 254u);
    EXPECT_TRUE(Leftovers(dir.path(), "PKSKODK", "KRJTMP").empty());
}

TEST(OfficialRebuild, ATableInUseIsNotReplaced) {
    ScratchDir dir;
    ASSERT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kCountries), "");
    const std::string before = ReadAll(dir.File("PKSKODK.DBF"));
    std::unique_ptr<dbf::Table> held;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    ASSERT_TRUE(dbf::Table::Open(dir.File("PKSKODK.DBF"), exclusive, &held).ok());
    EXPECT_EQ(ImportOfficialList(dir.path(), Cp852(), OfficialList::kCountries,
                                 kFixtures + "countries.csv"),
              "Słownik używany na innym stanowisku");
    held.reset();
    EXPECT_EQ(ReadAll(dir.File("PKSKODK.DBF")), before);
    EXPECT_TRUE(Leftovers(dir.path(), "PKSKODK", "KRJTMP").empty());

    // A new copy being written by another station is left to it.
    ASSERT_TRUE(
        dbf::Table::Create(dir.File("PKSKODK@.DBF"), common::FindTable("PKSKODK")->Specs()).ok());
    ASSERT_TRUE(dbf::Table::Open(dir.File("PKSKODK@.DBF"), exclusive, &held).ok());
    EXPECT_EQ(RebuildFromShipped(dir.path(), kData, Cp852(), OfficialList::kCountries),
              "Słownik odtwarzany na innym stanowisku");
    EXPECT_TRUE(base::Exists(dir.File("PKSKODK@.DBF")));
    EXPECT_EQ(ReadAll(dir.File("PKSKODK.DBF")), before);
    held.reset();
}

}  // namespace
}  // namespace kestrel::registry
