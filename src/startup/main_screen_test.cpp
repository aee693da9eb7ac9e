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

TEST(MainScreen, FrameCellsAndTitleLine) {
    console::HeadlessBackend backend;
    console::Console con(backend);
    DrawMainScreen(con, common::kColourSet, FormatShortName("ABC"),
                   base::LocalTime{2026, 12, 8, 9, 5, 0});
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

}  // namespace
}  // namespace kestrel::startup
