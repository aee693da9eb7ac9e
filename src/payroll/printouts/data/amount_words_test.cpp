#include "payroll/printouts/data/amount_words.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::payroll {
namespace {

std::string Words(int64_t grosze) {
    return codepage::ToUtf8(AmountInWords(grosze));
}

// The counts whose noun form a Polish reader checks first: the teens take
// the plural of many even where their last digit is 2-4, and a lone thousand
// or million keeps its "jeden".
TEST(AmountInWords, PolishCountsAndForms) {
    struct Case {
        int64_t grosze;
        const char* words;
    };
    const Case cases[] = {
        {0, "zero złotych 00/100"},
        {100, "jeden złoty 00/100"},
        {200, "dwa złote 00/100"},
        {500, "pięć złotych 00/100"},
        {1100, "jedenaście złotych 00/100"},
        {1200, "dwanaście złotych 00/100"},
        {2100, "dwadzieścia jeden złotych 00/100"},
        {2200, "dwadzieścia dwa złote 00/100"},
        {10100, "sto jeden złotych 00/100"},
        {100000, "jeden tysiąc złotych 00/100"},
        {100100, "jeden tysiąc jeden złotych 00/100"},
        {200000, "dwa tysiące złotych 00/100"},
        {1200000, "dwanaście tysięcy złotych 00/100"},
        {2200000, "dwadzieścia dwa tysiące złotych 00/100"},
        {100000000, "jeden milion złotych 00/100"},
        {500000000, "pięć milionów złotych 00/100"},
        {123456, "jeden tysiąc dwieście trzydzieści cztery złote 56/100"},
        {1, "zero złotych 01/100"},
        {99, "zero złotych 99/100"},
        {99999999,
         "dziewięćset dziewięćdziesiąt dziewięć tysięcy dziewięćset "
         "dziewięćdziesiąt dziewięć złotych 99/100"},
        {-500, "minus pięć złotych 00/100"},
    };
    for (const Case& c : cases) EXPECT_EQ(Words(c.grosze), c.words) << c.grosze;
}

TEST(AmountInWords, PluralFormLooksAtTheLastTwoDigits) {
    EXPECT_EQ(PluralForm(1), 1);
    EXPECT_EQ(PluralForm(0), 5);
    EXPECT_EQ(PluralForm(3), 2);
    EXPECT_EQ(PluralForm(13), 5);
    EXPECT_EQ(PluralForm(23), 2);
    EXPECT_EQ(PluralForm(112), 5);
    EXPECT_EQ(PluralForm(101), 5);
}

TEST(AmountInWords, TextIsCp852) {
    // "ę" of "pięć" is one byte in the program's letter set.
    EXPECT_EQ(AmountInWords(500), codepage::FromUtf8("pięć złotych 00/100"));
    EXPECT_EQ(NumberInWords(5).size(), 4U);
}

}  // namespace
}  // namespace kestrel::payroll
