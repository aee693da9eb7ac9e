#include "register/dictionary_dialog.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::TestCompany;
using V = std::vector<std::string>;

void Contracts(TestCompany& c) {
    c.Make("PKRUM", {{{"RODZ_UM", "01"}, {"NAZWA_UM", "Na czas nieokreślony"}}});
}

TEST(DictionaryDialog, ANewOneDigitKeyIsStoredWithItsZeroAndADuplicateIsRefused) {
    TestCompany c;
    Contracts(c);
    c.Keys({key::kIns, '5', key::kEnter});
    c.Keys("Zlecenie");
    c.Keys({key::kEnter});
    c.Keys({key::kIns, '1', key::kEnter, key::F(12), key::kEnter, key::kEsc});
    RunDictionary(c.h.rt, "2.7.4");
    EXPECT_EQ(c.Records("PKRUM", "RODZ_UM"), (V{"01", "05"}));
    EXPECT_EQ(c.Records("PKRUM", "NAZWA_UM"), (V{"Na czas nieokreślony", "Zlecenie"}));
    EXPECT_EQ(c.messages, V{"Istnieje rekord o takim kluczu"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(DictionaryDialog, EscInTheNewRecordLeavesItDeletedAndTheSameKeyReusesIt) {
    for (const char* menu : {"2.7.4", "2.7.A"}) {  // with and without an index
        SCOPED_TRACE(menu);
        TestCompany c;
        const bool groups = std::string(menu) == "2.7.A";
        const std::string table = groups ? "PKGRALG" : "PKRUM";
        const std::string field = groups ? "GRUPA_ALG" : "RODZ_UM";
        const std::string name = groups ? "NAZWA_" : "NAZWA_UM";
        c.Make(table);
        // A one-character key is complete when typed; two need Enter.
        const std::vector<int> code =
            groups ? std::vector<int>{'K'} : std::vector<int>{'7', key::kEnter};
        c.Keys({key::kIns});
        c.Keys(code);
        c.Keys({'x', key::kEsc, key::kIns});
        c.Keys(code);
        c.Keys("Nowa");
        c.Keys({key::kEnter, key::kEsc});
        RunDictionary(c.h.rt, menu);
        const std::string stored = groups ? "K" : "07";
        EXPECT_EQ(c.Records(table, field), V{stored});  // one record, reused
        EXPECT_EQ(c.Records(table, name), V{"Nowa"});
    }
}

TEST(DictionaryDialog, EnterChangesTheFieldInPlaceAndDelRemovesAfterYes) {
    TestCompany c;
    c.Make("PKRUM", {{{"RODZ_UM", "01"}, {"NAZWA_UM", "Stara"}},
                     {{"RODZ_UM", "02"}, {"NAZWA_UM", "Druga"}}});
    c.Keys({key::kEnter});  // on the key: nothing
    c.Keys({key::kRight, key::kEnter, key::Ctrl('y')});
    c.Keys("Nowa");
    c.Keys({key::kEnter});
    c.Keys({key::kDown, key::kDel, 'n', key::kDel, 't', key::kEsc});
    RunDictionary(c.h.rt, "2.7.4");
    EXPECT_EQ(c.Records("PKRUM", "NAZWA_UM"), (V{"Nowa", "Druga*"}));
}

TEST(DictionaryDialog, AnOperatorWithoutKindOneOnlyBrowses) {
    TestCompany c;
    Contracts(c);
    c.h.rt.operators().list_exists = true;
    c.h.rt.operators().rights = 32;  // kind 6
    std::string legend;
    c.h.con.keyboard().Bind(key::F(11), [&] { legend = c.h.Row(21); });
    c.Keys({key::F(11), key::kIns, key::kRight, key::kEnter, key::kDel, key::kEsc});
    RunDictionary(c.h.rt, "2.7.4");
    EXPECT_EQ(legend.find("<Esc>-Wyjście"), 2u);
    EXPECT_EQ(legend.find("Ins"), std::string::npos);
    EXPECT_EQ(c.Records("PKRUM", "NAZWA_UM"), V{"Na czas nieokreślony"});
    EXPECT_TRUE(c.h.backend.exhausted());

    // Without kind 1 or 6 the dictionary is not opened at all.
    c.h.rt.operators().rights = 2;
    c.Keys({key::F(12), key::kEnter});
    RunDictionary(c.h.rt, "2.7.4");
    EXPECT_EQ(c.messages, V{"Brak uprawnień do tej funkcji"});
}

TEST(DictionaryDialog, AllowanceKindsGuardTheSymbolNamespaceAndStoreTheTypeOfEntry) {
    TestCompany c;
    c.Make("PKSRDOD");
    c.Make("PKRNB", {{{"KOD_NIEOB", "UW"}, {"NAZWA_", "Urlop"}}});
    c.Keys({key::kIns, 'u', 'w', key::kEnter, key::F(12), key::kEnter});  // an absence code
    c.Keys({key::kIns, '1', 'x', key::kEnter, key::F(12), key::kEnter, key::kEsc});
    c.Keys({key::kIns, 'n', 'o', 'c', 'n'});  // four characters end the key
    c.Keys("Nocne");
    c.Keys({key::kEnter, '3', key::kEsc});
    RunDictionary(c.h.rt, "2.7.9");
    EXPECT_EQ(c.messages, (V{"Istnieje taki klucz w PKRNB", "Błędny symbol"}));
    EXPECT_EQ(c.Records("PKSRDOD", "RODZAJ_DOD"), V{"NOCN"});
    EXPECT_EQ(c.Records("PKSRDOD", "KWOTA_PROC"), V{"F"});
    EXPECT_EQ(c.Records("PKSRDOD", "TAK_NIE"), V{"T"});
}

TEST(DictionaryDialog, TheMemoKeepsItsLinesAndATooLongOneIsLeftAlone) {
    TestCompany c;
    c.Make("PKSTAN", {{{"STANOW_", "DYR"}, {"NAZWA_", "Dyrektor"}}});
    {
        common::Tables t(c.h.rt);
        dbf::WorkArea& a = t.Open("PKSTAN", {"PKSTAN1"});
        ASSERT_TRUE(a.GoTop().ok());
        t.RLock(a);
        ASSERT_TRUE(a.WriteMemo(a.FieldIndex("PELNA_NAZ"), "Linia 1\r\nLinia 2").ok());
        ASSERT_TRUE(a.Commit().ok());
    }
    // Third line added below the two kept ones.
    c.Keys({key::kRight, key::kRight, key::kEnter, key::kDown, key::kDown});
    c.Keys("Linia 3");
    c.Keys({key::Ctrl('w'), key::kEsc});
    RunDictionary(c.h.rt, "2.7.3");
    auto memo = [&c] {
        common::Tables t(c.h.rt);
        dbf::WorkArea& a = t.Open("PKSTAN", {"PKSTAN1"});
        EXPECT_TRUE(a.GoTop().ok());
        std::string text;
        EXPECT_TRUE(a.ReadMemo(a.FieldIndex("PELNA_NAZ"), &text).ok());
        return text;
    };
    EXPECT_EQ(memo(), "Linia 1\r\nLinia 2\r\nLinia 3");

    // A line wider than the editor: refused, the text stays whole.
    const std::string wide(70, 'w');
    {
        common::Tables t(c.h.rt);
        dbf::WorkArea& a = t.Open("PKSTAN", {"PKSTAN1"});
        ASSERT_TRUE(a.GoTop().ok());
        t.RLock(a);
        ASSERT_TRUE(a.WriteMemo(a.FieldIndex("PELNA_NAZ"), wide).ok());
        ASSERT_TRUE(a.Commit().ok());
    }
    c.Keys({key::kRight, key::kRight, key::kEnter, key::F(12), key::kEnter, key::kEsc});
    RunDictionary(c.h.rt, "2.7.3");
    EXPECT_EQ(c.messages, V{"Tekst za długi do edycji"});
    EXPECT_EQ(memo(), wide);
}

TEST(DictionaryDialog, ATaxOfficeCodeMustBeOnTheOfficialListAndUsedOnce) {
    TestCompany c;
    c.Make("PKKDURZ", {{{"KOD_URZEDU", "1435"}, {"NAZWA_URZ", "US WARSZAWA"}},
                       {{"KOD_URZEDU", "1228"}, {"NAZWA_URZ", "US KRAKÓW"}}});
    c.Make("PKURZ", {{{"URZ_SKARB", "01"}, {"NAZWA_", "Warszawa"}, {"KOD_URZEDU", "1435"}}});
    c.Keys({key::kIns, '2', key::kEnter});
    c.Keys({'9', '9', '9', '9', key::F(12), key::kEnter});                // not on the list
    c.Keys({key::kHome, '1', '4', '3', '5', key::F(12), key::kEnter});    // office 01 has it
    c.Keys({key::kHome, '1', '2', '2', '8', key::Ctrl('w'), key::kEsc});  // the name comes along
    RunDictionary(c.h.rt, "2.7.8");
    EXPECT_EQ(c.messages,
              (V{"Brak takiego kodu w wykazie urzędów", "Istnieje Urząd o takim kodzie"}));
    EXPECT_EQ(c.Records("PKURZ", "KOD_URZEDU"), (V{"1435", "1228"}));
    EXPECT_EQ(c.Records("PKURZ", "URZ_SKARB"), (V{"01", "02"}));
    EXPECT_EQ(c.Records("PKURZ", "NAZWA_"), (V{"Warszawa", "US KRAKÓW"}));
}

TEST(DictionaryDialog, ADepartmentAccountFailingItsCheckIsOnlyAWarning) {
    TestCompany c;
    c.Make("PKDZIAL");
    c.Keys({key::kIns, 'k', 'a', 'd', 'r'});
    c.Keys("Kadry");
    c.Keys({key::kEnter, key::kEnter});  // no commune
    c.Keys("12345678901234567890123456");
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kEsc});
    RunDictionary(c.h.rt, "2.7.2");
    EXPECT_EQ(c.messages, V{"Błędny Nr rachunku"});
    EXPECT_EQ(c.Records("PKDZIAL", "NR_RACH"), V{"12345678901234567890123456"});
    EXPECT_EQ(c.Records("PKDZIAL", "DZIAL_"), V{"KADR"});
}

TEST(DictionaryDialog, PfronOccupationsNeedTheirModule) {
    TestCompany c;
    c.Make("PKZAWOD");
    c.Keys({key::F(12), key::kEnter});
    RunDictionary(c.h.rt, "2.8.B");
    EXPECT_EQ(c.messages, V{"Funkcja niedostępna"});
    c.h.rt.config().Set("NAGLXSDML", memfile::MemValue::Logical(true));
    c.Keys({key::kEsc});
    RunDictionary(c.h.rt, "2.8.B");
    EXPECT_EQ(c.messages.size(), 1u);
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(DictionaryDialog, TheCodesOfEndingAnEmploymentSayTheyComeEmpty) {
    // No official list of them is shipped: a new company gets them empty
    // and both screens tell the operator to type them in.
    for (const char* menu : {"2.8.9", "2.8.A"}) {
        SCOPED_TRACE(menu);
        TestCompany c;
        c.Keys({'t', key::kEsc});  // "Utworzyć plik ?"
        RunDictionary(c.h.rt, menu);
        const std::string table = std::string(menu) == "2.8.9" ? "PKKROZ" : "PKKPOD";
        EXPECT_TRUE(c.Records(table, "NAZWA_").empty());
        const std::string note = "Program nie dostarcza tych kodów: wpisuje je użytkownik";
        EXPECT_EQ(c.h.ShownRow(5).substr(0, 22 + note.size()), std::string(22, ' ') + note);
    }
    // Other dictionaries carry no such line.
    TestCompany c;
    Contracts(c);
    c.Keys({key::kEsc});
    RunDictionary(c.h.rt, "2.7.4");
    EXPECT_EQ(c.h.ShownRow(5).substr(1, 77), std::string(77, ' '));
}

}  // namespace
}  // namespace kestrel::registry
