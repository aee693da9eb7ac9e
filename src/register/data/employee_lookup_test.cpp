#include "register/data/employee_lookup.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/base/text.h"

namespace kestrel::registry {
namespace {

using testing::Company;
using testing::Cp;
using testing::Utf;

TEST(TerritoryLookup, NamesNarrowDownLevelByLevel) {
    Company c({"PKGMINY"});
    dbf::WorkArea& gminy = OpenTerritory(*c.tables);
    const common::LetterSet& letters = c.h.rt.letters();
    TerritoryChoice choice;
    std::string name = Cp("łódzkie");
    EXPECT_EQ(LookupVoivodeship(gminy, letters, &name, &choice).message, "");
    EXPECT_EQ(Utf(name), "ŁÓDZKIE");  // upper-cased in the field
    EXPECT_EQ(choice.voivodeship, "10");
    name = Cp("Łódź");
    EXPECT_EQ(LookupDistrict(gminy, letters, &name, &choice).message, "");
    EXPECT_EQ(choice.district, "1061");
    name = Cp("łódź-widzew");
    EXPECT_EQ(LookupCommune(gminy, letters, &name, choice).message, "");
    // A commune of another district is not found in this one.
    name = "BOLESŁAWIEC";
    const Verdict missing = LookupCommune(gminy, letters, &name, choice);
    EXPECT_TRUE(missing.accepted);
    EXPECT_EQ(missing.message, "<-Błąd");
    // A district name is not a voivodeship; the lower levels are cleared.
    name = Cp("PRUSZKOWSKI");
    EXPECT_EQ(LookupVoivodeship(gminy, letters, &name, &choice).message, "<-Błąd");
    EXPECT_EQ(choice.voivodeship, "");
    EXPECT_EQ(choice.district, "");
    EXPECT_EQ(VoivodeshipCode(gminy, letters, "MAZOWIECKIE"), "14");
    EXPECT_EQ(VoivodeshipCode(gminy, letters, "NIBYLANDIA"), "");

    const TerritoryNames names = NamesOfTerritory(gminy, "1061069");
    EXPECT_EQ(Utf(names.voivodeship), "ŁÓDZKIE");
    EXPECT_EQ(Utf(names.district), "ŁÓDŹ");
    EXPECT_EQ(Utf(names.commune), "ŁÓDŹ-WIDZEW");
}

TEST(ProfessionLookup, AncestorsByLeadingCharacters) {
    Company c({"PKKZIS"});
    dbf::WorkArea& kzis = OpenProfessions(*c.tables);
    EXPECT_EQ(Utf(FindProfession(kzis, "263101").name), "Ekonometryk");
    EXPECT_EQ(FindProfession(kzis, "263199").name, "");
    std::vector<std::string> names;
    for (const Profession& p : ProfessionAncestors(kzis, "011001")) names.push_back(p.code);
    EXPECT_EQ(names, (std::vector<std::string>{"0     ", "01    ", "011   ", "0110  "}));
    EXPECT_EQ(Utf(ProfessionAncestors(kzis, "263101")[3].name), "Ekonomiści");
    EXPECT_EQ(Utf(ProfessionAncestors(kzis, "011001")[0].name), "SIŁY ZBROJNE");

    std::string first, second;
    SplitName("Specjaliści z dziedziny prawa, dziedzin społecznych i kultury", 43, &first, &second);
    EXPECT_EQ(first, "Specjaliści z dziedziny prawa, dziedzin");
    EXPECT_EQ(second, "społecznych i kultury");
    SplitName("Krótka", 43, &first, &second);
    EXPECT_EQ(first, "Krótka");
    EXPECT_EQ(second, "");
}

std::string TrimmedName(dbf::WorkArea& area) {
    return base::TrimRight(area.record().GetString(area.FieldIndex("NAZWA_")));
}

TEST(DictionaryChecks, EmptyAcceptedMissingRefusedKnownNamed) {
    Company c({"PKDZIAL", "PKURZ", "PKSKODK", "PKTYTUB", "PKGRALG", "PKSNIEZ", "PKKZIS"});
    common::Tables& t = *c.tables;
    dbf::WorkArea& dzial = t.Open("PKDZIAL", {"PKDZIAL1"});
    t.Append(dzial);
    dzial.record().SetString(dzial.FieldIndex("DZIAL_"), "PROD");
    dzial.record().SetString(dzial.FieldIndex("NAZWA_"), Cp("Produkcja"));
    ASSERT_TRUE(dzial.Commit().ok());
    ASSERT_TRUE(dzial.Unlock().ok());
    dbf::WorkArea& gralg = t.Open("PKGRALG");
    t.Append(gralg);
    gralg.record().SetString(gralg.FieldIndex("GRUPA_ALG"), "A");
    gralg.record().SetString(gralg.FieldIndex("NAZWA_"), "Umowy");
    ASSERT_TRUE(gralg.Commit().ok());
    ASSERT_TRUE(gralg.Unlock().ok());

    std::string name = "?";
    Verdict v = CheckCode(t, "DZIAL_", "PROD", &name);
    EXPECT_TRUE(v.accepted);
    EXPECT_EQ(Utf(name), "Produkcja");
    v = CheckCode(t, "DZIAL_", "HAND", &name);
    EXPECT_FALSE(v.accepted);
    EXPECT_EQ(v.message, "Błędny kod");
    EXPECT_EQ(name, "");
    EXPECT_TRUE(CheckCode(t, "DZIAL_", "    ").accepted);
    EXPECT_TRUE(CheckCode(t, "URZ_SKARB", "").accepted);
    EXPECT_FALSE(CheckCode(t, "URZ_SKARB", "01").accepted);
    EXPECT_TRUE(CheckCode(t, "GRUPA_ALG", "A", &name).accepted);  // a table without an index
    EXPECT_EQ(name, "Umowy");
    EXPECT_FALSE(CheckCode(t, "GRUPA_ALG", "B").accepted);
    EXPECT_EQ(CheckCode(t, "TYTUL_PODM", "9999").message, "Błędny tytuł");
    EXPECT_EQ(CheckCode(t, "STOP_NIEZD", "07").message, "Błędny kod niezdolności");
    EXPECT_TRUE(CheckCode(t, "KZIS_", "011001", &name).accepted);  // leading zero keyed as "A"
    EXPECT_EQ(Utf(name), "Oficer zawodowych Sił Zbrojnych");
    // The caller's own area of the dictionary, open without the index the
    // check needs, stays open and usable.
    dbf::WorkArea& own = t.Open("PKKZIS", {"PKKZIS2"});
    EXPECT_TRUE(CheckCode(t, "KZIS_", "263101", &name).accepted);
    EXPECT_EQ(Utf(name), "Ekonometryk");
    EXPECT_EQ(t.workspace().Find("PKKZIS"), &own);
    EXPECT_TRUE(own.GoTop().ok());
    EXPECT_EQ(Utf(TrimmedName(own)),
              "PRZEDSTAWICIELE WŁADZ PUBLICZNYCH, WYŻSI URZĘDNICY I KIEROWNICY");

    EXPECT_TRUE(CheckCode(t, "KOD_KRAJ_Z", "DE", &name).accepted);
    EXPECT_EQ(CheckCode(t, "KOD_KRAJ_Z", "QQ").message, "Błędny kod kraju");
    EXPECT_TRUE(CheckCode(t, "KOD_KRAJ_Z", "").message.empty());
    v = CheckRegistrationCountry(t, "  ");
    EXPECT_TRUE(v.accepted);
    EXPECT_EQ(v.message, "Błędny kod kraju");
    EXPECT_TRUE(CheckRegistrationCountry(t, "PL").message.empty());
}

}  // namespace
}  // namespace kestrel::registry
