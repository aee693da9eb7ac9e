#include "common/screen/choice.h"

#include <gtest/gtest.h>

#include "common/session/working_date.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

const std::vector<std::string> kTexts = {"Styczen", "Luty", "Marzec", "Kwiecien", "Maj"};
const std::vector<bool> kSelectable = {true, false, true, false, true};

int Choose(std::vector<int> keys, int initial = 1, bool esc = true,
           const std::vector<bool>& selectable = kSelectable) {
    HeadlessRuntime h(std::move(keys));
    return Qrmach(h.rt, 5, 10, 7, 25, kTexts, selectable, initial, esc);
}

TEST(Qrmach, UnselectableRowsAreSkipped) {
    EXPECT_EQ(Choose({key::kEnter}), 1);
    EXPECT_EQ(Choose({key::kDown, key::kEnter}), 3);
    EXPECT_EQ(Choose({key::kDown, key::kDown, key::kEnter}), 5);
    EXPECT_EQ(Choose({key::kDown, key::kDown, key::kDown, key::kEnter}), 5);  // stays at the end
    EXPECT_EQ(Choose({key::kEnd, key::kUp, key::kEnter}), 3);
    EXPECT_EQ(Choose({key::kEnter}, 2), 3);  // starts on the next selectable row
    EXPECT_EQ(Choose({key::kEnter}, 4), 5);
    EXPECT_EQ(Choose({'m', key::kEnter}), 3);  // first letter; "Maj" comes after "Marzec"
    EXPECT_EQ(Choose({'m', 'm', key::kEnter}), 5);
    EXPECT_EQ(Choose({'l', key::kEnter}), 1);  // "Luty" cannot be chosen
}

TEST(Qrmach, EscLeftAndRightOnlyWhenAllowed) {
    EXPECT_EQ(Choose({key::kEsc}), 0);
    EXPECT_EQ(Choose({key::kLeft}), 0);
    EXPECT_EQ(Choose({key::kRight}), 0);
    EXPECT_EQ(Choose({key::kEsc, key::kLeft, key::kDown, key::kEnter}, 1, false), 3);
    EXPECT_EQ(Choose({}, 1, true, {false, false, false, false, false}), 0);
}

TEST(Qrmach, ScrollsAndColoursRows) {
    HeadlessRuntime h({key::kEnd, key::F(2), key::kEnter});
    std::string top_row, bar_row;
    console::Attr unselectable = 0, bar = 0;
    h.con.keyboard().Bind(key::F(2), [&] {
        top_row = h.At(5, 10, 16);
        bar_row = h.At(7, 10, 16);
        unselectable = h.con.screen().At(6, 10).attr;
        bar = h.con.screen().At(7, 10).attr;
    });
    EXPECT_EQ(Qrmach(h.rt, 5, 10, 7, 25, kTexts, kSelectable), 5);
    EXPECT_EQ(top_row, "Marzec          ");
    EXPECT_EQ(bar_row, "Maj             ");
    const auto ycow5 = *console::ParseColourSpec(h.rt.colours().ycow5);
    EXPECT_EQ(bar, ycow5.enhanced);
    EXPECT_EQ(unselectable, ycow5.unselected);
}

TEST(Qrmdate, SetsAndReturnsTheWorkingDate) {
    HeadlessRuntime h;
    EXPECT_EQ(Qrmdate(h.rt), (picture::Date{2026, 12, 8}));
    EXPECT_EQ(Qrmdate(h.rt, {2025, 1, 31}), (picture::Date{2025, 1, 31}));
    EXPECT_EQ(Qrmdate(h.rt), (picture::Date{2025, 1, 31}));
    EXPECT_EQ(Qrmdate(h.rt, {}), (picture::Date{2025, 1, 31}));  // no date: only returns it
    h.rt.ResetWorkingDate();
    EXPECT_EQ(Qrmdate(h.rt), (picture::Date{2026, 12, 8}));
}

}  // namespace
}  // namespace kestrel::common
