#include "platform/console/screen.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::console {
namespace {

const Attr kA = MakeAttr(15, 1);
const Attr kB = MakeAttr(0, 7);

TEST(Screen, WritesAreClippedAndMarkOnlyChangedRowsDamaged) {
    Screen s;
    s.ClearDamage();
    EXPECT_EQ(s.Write(3, 76, "ABCDEFG", kA), 83);
    EXPECT_EQ(s.Text(3, 76, 4), "ABCD");
    EXPECT_TRUE(s.RowDamaged(3));
    EXPECT_FALSE(s.RowDamaged(2));
    s.Write(-1, 0, "X", kA);
    s.Write(25, 0, "X", kA);
    s.Write(0, -3, "XYZW", kA);
    EXPECT_EQ(s.Text(0, 0, 1), "W");

    s.ClearDamage();
    s.Write(3, 76, "ABCD", kA);  // same contents: nothing to repaint
    EXPECT_FALSE(s.AnyDamage());
    s.Paint(3, 76, 3, 76, kB);
    EXPECT_TRUE(s.RowDamaged(3));
    EXPECT_EQ(s.At(3, 76).attr, kB);
    EXPECT_EQ(s.At(3, 76).ch, 'A');
}

TEST(Screen, FramesUseTheEightCharacters) {
    Screen s;
    s.Box(1, 0, 4, 5, kFrameDouble, kA);
    EXPECT_EQ(codepage::ToUtf8(s.Text(1, 0, 6)), "╔════╗");
    EXPECT_EQ(codepage::ToUtf8(s.Text(2, 0, 6)), "║    ║");
    EXPECT_EQ(codepage::ToUtf8(s.Text(4, 0, 6)), "╚════╝");
    // The main screen's header cell: its own corner characters.
    s.Box(1, 0, 3, 21, "\xC9\xCD\xCB\xBA\xCA\xCD\xCC\xBA", kA);
    EXPECT_EQ(codepage::ToUtf8(s.Text(1, 21, 1)), "╦");
    EXPECT_EQ(codepage::ToUtf8(s.Text(3, 0, 1)), "╠");
    EXPECT_EQ(codepage::ToUtf8(s.Text(3, 21, 1)), "╩");
    // A ninth character fills the inside.
    s.Box(10, 10, 13, 14, std::string(kFrameSingle) + "\xB0", kB);
    EXPECT_EQ(codepage::ToUtf8(s.Text(11, 10, 5)), "│░░░│");
}

TEST(Screen, SaveAndRestoreARegion) {
    Screen s;
    s.Fill(0, 0, 24, 79, '.', kA);
    s.Write(5, 10, "under", kB);
    ScreenRegion saved = s.Save(4, 8, 6, 20);
    s.Box(3, 5, 8, 30, kFrameSingle, kB);
    s.Clear(4, 6, 7, 29, kA);
    s.ClearDamage();
    s.Restore(saved);
    EXPECT_EQ(s.Text(5, 10, 5), "under");
    EXPECT_EQ(s.At(5, 10).attr, kB);
    EXPECT_EQ(s.Text(4, 8, 13), std::string(13, '.'));
    EXPECT_EQ(s.Text(4, 7, 1), " ");  // outside the region: not restored
    EXPECT_TRUE(s.RowDamaged(5));
    EXPECT_FALSE(s.RowDamaged(3));

    // A region partly off the screen is clipped, and restores the same.
    ScreenRegion edge = s.Save(23, 75, 30, 90);
    EXPECT_EQ(edge.cells.size(), 2u * 5u);
    s.Fill(23, 75, 24, 79, 'x', kA);
    s.Restore(edge);
    EXPECT_EQ(s.Text(24, 75, 5), ".....");
}

TEST(Screen, DumpIsTwentyFiveLinesOfEightyCharacters) {
    Screen s;
    s.Write(0, 0, "Za\xBE\xA2\x88\x86 g\xA9\x98l\xA5 ja\xAB\xE4", kA);  // Zażółć gęślą jaźń
    s.Write(24, 79, "\x01", kA);
    std::string dump = s.DumpUtf8();
    size_t lines = 0;
    size_t start = 0;
    for (size_t nl; (nl = dump.find('\n', start)) != std::string::npos; start = nl + 1, ++lines) {
        std::string line = dump.substr(start, nl - start);
        size_t chars = 0;
        for (unsigned char c : line) chars += (c & 0xC0) != 0x80;
        EXPECT_EQ(chars, 80u) << "line " << lines;
    }
    EXPECT_EQ(lines, 25u);
    EXPECT_EQ(dump.rfind("Zażółć gęślą jaźń ", 0), 0u);
    EXPECT_NE(dump.find("☺\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::console
