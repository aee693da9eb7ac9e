#include "platform/base/text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/codepage/cp852.h"

namespace kestrel::base {
namespace {

struct TrimCase {
    std::string_view in;
    std::string_view left, right, both, whitespace;
};

TEST(Text, TrimsBlanksOnly) {
    const TrimCase cases[] = {
        {"", "", "", "", ""},
        {"   ", "", "", "", ""},
        {"abc", "abc", "abc", "abc", "abc"},
        {"  abc", "abc", "  abc", "abc", "abc"},
        {"abc  ", "abc  ", "abc", "abc", "abc"},
        {" a b ", "a b ", " a b", "a b", "a b"},
        // Tabs and line ends are not blanks for the xBase trims.
        {"\tab \r\n", "\tab \r\n", "\tab \r\n", "\tab \r\n", "ab"},
        {" \t x\t ", "\t x\t ", " \t x\t", "\t x\t", "x"},
        {"\r\n", "\r\n", "\r\n", "\r\n", ""},
        // A CP852 letter and the no-break space 0xFF are not blanks.
        {" \xA5\xFF ", "\xA5\xFF ", " \xA5\xFF", "\xA5\xFF", "\xA5\xFF"},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.in << "\"");
        EXPECT_EQ(TrimLeft(c.in), c.left);
        EXPECT_EQ(TrimRight(c.in), c.right);
        EXPECT_EQ(Trim(c.in), c.both);
        EXPECT_EQ(TrimWhitespace(c.in), c.whitespace);
    }
}

TEST(Text, PaddingIsTrailingBlanksAndNuls) {
    using namespace std::string_literals;
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},          {"ab", "ab"},        {"ab  ", "ab"},
        {"ab\0\0"s, "ab"}, {"ab \0 \0"s, "ab"}, {" \0a\0b \0"s, " \0a\0b"s},
        {"\0 \0"s, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimPadding(c.in), c.out) << c.in.size();
    // The blank trims leave NULs.
    EXPECT_EQ(TrimRight("ab\0"s), "ab\0"s);
}

TEST(Text, BlankMeansOnlyBlanks) {
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("    "));
    EXPECT_FALSE(IsBlank("  x "));
    EXPECT_FALSE(IsBlank("\t"));
    EXPECT_FALSE(IsBlank(std::string_view("\0", 1)));
}

TEST(Text, AsciiCaseLeavesCodePageBytes) {
    const struct {
        std::string_view in, upper, lower;
    } cases[] = {
        {"", "", ""},
        {"pkprac.dbf", "PKPRAC.DBF", "pkprac.dbf"},
        {"Naglpl_1", "NAGLPL_1", "naglpl_1"},
        {"@[`{az]AZ", "@[`{AZ]AZ", "@[`{az]az"},
        // ą and Ą stay as they are.
        {"\xA5\xA4x", "\xA5\xA4X", "\xA5\xA4x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AsciiUpper(c.in), c.upper) << c.in;
        EXPECT_EQ(AsciiLower(c.in), c.lower) << c.in;
    }
}

TEST(Text, Cp852UpperOfThePolishLetters) {
    ASSERT_EQ(kPolishCp852.size(), 18u);
    EXPECT_EQ(codepage::ToUtf8(kPolishCp852), "ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(Cp852Upper(kPolishCp852[i + 9]), kPolishCp852[i]) << i;
        EXPECT_EQ(Cp852Upper(kPolishCp852[i]), kPolishCp852[i]) << i;
    }
    EXPECT_EQ(codepage::ToUtf8(Cp852Upper(codepage::FromUtf8("Zażółć gęślą jaźń"))),
              "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
}

TEST(Text, Cp852UpperOfTheWholeAlphabet) {
    ASSERT_EQ(kAlphabetLowerCp852.size(), kAlphabetUpperCp852.size());
    // Every small letter's capital is the same letter in Unicode upper case
    // (ß has none and stays).
    EXPECT_EQ(codepage::ToUtf8(Cp852Upper(kAlphabetLowerCp852)),
              codepage::ToUtf8(kAlphabetUpperCp852));
    EXPECT_EQ(codepage::ToUtf8(Cp852Upper(codepage::FromUtf8("čřžůőüßéá"))), "ČŘŽŮŐÜßÉÁ");
    // Bytes that are no small letters stay: digits, capitals, box drawing.
    for (int i = 0; i < 256; ++i) {
        const char c = static_cast<char>(i);
        if (kAlphabetLowerCp852.find(c) != std::string_view::npos) continue;
        EXPECT_EQ(Cp852Upper(c), c) << i;
    }
}

}  // namespace
}  // namespace kestrel::base
