#include "worktime/absence_dictionaries.h"

#include <gtest/gtest.h>

#include "common/tables/table_layer.h"
#include "test_company.h"
#include "worktime/data/absence_dictionaries.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

std::string Memo(TestCompany& c, const std::string& field) {
    common::Tables t(c.h.rt);
    dbf::WorkArea& a = t.Open("PKRNB", {"PKRNB1"});
    EXPECT_TRUE(a.GoTop().ok());
    std::string text;
    EXPECT_TRUE(a.ReadMemo(a.FieldIndex(field), &text).ok());
    return text;
}

TEST(AbsenceCodes, ASymbolOfTheNamespaceIsRefusedAndTheFieldsAreChecked) {
    TestCompany c;
    c.Make("PKRNB");
    c.Make("PKRABS");
    c.Make("PKROB", {{{"KOD_OB", "NORM"}, {"NAZWA_", "Godziny normalne"}, {"TYP_", "E"}}});
    c.Make("PKSRDOD", {{{"RODZAJ_DOD", "NOCN"}, {"NAZWA_", "Dodatek nocny"}}});
    c.Keys({key::kIns});
    c.Keys("norm");  // a working-time code
    c.Keys({key::F(12), key::kEnter, key::kIns});
    c.Keys("nocn");  // an allowance symbol
    c.Keys({key::F(12), key::kEnter, key::kIns});
    c.Keys("uw");
    c.Keys({key::kEnter, key::kEnter});  // the name may not stay blank
    c.Keys("Urlop wypoczynkowy");
    c.Keys({key::kEnter, 'x', key::F(12), key::kEnter, 'u', key::kEnter});  // x is no type
    c.Keys({'t', 'n', 'n', key::kEnter, '2', '6', key::kEnter, 't'});
    c.Keys("URLOP");
    c.Keys({key::kEnter, '1', key::kEnter});  // a prefix of one character is refused
    c.Keys({key::kHome, '1', '1', 'n', 't', 'n', 'n', 't', '5', key::kEnter});
    c.Keys({key::Ctrl('w')});  // no formula
    c.Keys("26+(");            // does not compile: the editor opens again
    c.Keys({key::Ctrl('w'), key::F(12), key::kEnter, key::kHome, key::Ctrl('y')});
    c.Keys("26");
    c.Keys({key::Ctrl('w'), key::kEsc});
    Qrm374(c.h.rt);
    EXPECT_EQ(c.messages, (V{"Istnieje taki klucz w PKROB", "Istnieje taki klucz w PKSRDOD",
                             "Błędny typ kodu", "Błąd syntaktyczny algorytmu"}));
    EXPECT_EQ(c.Records("PKRNB", "KOD_NIEOB"), V{"UW"});
    EXPECT_EQ(c.Records("PKRNB", "NAZWA_"), V{"Urlop wypoczynkowy"});
    EXPECT_EQ(c.Records("PKRNB", "TYP_"), V{"U"});
    EXPECT_EQ(c.Records("PKRNB", "GODZ_DNI"), V{"T"});
    EXPECT_EQ(c.Records("PKRNB", "LIMIT_"), V{" 26"});
    EXPECT_EQ(c.Records("PKRNB", "DEKL_ZUS"), V{"T"});
    EXPECT_EQ(c.Records("PKRNB", "NAZWA_ZUS"), V{"URLOP"});
    EXPECT_EQ(c.Records("PKRNB", "TYT_PODM_P"), V{"11"});
    EXPECT_EQ(c.Records("PKRNB", "HARMON_CZ"), V{"T"});
    EXPECT_EQ(c.Records("PKRNB", "DRUK_"), V{"T"});
    EXPECT_EQ(c.Records("PKRNB", "SEKW_WYDR"), V{"  5"});
    EXPECT_EQ(Memo(c, "ALGORYTM_"), "");
    EXPECT_EQ(Memo(c, "LIMIT_NB"), "26");
    EXPECT_TRUE(c.h.backend.exhausted());
}

