#include "platform/formula/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::formula {
namespace {

// "kind:text" for every token up to the end.
std::string Lex(std::string_view text) {
    Lexer lexer(text);
    std::string out;
    for (;;) {
        Token t = lexer.Next();
        if (t.kind == Tok::kEnd) break;
        if (!out.empty()) out += ' ';
        out += TokName(t.kind);
        if (t.kind == Tok::kIdent || t.kind == Tok::kString || t.kind == Tok::kNumber)
            out += ":" + std::string(t.text);
        if (t.kind == Tok::kError) break;
    }
    return out;
}

TEST(LexerTest, TokensOfTheLanguage) {
    const struct {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"a+b", "identifier:a + identifier:b"},
        {"x:=1", "identifier:x := number:1"},
        {"pkprac->nr_prac", "identifier:pkprac -> identifier:nr_prac"},
        {"a**2^3", "identifier:a ^ number:2 ^ number:3"},
        {"a!=b<>c#d", "identifier:a <> identifier:b <> identifier:c <> identifier:d"},
        {"a<=b>=c<d>e",
         "identifier:a <= identifier:b >= identifier:c < identifier:d > identifier:e"},
        {"a==b=c", "identifier:a == identifier:b = identifier:c"},
        {".t..and..F..OR..y..Not..n.", ".T. .AND. .F. .OR. .T. .NOT. .F."},
        {"!a$b", ".NOT. identifier:a $ identifier:b"},
        {"'x' \"y\" [z]", "string:x string:y string:z"},
        {"\"it's\" 'say \"hi\"'", "string:it's string:say \"hi\""},
        {"{1,2}", "{ number:1 , number:2 }"},
        {"%/*-", "% / * -"},
    };
    for (const auto& c : cases) EXPECT_EQ(Lex(c.text), c.tokens) << c.text;
}

TEST(LexerTest, BracketIsAStringUnlessSomethingCanBeIndexed) {
    EXPECT_EQ(Lex("a[1]"), "identifier:a [ number:1 ]");
    EXPECT_EQ(Lex("f(x)[2]"), "identifier:f ( identifier:x ) [ number:2 ]");
    EXPECT_EQ(Lex("a[1][2]"), "identifier:a [ number:1 ] [ number:2 ]");
    EXPECT_EQ(Lex("x+[abc]"), "identifier:x + string:abc");
    EXPECT_EQ(Lex("f([a],[b])"), "identifier:f ( string:a , string:b )");
}

TEST(LexerTest, NumbersKeepTheirDecimals) {
    const struct {
        const char* text;
        double value;
        int decimals;
    } cases[] = {
        {"12", 12, 0}, {"12.50", 12.5, 2}, {".5", 0.5, 1}, {"3.", 3, 0}, {"0.12", 0.12, 2}};
    for (const auto& c : cases) {
        Lexer lexer(c.text);
        Token t = lexer.Next();
        ASSERT_EQ(t.kind, Tok::kNumber) << c.text;
        EXPECT_DOUBLE_EQ(t.number, c.value) << c.text;
        EXPECT_EQ(t.decimals, c.decimals) << c.text;
        EXPECT_EQ(lexer.Next().kind, Tok::kEnd) << c.text;
    }
    // A dot followed by a letter belongs to the word operator.
    EXPECT_EQ(Lex("1.and.2"), "number:1 .AND. number:2");
    EXPECT_EQ(Lex("x=1.or.y"), "identifier:x = number:1 .OR. identifier:y");
}

TEST(LexerTest, WhatCannotStartATokenIsAnError) {
    EXPECT_EQ(Lex("a @ b"), "identifier:a error");
    EXPECT_EQ(Lex("\"open"), "error");
    EXPECT_EQ(Lex("[open"), "error");
    EXPECT_EQ(Lex(".x."), "error");
    EXPECT_EQ(Lex("a : b"), "identifier:a error");
    EXPECT_EQ(Lex("&macro"), "error");
}

TEST(LexerTest, TokenPositions) {
    Lexer lexer("  ab + 'c'");
    EXPECT_EQ(lexer.Next().pos, 2);
    EXPECT_EQ(lexer.Next().pos, 5);
    EXPECT_EQ(lexer.Next().pos, 7);
    EXPECT_EQ(lexer.Next().pos, 10);
}

TEST(LexerTest, StripLineBreaksRemovesCrLfAndSoftBreaks) {
    EXPECT_EQ(StripLineBreaks("a +\r\n b"), "a + b");
    EXPECT_EQ(StripLineBreaks(std::string("12") + static_cast<char>(141) + "\n34"), "1234");
    EXPECT_EQ(StripLineBreaks("\"x\ny\""), "\"xy\"");
    EXPECT_EQ(StripLineBreaks("\t a \t"), "\t a \t");
    // "Ź" (CP852 141) in a literal is a letter, also at the end of a line.
    const std::string z(1, static_cast<char>(141));
    EXPECT_EQ(StripLineBreaks("\"" + z + "r\" = x"), "\"" + z + "r\" = x");
    EXPECT_EQ(StripLineBreaks("\"" + z + "\"\r\n+ y"), "\"" + z + "\"+ y");
    EXPECT_EQ(StripLineBreaks("a" + z + "\r\nb"), "a" + z + "b");
}

}  // namespace
}  // namespace kestrel::formula
