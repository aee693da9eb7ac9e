#include "worktime/dictionaries.h"

#include <gtest/gtest.h>

#include "common/tables/table_layer.h"
#include "test_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

std::string Memo(TestCompany& c, const std::string& table, const std::string& index,
                 const std::string& field) {
    common::Tables t(c.h.rt);
    dbf::WorkArea& a = t.Open(table, {index});
    EXPECT_TRUE(a.GoTop().ok());
    std::string text;
    EXPECT_TRUE(a.ReadMemo(a.FieldIndex(field), &text).ok());
    return text;
}

TEST(WorkingTimeCodes, ASymbolOfTheNamespaceIsRefusedAndAFormulaMustCompile) {
    TestCompany c;
    c.Make("PKROB");
    c.Make("PKSRDOD", {{{"RODZAJ_DOD", "NOCN"}, {"NAZWA_", "Dodatek nocny"}}});
    c.Keys({key::kIns});
    c.Keys("nocn");  // an allowance symbol
    c.Keys({key::F(12), key::kEnter});
    c.Keys({key::kIns});
    c.Keys("razm");
    c.Keys("Razem godzin");
    c.Keys({key::kEnter, 'x', key::F(12), key::kEnter, 'a'});  // x is no type
    c.Keys({'5', key::kEnter, 't', '1', '0', key::kEnter, 'n', 't'});
    c.Keys("NORM+(");  // does not compile: the editor opens again
    c.Keys({key::Ctrl('w'), key::F(12), key::kEnter, key::kHome, key::Ctrl('y')});
    c.Keys("NORM+NADG");
    c.Keys({key::Ctrl('w'), key::kEsc});
    RunDictionary(c.h.rt, "3.7.3");
    EXPECT_EQ(c.messages, (V{"Istnieje taki klucz w PKSRDOD", "Błędny typ kodu",
                             "Błąd syntaktyczny algorytmu"}));
    EXPECT_EQ(c.Records("PKROB", "KOD_OB"), V{"RAZM"});
    EXPECT_EQ(c.Records("PKROB", "TYP_"), V{"A"});
    EXPECT_EQ(c.Records("PKROB", "SEKW_OBL"), V{" 5"});
    EXPECT_EQ(c.Records("PKROB", "DRUK_"), V{"T"});
    EXPECT_EQ(c.Records("PKROB", "SEKW_WYDR"), V{" 10"});
    EXPECT_EQ(c.Records("PKROB", "TB_ECP"), V{"F"});
    EXPECT_EQ(c.Records("PKROB", "DNI_GODZ"), V{"T"});
    EXPECT_EQ(Memo(c, "PKROB", "PKROB1", "ALGORYTM_"), "NORM+NADG");
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(Shifts, TheGroupMustExistAndAnOverlappingSecondSegmentShowsAnError) {
    TestCompany c;
    c.Make("PKGRUPY", {{{"GRUPA_", "01"}, {"NAZWA_", "Zmianowa"}, {"ZMIENNY_CZ", "T"}}});
    c.Make("PKSTYPP", {{{"TYP_PRACY", "01"}, {"NAZWA_", "Nadgodziny"}}});
    c.Make("PKSZMIA");
    c.Keys({key::kIns, '0', '9', key::F(12), key::kEnter});  // no such group
    c.Keys({key::kHome, '0', '1', 'a'});
    // 22:00-06:00, then 05:00-07:00 beside it of type 01, no third.
    c.Keys({'2', '2', '0', key::kEnter, '6', key::kEnter, '0', key::kEnter, key::kEnter});
    c.Keys({'t', '5', key::kEnter, '0', key::kEnter, '7', key::kEnter, '0', key::kEnter});
    c.Keys({'0', '1', 'n'});
    std::string total;
    c.h.con.keyboard().Bind(key::F(11), [&] { total = c.h.Row(10); });
    c.Keys({key::F(11), key::kEsc});
    RunDictionary(c.h.rt, "3.7.9");
    EXPECT_EQ(c.messages, V{"Brak takiej grupy"});
    EXPECT_EQ(c.Records("PKSZMIA", "GRUPA_"), V{"01"});
    EXPECT_EQ(c.Records("PKSZMIA", "ZMIANA_"), V{"A"});
    EXPECT_EQ(c.Records("PKSZMIA", "OD_GODZ"), V{"22"});
    EXPECT_EQ(c.Records("PKSZMIA", "GODZ_DO"), V{" 6"});
    EXPECT_EQ(c.Records("PKSZMIA", "ZAKRES_2"), V{"T"});
    EXPECT_EQ(c.Records("PKSZMIA", "OD_GODZ_2"), V{" 5"});
    EXPECT_EQ(c.Records("PKSZMIA", "TYP_PRACY2"), V{"01"});
    EXPECT_EQ(c.Records("PKSZMIA", "ZAKRES_3"), V{"F"});
    EXPECT_NE(total.find("BŁĄD!"), std::string::npos) << total;
}

TEST(Shifts, ATotalWithoutOverlapCountsAcrossMidnight) {
    TestCompany c;
    c.Make("PKGRUPY", {{{"GRUPA_", "01"}, {"NAZWA_", "Stała"}}});
    c.Make("PKSZMIA", {{{"GRUPA_", "01"},
                        {"ZMIANA_", " "},
                        {"OD_GODZ", "22"},
                        {"OD_MIN", " 0"},
                        {"GODZ_DO", " 6"},
                        {"MIN_DO", "30"}}});
    std::string row;
    c.h.con.keyboard().Bind(key::F(11), [&] { row = c.h.Row(10); });
    c.Keys({key::F(11), key::kEsc});
    RunDictionary(c.h.rt, "3.7.9");
    EXPECT_NE(row.find("08:30"), std::string::npos) << row;
}

TEST(CalendarGroups, AnOperatorWithoutKindOneOnlyBrowses) {
    TestCompany c;
    c.Make("PKGRUPY", {{{"GRUPA_", "01"}, {"NAZWA_", "Stała"}}});
    c.h.rt.operators().list_exists = true;
    c.h.rt.operators().rights = 32;
    c.Keys({key::kIns, key::kRight, key::kEnter, key::kDel, key::kEsc});
    RunDictionary(c.h.rt, "3.7.2");
    EXPECT_EQ(c.Records("PKGRUPY", "NAZWA_"), V{"Stała"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::worktime
