#include "common/session/letters.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::common {
namespace {

std::string Utf8(const std::string& cp852) {
    return codepage::ToUtf8(cp852);
}

TEST(Letters, TheSetIsChosenInOrder) {
    std::string stored = "ABCDEFGHIJKLMNOPQR";
    EXPECT_TRUE(ChooseLetterSet(true, true, &stored).IsCp852());
    EXPECT_EQ(ChooseLetterSet(false, true, &stored).pl, kPolishMazovia);
    EXPECT_EQ(ChooseLetterSet(false, false, &stored).pl, stored);
    EXPECT_TRUE(ChooseLetterSet(false, false, nullptr).IsPlain());
    EXPECT_FALSE(ChooseLetterSet(false, false, nullptr).replaced);
    EXPECT_TRUE(ChooseLetterSet(true, false, nullptr).replaced);
    // A stored set of the wrong length is completed with plain letters.
    EXPECT_EQ(MakeLetterSet("XY").pl, "XYELNOSZZacelnoszz");
    EXPECT_EQ(Utf8(std::string(kPolishCp852)), "ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
}

TEST(Letters, DerivedSortingTexts) {
    LetterSet cp = MakeLetterSet(kPolishCp852);
    EXPECT_EQ(Utf8(cp.sort), "AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ");
    EXPECT_EQ(Utf8(cp.identifier),
              "AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻaąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż"
              "0123456789-_.,\"@/()*");
    EXPECT_EQ(Utf8(cp.sort3),
              " !\"#$%&'()*+,-./0123456789;:<=>?@AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŻŹ[\\]^_`");
    LetterSet plain = MakeLetterSet(kPolishPlain);
    EXPECT_EQ(plain.sort, "AABCCDEEFGHIJKLLMNNOOPQRSSTUVWXYZZZ");
}

TEST(Letters, ScreenTextsInTheSetInForce) {
    const std::string text = codepage::FromUtf8("Naciśnij dowolny klawisz, Źródło Żółć");
    EXPECT_EQ(MakeLetterSet(kPolishCp852).FromCp852(text), text);
    EXPECT_EQ(MakeLetterSet(kPolishPlain).FromCp852(text), "Nacisnij dowolny klawisz, Zrodlo Zolc");
    std::string maz = MakeLetterSet(kPolishMazovia).FromCp852(codepage::FromUtf8("ś"));
    EXPECT_EQ(maz, "\x9E");
}

TEST(Letters, ConversionTablesLineUp) {
    ASSERT_EQ(kAlphabetUpperCp852.size(), kAlphabetLowerCp852.size());
    ASSERT_EQ(kAlphabetUpperCp852.size(), kAlphabetUpperWin1250.size());
    ASSERT_EQ(kAlphabetUpperCp852.size(), kAlphabetUpperIso88592.size());
    EXPECT_EQ(kAlphabetUpperCp852.size(), 67u);
    // The Polish letters sit at the same places in all three.
    for (size_t i = 0; i < 9; ++i) {
        size_t at = kAlphabetUpperCp852.find(kPolishCp852[i]);
        ASSERT_NE(at, std::string_view::npos);
        EXPECT_EQ(kAlphabetUpperWin1250[at], kPolishWin1250[i]);
        EXPECT_EQ(kAlphabetUpperIso88592[at], kPolishIso88592[i]);
        EXPECT_EQ(kAlphabetLowerCp852[at], kPolishCp852[i + 9]);
    }
    EXPECT_EQ(PrinterRendering(8), "Z-");
    EXPECT_EQ(PrinterRendering(12), "l/");
}

}  // namespace
}  // namespace kestrel::common
