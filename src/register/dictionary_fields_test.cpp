#include "register/dictionary_fields.h"

#include <gtest/gtest.h>

#include "platform/base/files.h"
#include "test_company.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::TestCompany;

void Departments(TestCompany& c) {
    c.Make("PKDZIAL", {{{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}},
                       {{"DZIAL_", "PROD"}, {"NAZWA_", "Produkcja"}}});
}

TEST(ValidateCode, EmptyPassesUnknownIsRefusedKnownShowsItsName) {
    TestCompany c;
    Departments(c);
    const CodeField f = CodeFieldOf("2.7.2");
    c.h.rt.screen().Write(5, 40, "old name", 7);
    EXPECT_TRUE(ValidateCode(c.h.rt, c.tables, f, "    ", 5, 40));
    EXPECT_EQ(c.h.At(5, 40, 8), "        ");

    c.Keys({key::F(12), key::kEnter});
    EXPECT_FALSE(ValidateCode(c.h.rt, c.tables, f, "XYZ ", 5, 40));
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], "Błędny symbol działu");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);

    EXPECT_TRUE(ValidateCode(c.h.rt, c.tables, f, "PROD", 5, 40));
    EXPECT_EQ(c.h.At(5, 40, 30), "Produkcja" + std::string(21, ' '));
    // A prefix of a code is not the code.
    c.Keys({key::kEnter});
    EXPECT_FALSE(ValidateCode(c.h.rt, c.tables, f, "PRO", -1, 0));
}

TEST(ValidateCode, ACommuneCodeMustNameACommuneNotItsDistrict) {
    TestCompany c;
    c.Make("PKGMINY", {{{"KOD_", "14"}, {"NAZWA_", "MAZOWIECKIE"}},
                       {{"KOD_", "1465"}, {"NAZWA_", "WARSZAWA"}},
                       {{"KOD_", "1465011"}, {"NAZWA_", "WARSZAWA"}}});
    const CodeField f = CodeFieldOf("GMINY");
    c.Keys({key::F(12), key::kEnter, key::kEnter});
    EXPECT_FALSE(ValidateCode(c.h.rt, c.tables, f, "1465   ", -1, 0));
    EXPECT_FALSE(ValidateCode(c.h.rt, c.tables, f, "1465012", -1, 0));
    EXPECT_EQ(c.messages, std::vector<std::string>{"Błędny kod gminy"});
    EXPECT_TRUE(ValidateCode(c.h.rt, c.tables, f, "1465011", -1, 0));
}

TEST(ValidateCode, WorksOnADictionaryWithoutIndexAndRefusesWhenTheTableIsMissing) {
    TestCompany c;
    c.Make("PKGRALG", {{{"GRUPA_ALG", "A"}, {"NAZWA_", "Etatowi"}},
                       {{"GRUPA_ALG", "B"}, {"NAZWA_", "Zlecenia"}}});
    std::string name;
    EXPECT_TRUE(FindCode(c.h.rt, c.tables, CodeFieldOf("2.7.A"), "B", &name));
    EXPECT_EQ(name, "Zlecenia  ");
    EXPECT_FALSE(FindCode(c.h.rt, c.tables, CodeFieldOf("2.7.A"), "C", &name));
    // The unions' table is not there: every code is refused, nothing is created.
    c.Keys({key::F(12), key::kEnter});
    EXPECT_FALSE(ValidateCode(c.h.rt, c.tables, CodeFieldOf("2.7.7"), "ZZ", -1, 0));
    EXPECT_EQ(c.messages, std::vector<std::string>{"Błędny symbol związku"});
    EXPECT_TRUE(ValidateCode(c.h.rt, c.tables, CodeFieldOf("2.7.7"), "  ", -1, 0));
    EXPECT_FALSE(base::Exists(c.dir.File("PKZWZ.DBF")));
}

TEST(PickCode, AFormulaSymbolDictionaryOffersNoNewRecordInItsPicker) {
    TestCompany c;
    c.Make("PKSRDOD", {{{"RODZAJ_DOD", "DFUN"}, {"NAZWA_", "Dodatek funkcyjny"}}});
    std::string legend;
    c.h.con.keyboard().Bind(key::F(10), [&] { legend = c.h.At(10, 57, 20); });
    c.Keys({key::F(10), key::kIns, key::kEsc});
    EXPECT_FALSE(PickCode(c.h.rt, c.tables, CodeFieldOf("2.7.9"), ""));
    EXPECT_EQ(legend, std::string(20, ' '));
    EXPECT_EQ(c.Records("PKSRDOD", "RODZAJ_DOD"), std::vector<std::string>{"DFUN"});
}

}  // namespace
}  // namespace kestrel::registry
