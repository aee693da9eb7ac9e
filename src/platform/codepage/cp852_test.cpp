#include "platform/codepage/cp852.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrel::codepage {
namespace {

TEST(Cp852, EveryByteRoundTripsThroughUtf8) {
    std::set<char32_t> seen;
    for (int b = 0; b < 256; ++b) {
        char32_t u = ToUnicode(static_cast<unsigned char>(b));
        EXPECT_TRUE(seen.insert(u).second) << "byte " << b << " maps to a code point used twice";
        EXPECT_EQ(FromUnicode(u), b) << "byte " << b;
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(FromUtf8(ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(Cp852, DisplayGlyphsAreOneColumnAndReversible) {
    for (int b = 0; b < 256; ++b) {
        char32_t g = DisplayGlyph(static_cast<unsigned char>(b));
        EXPECT_GE(g, 0x20u) << "byte " << b << " would reach the terminal as a control";
        EXPECT_NE(g, 0xADu) << "soft hyphen is invisible";
        int back = FromDisplayGlyph(g);
        if (b >= 0x20 && b != 0xF0 && b != 0xFF) {
            EXPECT_EQ(back, b) << "byte " << b;
        } else {
            EXPECT_NE(back, -1) << "byte " << b;  // shown as something we can read back
        }
    }
    EXPECT_EQ(DisplayGlyph(0), U' ');
    EXPECT_EQ(FromDisplayGlyph(0x263A), 1);  // smiling face
}

TEST(Cp852, PolishLettersAtTheirBytes) {
    // Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż
    const std::string polish =
        "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE";
    const std::string utf8 = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
    EXPECT_EQ(ToUtf8(polish), utf8);
    EXPECT_EQ(FromUtf8(utf8), polish);
}

TEST(Cp852, BoxDrawingCharacters) {
    EXPECT_EQ(ToUtf8("\xC9\xCD\xBB\xBA\xC8\xBC"), "╔═╗║╚╝");
    EXPECT_EQ(ToUtf8("\xDA\xC4\xBF\xB3\xC0\xD9\xC2\xC1"), "┌─┐│└┘┬┴");
}

TEST(Cp852, MalformedOrForeignUtf8BecomesReplacement) {
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              "a?b");
    EXPECT_EQ(FromUtf8("\xC5"), "?");       // cut sequence
    EXPECT_EQ(FromUtf8("€", '_'), "_");     // no euro sign in 852
    EXPECT_EQ(FromUtf8("\xE2\x82"), "??");  // cut three-byte sequence
}

}  // namespace
}  // namespace kestrel::codepage
