#include "common/screen/menu.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

std::vector<MenuEntry> Entries() {
    return {{7, 22, "1. Koniec", ""},
            {8, 22, "2. Kartoteka", ""},
            {9, 22, "3. Czas", ""},
            {10, 22, "A. Modu\x88 PFRON", ""}};
}

int Choose(std::vector<int> keys, int start = 1, bool wrap = false) {
    HeadlessRuntime h(keys);
    h.rt.set_menu_wrap(wrap);
    int choice = start;
    RunMenu(h.rt, Entries(), &choice);
    return choice;
}

TEST(Menu, NavigationKeysAndChoosing) {
    EXPECT_EQ(Choose({key::kEnter}), 1);
    EXPECT_EQ(Choose({key::kDown, key::kDown, key::kEnter}), 3);
    EXPECT_EQ(Choose({key::kEnd, key::kPgDn}), 4);
    EXPECT_EQ(Choose({key::kEnd, key::kHome, key::kPgUp}), 1);
    EXPECT_EQ(Choose({key::kRight, key::kLeft, key::kRight, key::kEnter}), 2);
    EXPECT_EQ(Choose({key::kEsc}, 3), 0);
    EXPECT_EQ(Choose({key::kEnter}, 3), 3);   // the previous choice is where the bar starts
    EXPECT_EQ(Choose({key::kEnter}, 17), 1);  // out of range: the first entry
}

TEST(Menu, WrapOnlyWhenAsked) {
    EXPECT_EQ(Choose({key::kEnd, key::kDown, key::kEnter}), 4);
    EXPECT_EQ(Choose({key::kUp, key::kEnter}), 1);
    EXPECT_EQ(Choose({key::kEnd, key::kDown, key::kEnter}, 1, true), 1);
    EXPECT_EQ(Choose({key::kUp, key::kEnter}, 1, true), 4);
}

TEST(Menu, HotCharacterChoosesAtOnceAndUnknownOnesAreIgnored) {
    EXPECT_EQ(Choose({'3'}), 3);
    EXPECT_EQ(Choose({'a'}), 4);                 // compared in upper case
    EXPECT_EQ(Choose({'b', 'z', '9', '2'}), 2);  // no entry begins with b, z or 9
}

TEST(Menu, DrawsTheBarAndRunsHotKeysWhileWaiting) {
    HeadlessRuntime h({key::kDown, key::F(1), key::kEnter});
    int f1 = 0;
    h.con.keyboard().Bind(key::F(1), [&] { ++f1; });
    h.con.screen().SetCursorShape(console::CursorShape::kBlock);
    int choice = 1;
    RunMenu(h.rt, Entries(), &choice);
    EXPECT_EQ(choice, 2);
    EXPECT_EQ(f1, 1);
    // The operator saw the bar on the second entry, in inverse, the others plain.
    EXPECT_EQ(h.backend.shown().At(8, 22).attr, console::MakeAttr(0, 7));
    EXPECT_EQ(h.backend.shown().At(7, 22).attr, h.con.colour().standard);
    EXPECT_EQ(h.At(10, 22, 15), "A. Moduł PFRON ");
    EXPECT_EQ(h.backend.shown().cursor_shape(), console::CursorShape::kNone);
    EXPECT_EQ(h.con.screen().cursor_shape(), console::CursorShape::kBlock);  // restored
}

TEST(Menu, HelpLinesAtTheMessageRow) {
    HeadlessRuntime h({key::kDown, key::kEnter});
    std::vector<MenuEntry> e = {{7, 22, "1. Koniec", "Powr\xA2t"}, {8, 22, "2. Dalej", "Dalsze"}};
    int choice = 1;
    RunMenu(h.rt, e, &choice);
    EXPECT_EQ(h.At(0, 0, 7), "Dalsze ");  // the longer message was blanked out
}

TEST(Menu, WrapperTakesEscAsTheFirstEntryAndShowsTheWait) {
    HeadlessRuntime h({key::kDown, key::kEsc});
    int choice = 1;
    Menu2(h.rt, Entries(), &choice);
    EXPECT_EQ(choice, 1);
    EXPECT_EQ(h.At(0, 60, 9), "CZEKAJ...");
}

TEST(Menu, ChangedConfigurationReturnsAtOnceAndAbandons) {
    HeadlessRuntime h({'3'});
    int choice = 2;
    EXPECT_THROW(Menu2(h.rt, Entries(), &choice, [] { return true; }), Abandon);
    EXPECT_EQ(choice, 1);             // the stuffed Esc, not the operator's '3'
    EXPECT_EQ(h.con.NextKey(), '3');  // the operator's key is still there
}

TEST(Menu, SubMenuNumbersEntriesAndLoopsUntilKoniec) {
    HeadlessRuntime h({'2', '2', '3', key::kEsc});
    std::vector<int> ran;
    std::vector<SubMenuItem> items = {{"Koniec", nullptr},
                                      {"Rejestracja", [&] { ran.push_back(2); }},
                                      {"Zwolnienie", [&] { ran.push_back(3); }}};
    for (int i = 4; i <= 11; ++i) items.push_back({"Pozycja " + std::to_string(i), nullptr});
    RunSubMenu(h.rt, "2. Kartoteka pracownicza", "2.", items);
    EXPECT_EQ(ran, (std::vector<int>{2, 2, 3}));
    EXPECT_EQ(h.At(4, 22, 24), "2. Kartoteka pracownicza");
    EXPECT_EQ(h.At(7, 22, 11), "2.1. Koniec");
    EXPECT_EQ(h.At(15, 22, 15), "2.9. Pozycja 9 ");
    EXPECT_EQ(h.At(16, 22, 16), "2.A. Pozycja 10 ");
    EXPECT_EQ(h.At(17, 22, 16), "2.B. Pozycja 11 ");
}

TEST(Menu, SecondLevelSubMenuShowsTheFullNumberInFrontOfEachEntry) {
    HeadlessRuntime h({key::kEsc});
    const std::vector<SubMenuItem> items = {{"Koniec", nullptr},
                                            {h.rt.Text("Reorganizacja zbiorów"), nullptr},
                                            {h.rt.Text("Edycja zbiorów"), nullptr}};
    RunSubMenu(h.rt, "9.5. Funkcje awaryjne", "9.5.", items);
    EXPECT_EQ(h.At(7, 22, 13), "9.5.1. Koniec");
    EXPECT_EQ(h.At(8, 22, 28), "9.5.2. Reorganizacja zbiorów");
    EXPECT_EQ(h.At(9, 22, 21), "9.5.3. Edycja zbiorów");
}

}  // namespace
}  // namespace kestrel::common
