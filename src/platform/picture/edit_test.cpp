#include <gtest/gtest.h>

#include "platform/picture/edit.h"

namespace kestrel::picture {
namespace {

// Types each character of `keys`; '<' is Backspace, '^' Home, '>' Right,
// '~' Delete.
void Keys(EditBuffer& b, std::string_view keys, bool insert = false) {
    for (char k : keys) {
        switch (k) {
            case '<':
                b.Backspace();
                break;
            case '^':
                b.Home();
                break;
            case '>':
                b.Right();
                break;
            case '~':
                b.Delete();
                break;
            default:
                b.Type(static_cast<unsigned char>(k), insert);
                break;
        }
    }
}

TEST(PictureAccept, TemplateCharacters) {
    const struct {
        char t;
        char c;
        Kind kind;
        int expected;  // -1 = refused
    } cases[] = {
        {'9', '5', Kind::kText, '5'},    {'9', 'a', Kind::kText, -1},
        {'9', '-', Kind::kText, -1},     {'9', '-', Kind::kNumber, '-'},
        {'#', ' ', Kind::kText, ' '},    {'#', '+', Kind::kText, '+'},
        {'#', 'x', Kind::kText, -1},     {'A', 'x', Kind::kText, 'x'},
        {'A', '1', Kind::kText, -1},     {'N', '1', Kind::kText, '1'},
        {'N', '-', Kind::kText, -1},     {'X', '-', Kind::kText, '-'},
        {'!', 'q', Kind::kText, 'Q'},    {'L', 't', Kind::kText, 'T'},
        {'L', 'Y', Kind::kText, 'T'},    {'L', 'f', Kind::kText, 'N'},
        {'L', 'x', Kind::kText, -1},     {'Y', 'T', Kind::kText, 'Y'},
        {'L', 't', Kind::kLogical, 'T'}, {'L', 'T', Kind::kLogical, 'T'},
        {'L', 'Y', Kind::kLogical, 'T'}, {'L', 'n', Kind::kLogical, 'N'},
        {'L', 'F', Kind::kLogical, 'N'}, {'L', 'q', Kind::kLogical, -1},
        {'9', '1', Kind::kDate, '1'},    {'9', '-', Kind::kDate, -1},
    };
    for (const auto& c : cases) {
        const auto got = Accept(c.t, static_cast<unsigned char>(c.c), c.kind, false);
        EXPECT_EQ(got ? static_cast<int>(*got) : -1, c.expected) << c.t << " " << c.c;
    }
    EXPECT_EQ(*Accept('X', 'q', Kind::kText, true), 'Q');  // @! upper-cases every position
}

TEST(PictureEdit, LiteralsOfRPicturesAreSkippedAndLeftOutOfTheValue) {
    EditBuffer b = EditBuffer::ForText("", Parse("@R 99-999"), 5);
    EXPECT_EQ(b.text(), "  -   ");
    Keys(b, "00a950");  // the letter is refused
    EXPECT_EQ(b.text(), "00-950");
    EXPECT_TRUE(b.typed_out());
    EXPECT_EQ(b.TextValue(), "00950");
}

TEST(PictureEdit, LiteralsWithoutRAreInTheValue) {
    EditBuffer b = EditBuffer::ForText("", Parse("99-999"), 6);
    Keys(b, "12345");
    EXPECT_EQ(b.TextValue(), "12-345");
}

TEST(PictureEdit, InsertAndOverwrite) {
    EditBuffer over = EditBuffer::ForText("abcd", Parse(""), 6);
    Keys(over, "^>X");
    EXPECT_EQ(over.TextValue(), "aXcd  ");
    EditBuffer ins = EditBuffer::ForText("abcd", Parse(""), 6);
    Keys(ins, "^>X", true);
    EXPECT_EQ(ins.TextValue(), "aXbcd ");
    Keys(ins, "~");
    EXPECT_EQ(ins.TextValue(), "aXcd  ");
    Keys(ins, "<");
    EXPECT_EQ(ins.TextValue(), "acd   ");
    EXPECT_EQ(ins.pos(), 1);
}

TEST(PictureEdit, UpperCaseAndClearOnFirstKey) {
    EditBuffer b = EditBuffer::ForText("stary", Parse("@!K"), 8);
    EXPECT_EQ(b.text(), "STARY   ");
    Keys(b, "ab");
    EXPECT_EQ(b.TextValue(), "AB      ");
    // A cursor key first: nothing is cleared.
    EditBuffer c = EditBuffer::ForText("stary", Parse("@K"), 5);
    Keys(c, ">x");
    EXPECT_EQ(c.TextValue(), "sxary");
}

TEST(PictureEdit, EndGoesAfterTheText) {
    EditBuffer b = EditBuffer::ForText("ab", Parse(""), 6);
    b.End();
    EXPECT_EQ(b.pos(), 2);
    EditBuffer full = EditBuffer::ForText("abcdef", Parse(""), 6);
    full.End();
    EXPECT_EQ(full.pos(), 5);
}

TEST(PictureEdit, NumbersAreTypedAnew) {
    const struct {
        double start;
        const char* picture;
        int width, decimals;
        const char* keys;
        double expected;
    } cases[] = {
        {123.45, "", 9, 2, "7", 7},
        {123.45, "", 9, 2, "12.5", 12.5},
        {123.45, "", 9, 2, "12,5", 12.5},  // the comma also jumps to the decimals
        {123.45, "", 9, 2, ".5", 123.55},  // the integer part stays, decimals are overwritten
        {123.45, "", 9, 2, "", 123.45},    // untouched: the value as it was
        {0, "@E 9999,999.99", 0, 0, "1234567", 1234567},
        {0, "@E 9999,999.99", 0, 0, "-15,25", -15.25},
        {5, "999", 0, 0, "x", 5},  // refused: nothing changes
    };
    for (const auto& c : cases) {
        EditBuffer b = EditBuffer::ForNumber(c.start, Parse(c.picture), c.width, c.decimals);
        Keys(b, c.keys);
        EXPECT_DOUBLE_EQ(b.NumberValue(), c.expected) << c.picture << " " << c.keys;
    }
}

TEST(PictureEdit, DatesAndLogicals) {
    EditBuffer d = EditBuffer::ForDate({}, Parse(""));
    EXPECT_EQ(d.text(), "    -  -  ");
    EXPECT_EQ(d.DateValue(), Date{});
    Keys(d, "20240229");
    EXPECT_EQ(d.text(), "2024-02-29");
    EXPECT_EQ(d.DateValue(), (Date{2024, 2, 29}));
    EditBuffer bad = EditBuffer::ForDate({2026, 12, 8}, Parse(""));
    Keys(bad, "20230229");
    EXPECT_FALSE(bad.DateValue().has_value());
    EditBuffer partial = EditBuffer::ForDate({2026, 12, 8}, Parse(""));
    partial.End();
    Keys(partial, "<");
    EXPECT_FALSE(partial.DateValue().has_value());

    EditBuffer l = EditBuffer::ForLogical(false, Parse(""));
    EXPECT_EQ(l.text(), "N");
    Keys(l, "Y");
    EXPECT_TRUE(l.LogicalValue());
    EXPECT_TRUE(l.typed_out());
    Keys(l, "n");
    EXPECT_FALSE(l.LogicalValue());
}

TEST(PictureEdit, ScrollKeepsTheCursorInTheWindow) {
    EditBuffer b = EditBuffer::ForText("", Parse("@S5"), 12);
    EXPECT_EQ(b.Scroll(5), 0);
    Keys(b, "abcdefg");
    EXPECT_EQ(b.pos(), 7);
    EXPECT_EQ(b.Scroll(5), 3);
    b.Home();
    EXPECT_EQ(b.Scroll(5), 0);
    b.End();
    EXPECT_EQ(b.Scroll(5), 3);
}

}  // namespace
}  // namespace kestrel::picture
