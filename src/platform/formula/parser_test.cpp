#include "platform/formula/parser.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::formula {
namespace {

std::string Tree(std::string_view text) {
    Error err;
    NodePtr n = Parse(text, &err);
    if (!n) return "error at " + std::to_string(err.position);
    return PrintTree(*n);
}

TEST(ParserTest, Precedence) {
    const struct {
        const char* text;
        const char* tree;
    } cases[] = {
        {"1+2*3", "(+ 1 (* 2 3))"},
        {"1-2-3", "(- (- 1 2) 3)"},
        {"-2^2", "(^ (neg 2) 2)"},
        {"2^3^2", "(^ (^ 2 3) 2)"},
        {"2^-1", "(^ 2 (neg 1))"},
        {"a=b+1", "(= a (+ b 1))"},
        {"a<b .and. c", "(and (< a b) c)"},
        {"a .or. b .and. c", "(or a (and b c))"},
        {"!a .and. b", "(and (not a) b)"},
        {"!a==b", "(not (== a b))"},
        {"x == !y .and. z", "(and (== x (not y)) z)"},
        {"x := y := 1", "(:= x (:= y 1))"},
        {"a $ b + c", "($ a (+ b c))"},
        {"(1, 2)", "(list 1 2)"},
        {"1, 2", "(list 1 2)"},
        {"((3))", "3"},
    };
    for (const auto& c : cases) EXPECT_EQ(Tree(c.text), c.tree) << c.text;
}

TEST(ParserTest, PostfixForms) {
    EXPECT_EQ(Tree("a[1][2]"), "(index (index a 1) 2)");
    EXPECT_EQ(Tree("a[1,2]"), "(index (index a 1) 2)");
    EXPECT_EQ(Tree("f()"), "(call f)");
    EXPECT_EQ(Tree("f(1,,3)"), "(call f 1 NIL 3)");
    EXPECT_EQ(Tree("f(,)"), "(call f NIL NIL)");
    EXPECT_EQ(Tree("IIF(a,b,c)"), "(iif a b c)");
    EXPECT_EQ(Tree("if(a,b,c)"), "(iif a b c)");
    EXPECT_EQ(Tree("pkprac->nr_prac"), "(-> pkprac nr_prac)");
    EXPECT_EQ(Tree("{1,{2}}"), "(array 1 (array 2))");
    EXPECT_EQ(Tree("{}"), "(array)");
    EXPECT_EQ(Tree("nil"), "NIL");
    EXPECT_EQ(Tree("a[1] := 2"), "(:= (index a 1) 2)");
    EXPECT_EQ(Tree("m->x := 2"), "(:= (-> m x) 2)");
}

TEST(ParserTest, SyntaxErrorsPointAtTheToken) {
    EXPECT_EQ(Tree("1 +"), "error at 3");
    EXPECT_EQ(Tree("1 2"), "error at 2");
    EXPECT_EQ(Tree("(1"), "error at 2");
    EXPECT_EQ(Tree("f(1"), "error at 3");
    EXPECT_EQ(Tree("iif(a,b)"), "error at 8");
    EXPECT_EQ(Tree("1 := 2"), "error at 2");
    EXPECT_EQ(Tree("a->"), "error at 3");
    EXPECT_EQ(Tree("a[1"), "error at 3");
}

TEST(ParserTest, EmptyAndSyntaxErrorsAreDistinguished) {
    Error err;
    EXPECT_EQ(Parse("   ", &err), nullptr);
    EXPECT_EQ(err.kind, ErrorKind::kEmptyFormula);
    EXPECT_EQ(Parse("", &err), nullptr);
    EXPECT_EQ(err.kind, ErrorKind::kEmptyFormula);
    EXPECT_EQ(Parse(" + ", &err), nullptr);
    EXPECT_EQ(err.kind, ErrorKind::kSyntax);
}

TEST(ParserTest, DeepTextIsASyntaxErrorNotACrash) {
    Error err;
    EXPECT_EQ(Parse(std::string(100000, '(') + "1" + std::string(100000, ')'), &err), nullptr);
    EXPECT_EQ(err.kind, ErrorKind::kSyntax);
    EXPECT_EQ(Parse(std::string(100000, '-') + "1", &err), nullptr);
    EXPECT_EQ(err.kind, ErrorKind::kSyntax);
    std::string chain = "1";
    for (int i = 0; i < 50000; ++i) chain += "+1";
    EXPECT_EQ(Parse(chain, &err), nullptr);
    EXPECT_EQ(err.kind, ErrorKind::kSyntax);
    // Nesting within the limits still parses.
    EXPECT_NE(Parse(std::string(50, '(') + "1" + std::string(50, ')'), &err), nullptr);
    std::string shorter = "1";
    for (int i = 0; i < 500; ++i) shorter += "+1";
    EXPECT_NE(Parse(shorter, &err), nullptr);
}

}  // namespace
}  // namespace kestrel::formula
