#include "payroll/data/formula_replace.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::payroll {
namespace {

const std::string kSoft = "\x8D\n";  // the editor's soft wrap: byte 141 + LF

// One rule over one stored formula: the expected text and count. The cases
// are the formulas of the old shipped setups that a plain substring
// replacement broke ("10.08" became "1zdr()", "0.195" became "pod()5").
TEST(FormulaReplace, ReplacesWholeNumericTokensOutsideLiterals) {
    struct Case {
        const char* why;
        std::string formula, old_text, new_text, expected;
        int count;
    };
    const Case cases[] = {
        {"a rate times a variable", "0.08*x", "0.08", "zdr()", "zdr()*x", 1},
        {"every occurrence, left to right", "0.19*A+0.19*B", "0.19", "pod()", "pod()*A+pod()*B", 2},
        {"a longer number to the left", "ZASA*10.08", "0.08", "zdr()", "ZASA*10.08", 0},
        {"more decimals to the right", "ZASA*0.195", "0.19", "pod()", "ZASA*0.195", 0},
        {"a fraction inside a longer one", "x*119/1000", "19/100", "pod()", "x*119/1000", 0},
        {"a fraction", "BRUT*19/100", "19/100", "pod()", "BRUT*pod()", 1},
        {"a variable name ending in the digits", "STAW0.08+1", "0.08", "zdr()", "STAW0.08+1", 0},
        {"an underscore before", "_0.08", "0.08", "zdr()", "_0.08", 0},
        {"inside double quotes", "if(x=\"0.08\",0.08,0)", "0.08", "zdr()", "if(x=\"0.08\",zdr(),0)",
         1},
        {"inside single quotes", "'0.19'+str(0.19)", "0.19", "pod()", "'0.19'+str(pod())", 1},
        {"inside a bracket string", "[0.19]+str(0.19)", "0.19", "pod()", "[0.19]+str(pod())", 1},
        {"a bracket after a name indexes", "t[1]*0.19", "1", "2", "t[2]*0.19", 1},
        {"an open literal runs to the end", "0.19+\"0.19", "0.19", "pod()", "pod()+\"0.19", 1},
        {"a break between keeps its neighbours", "1" + kSoft + "0.08", "0.08", "zdr()",
         "1" + kSoft + "0.08", 0},
        {"a break on the far side is no neighbour", "x*0.08\r\n+y", "0.08", "zdr()",
         "x*zdr()\r\n+y", 1},
    };
    for (const Case& c : cases) {
        int count = -1;
        EXPECT_EQ(Qrmrpzn(c.old_text, c.formula, c.new_text, &count), c.expected) << c.why;
        EXPECT_EQ(count, c.count) << c.why;
    }
}

// A literal split by a line wrap is found in the joined text, and then the
// joined text is the result; otherwise the line breaks stay.
TEST(FormulaReplace, SplitLiteralIsReplacedInTheJoinedText) {
    int count = 0;
    EXPECT_EQ(Qrmrpzn("0.08", "ZASA*0.0" + kSoft + "8", "zdr()", &count), "ZASA*zdr()");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Qrmrpzn("0.08", "ZASA*0.0\r\n8+0.08", "zdr()", &count), "ZASA*zdr()+zdr()");
    EXPECT_EQ(count, 2);
    // As many found as stored: the stored text with its breaks is kept.
    EXPECT_EQ(Qrmrpzn("0.08", "ZASA*0.08+\r\nPREM", "zdr()", &count), "ZASA*zdr()+\r\nPREM");
    EXPECT_EQ(count, 1);
    // A quoted literal split by a wrap stays a literal in both texts.
    EXPECT_EQ(Qrmrpzn("0.08", "\"0.0" + kSoft + "8\"", "zdr()", &count), "\"0.0" + kSoft + "8\"");
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace kestrel::payroll