// The list shows a type by its word; a reason of suspension names an
// absence code of type "G" (generated from suspensions) or none: a code the
// absence codes lack, and one of another type, are refused.
TEST(AbsenceCodes, TheTypeIsShownAsAWordAndASuspensionNamesAGeneratedCode) {
    TestCompany c;
    c.Make("PKRNB", {{{"KOD_NIEOB", "ZAW"}, {"NAZWA_", "Zawieszenie umowy"}, {"TYP_", "G"}},
                     {{"KOD_NIEOB", "UB"}, {"NAZWA_", "Urlop bezpłatny"}, {"TYP_", "B"}}});
    c.Make("PKSPZAW");
    std::string row;
    c.h.con.keyboard().Bind(key::F(11), [&] { row = c.h.Row(10) + c.h.Row(11); });
    c.Keys({key::F(11), key::kEsc});
    Qrm374(c.h.rt);
    EXPECT_NE(row.find("Gener."), std::string::npos) << row;

    c.Keys({key::kIns, '0', '1'});
    c.Keys("Areszt");
    c.Keys({key::kEnter});
    c.Keys("XYZ");
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kHome});
    c.Keys("UB  ");  // unpaid leave is not generated from suspensions
    c.Keys({key::F(12), key::kEnter, key::kHome});
    c.Keys("ZAW ");
    c.Keys({key::kIns, '0', '2'});
    c.Keys("Inna");
    c.Keys({key::kEnter, key::kEnter});  // no code: no absence days
    c.Keys({key::kEsc});
    Qrm376(c.h.rt);
    EXPECT_EQ(c.messages,
              (V{"Błędny kod - musi być typu \"G\"", "Błędny kod - musi być typu \"G\""}));
    EXPECT_EQ(c.Records("PKSPZAW", "PRZYCZ_ZAW"), (V{"01", "02"}));
    EXPECT_EQ(c.Records("PKSPZAW", "KOD_NIEOB"), (V{"ZAW", ""}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(AbsenceCodes, OnlyACodeOfTypeGIsAGeneratedCode) {
    TestCompany c;
    EXPECT_FALSE(IsGeneratedAbsenceCode(c.h.rt, c.tables, "ZAW"));  // no PKRNB at all
    c.Make("PKRNB", {{{"KOD_NIEOB", "ZAW"}, {"NAZWA_", "Zawieszenie umowy"}, {"TYP_", "G"}},
                     {{"KOD_NIEOB", "ZAWX"}, {"NAZWA_", "Inny"}, {"TYP_", "A"}},
                     {{"KOD_NIEOB", "UB"}, {"NAZWA_", "Urlop bezpłatny"}, {"TYP_", "B"}}});
    EXPECT_TRUE(IsGeneratedAbsenceCode(c.h.rt, c.tables, "ZAW"));
    EXPECT_TRUE(IsGeneratedAbsenceCode(c.h.rt, c.tables, "ZAW "));
    EXPECT_FALSE(IsGeneratedAbsenceCode(c.h.rt, c.tables, "ZAWX"));
    EXPECT_FALSE(IsGeneratedAbsenceCode(c.h.rt, c.tables, "UB"));
    EXPECT_FALSE(IsGeneratedAbsenceCode(c.h.rt, c.tables, "CH"));
    EXPECT_FALSE(IsGeneratedAbsenceCode(c.h.rt, c.tables, ""));
    // The field's own check: blank accepted (no absence days), others as above.
    const common::CodeField f = AbsenceCodeFieldOf(c.h.rt, kGeneratedCodeField);
    EXPECT_TRUE(common::ValidateCode(c.h.rt, c.tables, f, "    ", -1, 0));
    EXPECT_TRUE(common::ValidateCode(c.h.rt, c.tables, f, "ZAW", -1, 0));
    // The absence codes' own field still takes any code.
    EXPECT_TRUE(
        common::FindCode(c.h.rt, c.tables, AbsenceCodeFieldOf(c.h.rt, "3.7.4"), "UB", nullptr));
    EXPECT_FALSE(common::FindCode(c.h.rt, c.tables, f, "UB", nullptr));
}

}  // namespace
}  // namespace kestrel::worktime
