#include "platform/console/colour.h"

#include <gtest/gtest.h>

namespace kestrel::console {
namespace {

TEST(ColourPair, LettersBrightBlinkAndSpecials) {
    struct Case {
        const char* text;
        Attr attr;
    } cases[] = {
        {"W+/B", MakeAttr(15, 1)},
        {"N/W", MakeAttr(0, 7)},
        {"GR+/BG", MakeAttr(14, 3)},
        {"GR+*/BG", MakeAttr(14, 3, true)},
        {"W+*/B", MakeAttr(15, 1, true)},
        {"RB/R", MakeAttr(5, 4)},
        {"G+/B", MakeAttr(10, 1)},
        {"W", MakeAttr(7, 0)},
        {"W+", MakeAttr(15, 0)},
        {"I", MakeAttr(0, 7)},
        {"I*", MakeAttr(0, 7, true)},
        {"N*/W", MakeAttr(0, 7, true)},
        {"X", MakeAttr(0, 0)},
        {"U", MakeAttr(1, 0)},
        {"B+", MakeAttr(9, 0)},
        {"w+/b", MakeAttr(15, 1)},
        {"N/W+", MakeAttr(8, 7)},
        {"15/1", MakeAttr(15, 1)},
        {"RG/N", MakeAttr(6, 0)},
    };
    for (const auto& c : cases) {
        auto attr = ParseColourPair(c.text);
        ASSERT_TRUE(attr.has_value()) << c.text;
        EXPECT_EQ(*attr, c.attr) << c.text;
    }
    for (const char* bad : {"Q/B", "W/Z", "16/0", "W/B/x"})
        EXPECT_FALSE(ParseColourPair(bad)) << bad;
}

TEST(ColourSpec, FiveSlotsAndEmptyPartsKeepTheBase) {
    auto spec = ParseColourSpec("W+/B,N/W,,,N/W");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->standard, MakeAttr(15, 1));
    EXPECT_EQ(spec->enhanced, MakeAttr(0, 7));
    EXPECT_EQ(spec->border, ColourSpec{}.border);
    EXPECT_EQ(spec->background, ColourSpec{}.background);
    EXPECT_EQ(spec->unselected, MakeAttr(0, 7));

    // A short colour text changes only what it names.
    auto over = ParseColourSpec("GR+/B", *spec);
    ASSERT_TRUE(over);
    EXPECT_EQ(over->standard, MakeAttr(14, 1));
    EXPECT_EQ(over->enhanced, MakeAttr(0, 7));

    auto cb = ParseColourSpec("N/W,N/W,W+/B,W+/B");
    ASSERT_TRUE(cb);
    EXPECT_EQ(cb->border, MakeAttr(15, 1));
    EXPECT_EQ(cb->background, MakeAttr(15, 1));

    auto mono = ParseColourSpec("W,I,,,I");
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->enhanced, MakeAttr(0, 7));

    EXPECT_FALSE(ParseColourSpec("W+/B,XY/Q"));
    auto empty = ParseColourSpec("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, ColourSpec{});
}

}  // namespace
}  // namespace kestrel::console
