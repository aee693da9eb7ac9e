#include "platform/codepage/letter_sets.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <set>

namespace kestrel::codepage {
namespace {

constexpr std::string_view kPolishUtf8 = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";

struct SetLetters {
    char digit;
    std::string_view letters;  // Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż in that set
};

TEST(LetterSets, EighteenPolishLettersInEverySet) {
    const SetLetters sets[] = {
        {'1', "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE"},
        {'2', "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7"},
        {'3', "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"},
        {'4', "\xA1\xC6\xCA\xA3\xD1\xD3\xA6\xAC\xAF\xB1\xE6\xEA\xB3\xF1\xF3\xB6\xBC\xBF"},
        {'0', "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE"},
    };
    for (const SetLetters& s : sets) {
        EXPECT_EQ(ToUtf8(LetterSetOf(s.digit), s.letters), kPolishUtf8) << "set " << s.digit;
        EXPECT_EQ(ToUtf8(LetterSetOf(s.digit), "Lista 12,50 zl"), "Lista 12,50 zl");
    }
}

// The two standard sets against the system's own converter, byte by byte.
TEST(LetterSets, WindowsAndIsoAgreeWithIconv) {
    const std::pair<LetterSet, const char*> sets[] = {{LetterSet::kWindows1250, "CP1250"},
                                                      {LetterSet::kIso88592, "ISO-8859-2"}};
    for (const auto& [set, name] : sets) {
        iconv_t cd = iconv_open("UTF-32LE", name);
        ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << name;
        for (int b = 0xA0; b < 0x100; ++b) {
            char in = static_cast<char>(b);
            char32_t out = 0;
            char* ip = &in;
            char* op = reinterpret_cast<char*>(&out);
            size_t il = 1, ol = sizeof out;
            if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) continue;
            EXPECT_EQ(ToUnicode(set, static_cast<unsigned char>(b)), out) << name << " byte " << b;
        }
        iconv_close(cd);
    }
}

TEST(LetterSets, MazoviaKeepsTheRestOfThePcSetAndHolesAreReplaced) {
    // Box drawing and the signs of the PC set stay where they were.
    EXPECT_EQ(ToUnicode(LetterSet::kMazovia, 0xC4), U'─');
    EXPECT_EQ(ToUnicode(LetterSet::kMazovia, 0xC9), U'╔');
    EXPECT_EQ(ToUnicode(LetterSet::kMazovia, 0x81), U'ü');
    EXPECT_EQ(ToUnicode(LetterSet::kMazovia, 0xE1), U'ß');
    std::set<char32_t> seen;
    for (int b = 0x80; b < 0x100; ++b)
        EXPECT_TRUE(
            seen.insert(ToUnicode(LetterSet::kMazovia, static_cast<unsigned char>(b))).second)
            << "byte " << b << " shares its character";
    // Control bytes of ISO 8859-2 and the holes of Windows-1250 print nothing.
    EXPECT_EQ(ToUtf8(LetterSet::kIso88592, "a\x85z"), "a?z");
    EXPECT_EQ(ToUtf8(LetterSet::kWindows1250, "a\x81z", ' '), "a z");
}

}  // namespace
}  // namespace kestrel::codepage
