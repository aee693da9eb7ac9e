#include "common/screen/text_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::common {
namespace {

// The lines of a buffer, a soft-wrapped one marked with "~" at its end.
std::string Lines(const TextBuffer& b) {
    std::string out;
    for (int i = 0; i < b.line_count(); ++i) {
        out += "[" + b.line(i) + "]";
        if (b.soft(i)) out += "~";
        out += "\n";
    }
    return out;
}

std::string Cursor(const TextBuffer& b) {
    return std::to_string(b.row()) + ":" + std::to_string(b.col());
}

// A formula of the standard set, 96 bytes on one line.
const std::string kLong =
    "if(SUMASKLAD({\"B1*\",\"B2*\"},0)>0, yround(SUMASKLAD(\"B*\")*ren1(),2), "
    "yround(BR1O*pod()-ULGA,0))";

TEST(WrapParagraph, CutsAfterTheLastBlankThatFitsAndCutsLongWordsAtTheWidth) {
    struct Case {
        std::string text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"", 54, {""}},
        {std::string(54, 'x'), 54, {std::string(54, 'x')}},  // exactly full: one line
        {"abc def ghi", 8, {"abc def ", "ghi"}},
        {"abc defgh", 8, {"abc ", "defgh"}},
        {"abcdefghijkl", 5, {"abcde", "fghij", "kl"}},  // a word longer than the line
        {"ab cdefghijkl", 5, {"ab ", "cdefg", "hijkl"}},
        {"abcd efgh", 4, {"abcd", " ", "efgh"}},  // the blank at the width starts a line
    };
    for (const Case& c : cases) EXPECT_EQ(WrapParagraph(c.text, c.width), c.lines) << c.text;
    // At 54 the standard formula is cut after the blanks of its arguments.
    const std::vector<std::string> lines = WrapParagraph(kLong, 54);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "if(SUMASKLAD({\"B1*\",\"B2*\"},0)>0, ");
    EXPECT_EQ(lines[1], "yround(SUMASKLAD(\"B*\")*ren1(),2), ");
    EXPECT_EQ(lines[0] + lines[1] + lines[2], kLong);
}

TEST(TextBuffer, SoftBreaksAreWrittenAndForeignOnesReflowed) {
    TextBuffer b(54);
    b.Load(kLong + "\r\nNORM*2");
    const std::string stored =
        "if(SUMASKLAD({\"B1*\",\"B2*\"},0)>0, \x8D\n"
        "yround(SUMASKLAD(\"B*\")*ren1(),2), \x8D\n"
        "yround(BR1O*pod()-ULGA,0))";
    EXPECT_EQ(b.line_count(), 4);
    EXPECT_TRUE(b.soft(0) && b.soft(1) && !b.soft(2));
    EXPECT_EQ(b.Stored(), stored + "\r\nNORM*2");
    // A text wrapped by another editor at 20 comes back wrapped at 54, and
    // the same bytes once the breaks are removed.
    std::string foreign;
    for (const std::string& l : WrapParagraph(kLong, 20)) foreign += l + "\x8D\n";
    foreign.resize(foreign.size() - 2);
    b.Load(foreign);
    EXPECT_EQ(b.line_count(), 3);
    EXPECT_EQ(b.Stored(), stored);
    // A lone LF or CR ends a paragraph; 0x1A is no text; empty lines at the end go.
    b.Load("A\nB\rC\x1A\r\n\r\n");
    EXPECT_EQ(b.Stored(), "A\r\nB\r\nC");
}

