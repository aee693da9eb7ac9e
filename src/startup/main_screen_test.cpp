#include "startup/main_screen.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"
#include "platform/console/headless_backend.h"

namespace kestrel::startup {
namespace {

TEST(MainScreen, ShortNameIsSpacedWhenShortAndCentred) {
    EXPECT_EQ(FormatShortName("ABC"), "       A B C        ");
    EXPECT_EQ(FormatShortName("  ABC  "), "       A B C        ");
    EXPECT_EQ(FormatShortName("0123456789"), "0 1 2 3 4 5 6 7 8 9 ");
    EXPECT_EQ(FormatShortName("PRZEDSIEBIORSTWO"), "  PRZEDSIEBIORSTWO  ");
    EXPECT_EQ(FormatShortName(""), std::string(20, ' '));
    EXPECT_EQ(FormatShortName(std::string(25, 'X')), std::string(20, 'X'));
}

// A runtime over a headless console at 09:05, in the colour set.
struct Desk {
    console::HeadlessBackend backend;
    console::Console con{backend};
    base::FixedClock clock{base::LocalTime{2026, 12, 8, 9, 5, 0}};
    common::Runtime rt{con, clock};
    Desk() { rt.set_colours(common::kColourSet); }
    std::string Row(int r) const { return codepage::ToUtf8(con.screen().RowText(r)); }
};

TEST(MainScreen, FrameCellsAndTitleLine) {
    Desk d;
    console::Console& con = d.con;
    DrawMainScreen(d.rt, FormatShortName("ABC"));
    auto row = [&](int r) { return codepage::ToUtf8(con.screen().RowText(r)); };
    auto rep = [](const char* s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i) r += s;
        return r;
    };
    EXPECT_EQ(row(1), "╔" + rep("═", 20) + "╦" + rep("═", 35) + "╦" + rep("═", 20) + "╗ ");
    EXPECT_EQ(row(2),
              "║       A B C        ║   System Kadrowo-Płacowy KESTREL  ║ 2026-12-08  09:05  ║ ");
    EXPECT_EQ(row(3), "╠" + rep("═", 20) + "╩" + rep("═", 35) + "╩" + rep("═", 20) + "╣ ");
    EXPECT_EQ(row(22).substr(0, 3), "║");
    EXPECT_EQ(codepage::ToUtf8(con.screen().Text(22, 39, 2)), "┬─");
    EXPECT_EQ(codepage::ToUtf8(con.screen().Text(24, 0, 1)), "╚");
    EXPECT_EQ(codepage::ToUtf8(con.screen().Text(24, 39, 1)), "═");
    EXPECT_EQ(codepage::ToUtf8(con.screen().Text(23, 39, 1)), "│");
    EXPECT_EQ(con.screen().At(24, 79).ch, ' ');
    EXPECT_EQ(con.screen().At(2, 25).attr, console::MakeAttr(14, 1));  // GR+/B
}

TEST(MainScreen, TitleAndUserLegendFollowTheLetterSet) {
    const std::string title = "║   System Kadrowo-Płacowy KESTREL  ║";
    const std::string legend = "║<Alt+U>-Użytkownik ";
    Desk cp852;  // the CP852 set: the letters as written
    DrawMainScreen(cp852.rt, FormatShortName("ABC"));
    DrawMainLegends(cp852.rt, true);
    EXPECT_EQ(cp852.Row(2).substr(23, title.size()), title) << cp852.Row(2);
    EXPECT_EQ(cp852.Row(21).substr(0, legend.size()), legend) << cp852.Row(21);

    Desk plain;
    plain.rt.set_letters(common::MakeLetterSet(common::kPolishPlain));
    DrawMainScreen(plain.rt, FormatShortName("ABC"));
    DrawMainLegends(plain.rt, true);
    const std::string plain_title = "║   System Kadrowo-Placowy KESTREL  ║";
    const std::string plain_legend = "║<Alt+U>-Uzytkownik ";
    EXPECT_EQ(plain.Row(2).substr(23, plain_title.size()), plain_title) << plain.Row(2);
    EXPECT_EQ(plain.Row(21).substr(0, plain_legend.size()), plain_legend) << plain.Row(21);
}

}  // namespace
}  // namespace kestrel::startup
