#include "common/dictionary/dictionary_dialog.h"

#include <gtest/gtest.h>

#include "common/dictionary/dictionary_form.h"
#include "test_company.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

// Departments as a code field of its own, as a subsystem would hand it in.
const Dictionary& Departments() {
    static const Dictionary d{.menu = "9.9.1",
                              .title = "Działy",
                              .table = "PKDZIAL",
                              .indexes = {"PKDZIAL1"},
                              .key_field = "DZIAL_",
                              .key_heading = "DZIAŁ",
                              .name_field = "NAZWA_",
                              .fields = {{"NAZWA_", "Nazwa:", "NAZWA"}}};
    return d;
}

CodeField DepartmentField() {
    CodeField f;
    f.table = "PKDZIAL";
    f.indexes = {"PKDZIAL1"};
    f.code_field = "DZIAL_";
    f.name_field = "NAZWA_";
    f.message = "Błędny symbol działu";
    f.hint = "<F3>-Działy";
    f.pick = [] { return PickOf(Departments(), {}); };
    return f;
}

TEST(CodePickers, F3InTheCodeFieldPicksAndTheNameAndRow21FollowTheField) {
    TestCompany c;
    c.Make("PKDZIAL", {{{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}},
                       {{"DZIAL_", "PROD"}, {"NAZWA_", "Produkcja"}}});
    c.h.rt.screen().Write(21, 2, "legend of the dialog", 7);
    std::string other(5, ' ');
    std::string dzial(4, ' ');
    Form form(c.h.rt);
    CodePickers pickers(c.h.rt, c.tables, form);
    form.Get(5, 10, &other, "", 5);
    form.Get(6, 10, &dzial, "@!", 4);
    pickers.Attach(1, DepartmentField(), &dzial, 6, 16);
    std::string hint_in_field;
    c.h.con.keyboard().Bind(key::F(11), [&] { hint_in_field = c.h.Row(21).substr(1, 13); });
    // F3 in the plain field does nothing; in the code field the picker opens
    // on what was typed ("P" seeks PROD) and Enter gives PROD back.
    c.Keys({key::F(3), key::kEnter, 'p', key::F(11), key::F(3), key::kEnter, key::kEnter});
    EXPECT_TRUE(Qrmrdr(c.h.rt, form).saved());
    EXPECT_EQ(dzial, "PROD");
    EXPECT_EQ(other, "     ");
    EXPECT_EQ(hint_in_field, " <F3>-Działy");
    EXPECT_EQ(c.h.At(6, 16, 9), "Produkcja");
    EXPECT_EQ(c.h.At(21, 2, 20), "legend of the dialog");
}

TEST(CodePickers, AFieldThatItsConditionSkipsIsNeitherEnteredNorChecked) {
    TestCompany c;
    c.Make("PKDZIAL", {{{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}}});
    bool open = false;
    std::string first(2, ' ');
    std::string dzial = "XXXX";  // not a department: would be refused if entered
    Form form(c.h.rt);
    CodePickers pickers(c.h.rt, c.tables, form);
    form.Get(5, 10, &first, "", 2);
    form.Get(6, 10, &dzial, "@!", 4);
    pickers.Attach(1, DepartmentField(), &dzial, -1, 0, nullptr, [&open] { return open; });
    c.Keys({'a', 'b'});  // fills the first field; the second is skipped
    EXPECT_TRUE(Qrmrdr(c.h.rt, form).saved());
    EXPECT_EQ(first, "ab");
    EXPECT_TRUE(c.messages.empty());
    EXPECT_TRUE(c.h.backend.exhausted());
}

// The shifts of a group as a key of two parts, the second one blank or a
// letter.
const Dictionary& Shifts() {
    static const Dictionary d{.menu = "9.9.2",
                              .title = "Zmiany",
                              .table = "PKSZMIA",
                              .indexes = {"PKSZMIA1"},
                              .key_field = "GRUPA_",
                              .key_heading = "GR",
                              .key_label = "Grupa:",
                              .second_key = {"ZMIANA_", "ZM", " Zmiana:"},
                              .name_field = "GRUPA_",
                              .fields = {{"TYP_PRACY", "Typ:", "TYP"}}};
    return d;
}

TEST(DictionaryDialog, AKeyOfTwoPartsIsUniqueAsAWholeAndABlankSecondPartIsAKey) {
    TestCompany c;
    c.Make("PKSZMIA", {{{"GRUPA_", "01"}, {"ZMIANA_", "A"}}});
    c.Keys({key::kIns, '0', '1', 'a', key::F(12), key::kEnter});  // 01 A exists
    c.Keys({key::kIns, '0', '1', key::kEnter, 'x', 'y'});         // 01 with a blank shift
    c.Keys({key::kIns, '0', '2', 'a', 'z', 'z', key::kEsc});      // 02 A
    RunDictionary(c.h.rt, Shifts(), {});
    EXPECT_EQ(c.messages, V{"Istnieje rekord o takim kluczu"});
    EXPECT_EQ(c.Records("PKSZMIA", "GRUPA_"), (V{"01", "01", "02"}));
    EXPECT_EQ(c.Records("PKSZMIA", "ZMIANA_"), (V{"A", "", "A"}));
    EXPECT_EQ(c.Records("PKSZMIA", "TYP_PRACY"), (V{"", "xy", "zz"}));
}

TEST(CodePickers, ACodeOutOfAFixedListIsCheckedAndPickedWithoutATable) {
    TestCompany c;  // no table at all
    CodeField f;
    f.values = {"PRZYCHOD_", "KOSZT_UZ", "PODATEK_"};
    f.message = "Błędna nazwa pola";
    f.hint = "<F3>-Nazwy pól";
    f.name_width = 0;
    std::string name = "x";
    EXPECT_TRUE(FindCode(c.h.rt, c.tables, f, "KOSZT_UZ  ", &name));
    EXPECT_EQ(name, "");
    EXPECT_FALSE(FindCode(c.h.rt, c.tables, f, "KOSZT", &name));

    // A wrong name is refused; F3 then offers the list, standing on the
    // first entry, and Down Enter types the second into the field.
    std::string field(10, ' ');
    Form form(c.h.rt);
    CodePickers pickers(c.h.rt, c.tables, form);
    form.Get(5, 20, &field, "@!");
    pickers.Attach(0, f, &field, -1, 0);
    c.Keys("KOSZT");
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::F(3), key::kDown, key::kEnter, key::kEnter});
    EXPECT_TRUE(Qrmrdr(c.h.rt, form).saved());
    EXPECT_EQ(field, "KOSZT_UZ  ");
    EXPECT_EQ(c.messages, V{"Błędna nazwa pola"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::common