TEST(TextBuffer, TypingReflowsTheParagraphAndTheCursorFollowsItsByte) {
    TextBuffer b(10);
    b.Load("aaaa bbbb cccc\r\nzz");
    EXPECT_EQ(Lines(b), "[aaaa bbbb ]~\n[cccc]\n[zz]\n");
    // A word typed at the beginning pushes "bbbb" down.
    for (char c : std::string("xx ")) ASSERT_TRUE(b.Type(c, true));
    EXPECT_EQ(Lines(b), "[xx aaaa ]~\n[bbbb cccc]\n[zz]\n");
    EXPECT_EQ(Cursor(b), "0:3");
    // Typing at the end of a full line goes on at the next line.
    b.MoveTo(1, 9);
    ASSERT_TRUE(b.Type('c', true));
    ASSERT_TRUE(b.Type('d', true));
    EXPECT_EQ(Lines(b), "[xx aaaa ]~\n[bbbb ]~\n[cccccd]\n[zz]\n");
    EXPECT_EQ(Cursor(b), "2:6");
    // Deleting brings the word back up.
    ASSERT_TRUE(b.Backspace());
    ASSERT_TRUE(b.Backspace());
    EXPECT_EQ(Lines(b), "[xx aaaa ]~\n[bbbb cccc]\n[zz]\n");
    EXPECT_EQ(Cursor(b), "1:9");
    // Overwriting replaces the byte under the cursor and appends at the end.
    b.MoveTo(2, 0);
    ASSERT_TRUE(b.Type('y', false));
    ASSERT_TRUE(b.Type('y', false));
    ASSERT_TRUE(b.Type('!', false));
    EXPECT_EQ(b.line(2), "yy!");
}

TEST(TextBuffer, AWordLongerThanTheLineIsCutAndJoinsAgainWhenStored) {
    TextBuffer b(54);
    const std::string word(70, 'W');
    for (char c : word) ASSERT_TRUE(b.Type(c, true));
    EXPECT_EQ(Lines(b), "[" + std::string(54, 'W') + "]~\n[" + std::string(16, 'W') + "]\n");
    EXPECT_EQ(Cursor(b), "1:16");
    EXPECT_EQ(b.Stored(), std::string(54, 'W') + "\x8D\n" + std::string(16, 'W'));
}

TEST(TextBuffer, EnterBackspaceDeleteAndDeleteLineWorkOnParagraphs) {
    TextBuffer b(10);
    b.Load("aaaa bbbb cccc");
    b.MoveTo(1, 2);  // "cc|cc"
    ASSERT_TRUE(b.Enter());
    EXPECT_EQ(Lines(b), "[aaaa bbbb ]~\n[cc]\n[cc]\n");
    EXPECT_EQ(Cursor(b), "2:0");
    // Backspace at a paragraph's beginning joins it to the previous one.
    ASSERT_TRUE(b.Backspace());
    EXPECT_EQ(Lines(b), "[aaaa bbbb ]~\n[cccc]\n");
    EXPECT_EQ(Cursor(b), "1:2");
    // Backspace at a wrapped line's beginning deletes the byte before it.
    b.MoveTo(1, 0);
    ASSERT_TRUE(b.Backspace());
    EXPECT_EQ(Lines(b), "[aaaa ]~\n[bbbbcccc]\n");
    // Del at a paragraph's end joins the next paragraph.
    b.Load("ab\r\ncd\r\nef");
    b.MoveTo(0, 2);
    ASSERT_TRUE(b.Delete());
    EXPECT_EQ(b.Stored(), "abcd\r\nef");
    b.MoveTo(1, 2);
    EXPECT_FALSE(b.Delete());  // nothing after the last byte
    EXPECT_FALSE((b.MoveTo(0, 0), b.Backspace()));
    // Ctrl+Y: a one-line paragraph goes with its break ...
    b.Load("ab\r\ncd\r\nef");
    b.MoveTo(1, 1);
    ASSERT_TRUE(b.DeleteLine());
    EXPECT_EQ(b.Stored(), "ab\r\nef");
    EXPECT_EQ(Cursor(b), "1:0");
    // ... a wrapped line only with its bytes, the rest re-wrapped.
    b.Load("aaaa bbbb cccc dddd eeee");
    b.MoveTo(1, 3);
    ASSERT_TRUE(b.DeleteLine());
    EXPECT_EQ(Lines(b), "[aaaa bbbb ]~\n[eeee]\n");
    EXPECT_EQ(Cursor(b), "1:0");
    // The last line left is emptied, not removed.
    b.Load("x");
    ASSERT_TRUE(b.DeleteLine());
    EXPECT_EQ(b.line_count(), 1);
    EXPECT_EQ(b.Stored(), "");
}

