#include <gtest/gtest.h>

#include "platform/picture/picture.h"

namespace kestrel::picture {
namespace {

TEST(PictureParse, FunctionsAndTemplate) {
    const Picture p = Parse("@E!KZBXCR 9,999.99");
    EXPECT_TRUE(p.decimal_comma && p.upper && p.clear_on_key && p.zero_blank && p.left_justify &&
                p.debit_mark && p.credit_mark && p.insert_literals);
    EXPECT_EQ(p.tmpl, "9,999.99");
    const Picture s = Parse("@s20!");
    EXPECT_EQ(s.scroll_width, 20);
    EXPECT_TRUE(s.upper);
    EXPECT_EQ(s.tmpl, "");
    EXPECT_EQ(Parse("@D").tmpl, "9999-99-99");
    EXPECT_EQ(Parse("99-999").tmpl, "99-999");
    EXPECT_FALSE(Parse("99-999").insert_literals);
}

TEST(PictureFormat, FixedDecimalsRoundTheDecimalTheDoubleStandsFor) {
    struct Case {
        double x;
        int decimals;
        const char* text;
    } cases[] = {
        {2.345, 2, "2.35"},
        {-2.345, 2, "-2.35"},
        {1.005, 2, "1.01"},
        {0.125, 2, "0.13"},
        {0.00499, 2, "0.00"},
        {-0.004, 2, "0.00"},
        {9.995, 2, "10.00"},
        {98.735, 2, "98.74"},
        {1234567.895, 2, "1234567.90"},
        {0.1 + 0.2, 2, "0.30"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {12.0, 3, "12.000"},
        {999999999999.995, 2, "1000000000000.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.x, c.decimals), c.text) << c.x;
}

TEST(PictureFormat, Numbers) {
    const struct {
        double x;
        const char* picture;
        int width, decimals;
        const char* expected;
    } cases[] = {
        {1234567.891, "@E 9999,999,999.99", 0, 0, "   1.234.567,89"},
        {-1234.5, "@E 9999,999.99", 0, 0, "  -1.234,50"},
        {0.5, "999.99", 0, 0, "  0.50"},
        {0, "@Z 999.99", 0, 0, "      "},
        {12345678, "@E 9999,999.99", 0, 0, "********,**"},
        {-123, "999", 0, 0, "***"},
        {2.345, "9.99", 0, 0, "2.35"},  // half away from zero despite the binary value
        {-2.345, "99.99", 0, 0, "-2.35"},
        {-0.001, "9.99", 0, 0, "0.00"},       // rounds to zero: no sign
        {999.995, "999.99", 0, 0, "***.**"},  // rounding carries past the template
        {12.5, "", 8, 2, "   12.50"},
        {12.5, "@B", 8, 2, "12.50   "},
        {123456, "", 4, 0, "****"},
        {-5, "@X 999", 0, 0, "  5 DB"},
        {5, "@X 999", 0, 0, "  5   "},
        {5, "@C 999", 0, 0, "  5 CR"},
        {-5, "@C 999", 0, 0, "  5   "},
        {1234, "@E 999,999", 0, 0, "  1.234"},
        {1234, "@B 999,999", 0, 0, "1,234  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.x, Parse(c.picture), c.width, c.decimals), c.expected)
            << c.x << " " << c.picture;
}

TEST(PictureFormat, TextDatesAndLogicals) {
    const struct {
        const char* text;
        const char* picture;
        const char* expected;
    } cases[] = {
        {"abc", "@!", "ABC"},
        {"12345678901", "@R 999-999-99-99", "123-456-78-90"},
        {"abcd", "X-X", "a-c"},  // without @R a literal is written over the text
        {"abc", "!XX", "Abc"},
        {"ab", "XXXX", "ab  "},
        {"00950", "@R 99-999", "00-950"},
        {"  ab", "@B", "ab  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatText(c.text, Parse(c.picture)), c.expected) << c.picture;

    CaseTable polish = PlainUpper();
    polish[0xA5] = 0xA4;  // CP852 small a-ogonek to its capital
    EXPECT_EQ(FormatText("\xA5la", Parse("@!"), polish), "\xA4LA");
    EXPECT_EQ(FormatText("\xA5la", Parse("@!"), PlainUpper()), "\xA5LA");

    EXPECT_EQ(FormatDate({2026, 12, 8}), "2026-12-08");
    EXPECT_EQ(FormatDate({}), "    -  -  ");
    EXPECT_EQ(FormatLogical(true, Parse("")), "T");
    EXPECT_EQ(FormatLogical(false, Parse(""), 'T', 'N'), "N");
    EXPECT_EQ(FormatLogical(false, Parse("Y")), "N");
    EXPECT_EQ(FormatLogical(true, Parse("Y")), "Y");
}

TEST(PictureFormat, DatesAreCheckedForRealDays) {
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(2026, 4, 31));
    EXPECT_FALSE(IsValidDate(2026, 13, 1));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
}

TEST(PictureFormat, NumberTemplates) {
    EXPECT_EQ(NumberTemplate(9, 2), "999999.99");
    EXPECT_EQ(NumberTemplate(6, 0), "999999");
    EXPECT_EQ(NumberTemplate(2, 2), "99");  // no room for the point
}

}  // namespace
}  // namespace kestrel::picture