TEST(TextBuffer, InsertPutsTextAtTheCursorWithItsParagraphs) {
    TextBuffer b(54);
    b.Load("NORM + N100");
    b.MoveTo(0, 7);
    ASSERT_TRUE(b.Insert("N50 + "));
    EXPECT_EQ(b.Stored(), "NORM + N50 + N100");
    EXPECT_EQ(Cursor(b), "0:13");
    // A stored formula's soft breaks go; its paragraphs stay.
    b.MoveTo(0, 0);
    ASSERT_TRUE(b.Insert("2*\x8D\n(A\r\nB)"));
    EXPECT_EQ(b.Stored(), "2*(A\r\nB)NORM + N50 + N100");
    EXPECT_EQ(Cursor(b), "1:2");
    // Nothing is inserted past the maximum length.
    TextBuffer small(54, 5);
    small.Load("abc");
    small.End();
    EXPECT_FALSE(small.Insert("def"));
    EXPECT_EQ(small.Stored(), "abc");
    EXPECT_TRUE(small.Type('d', true));
    EXPECT_TRUE(small.Type('e', true));
    EXPECT_FALSE(small.Type('f', true));
    EXPECT_FALSE(small.Type('Z', false));  // overwriting at the end appends: refused
    EXPECT_EQ(small.Stored(), "abcde");
}

TEST(TextBuffer, Cp852LettersStayLettersNextToLineBreaks) {
    // "Ź" is 0x8D in CP852, the soft break's first byte: only 0x8D LF is a break.
    TextBuffer b(6);
    b.Load("WYNAG\x8D\r\nDO\x8D\x8D\nP\x9D");  // "Ł" is 0x9D
    EXPECT_EQ(b.line(0), "WYNAG\x8D");
    EXPECT_EQ(b.line(1),
              "DO\x8D"
              "P\x9D");
    // Typed "Ź" at a line's end, then a wrap: the stored text reads back the same.
    TextBuffer c(4);
    for (int ch : {0x41, 0x42, 0x43, 0x8D, 0xA5, 0x8D})  // A B C Ź ą Ź
        ASSERT_TRUE(c.Type(static_cast<unsigned char>(ch), true));
    EXPECT_EQ(c.Stored(), "ABC\x8D\x8D\n\xA5\x8D");
    TextBuffer d(4);
    d.Load(c.Stored());
    EXPECT_EQ(d.line(0), "ABC\x8D");
    EXPECT_EQ(d.line(1), "\xA5\x8D");
}

TEST(TextBuffer, CursorMovesOverLinesAndKeepsItsColumn) {
    TextBuffer b(10);
    b.Load("abcdefgh\r\nab\r\nabcdefgh");
    b.MoveTo(0, 6);
    b.Down();
    EXPECT_EQ(Cursor(b), "1:2");  // the short line
    b.Down();
    EXPECT_EQ(Cursor(b), "2:6");  // back at the column aimed at
    b.Right();
    b.Right();
    b.Right();
    EXPECT_EQ(Cursor(b), "2:8");  // the end of the text holds it
    b.MoveTo(1, 0);
    b.Left();
    EXPECT_EQ(Cursor(b), "0:8");
    b.Right();
    EXPECT_EQ(Cursor(b), "1:0");
    b.Up(5);
    EXPECT_EQ(b.row(), 0);
    b.Bottom();
    EXPECT_EQ(Cursor(b), "2:8");
    b.Top();
    EXPECT_EQ(Cursor(b), "0:0");
}

}  // namespace
}  // namespace kestrel::common
