#include "common/session/letter_conversions.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::common {
namespace {

std::string Cp852(std::string_view utf8) {
    return codepage::FromUtf8(utf8);
}

const LetterSet kCp852 = MakeLetterSet(kPolishCp852);
const LetterSet kMazovia = MakeLetterSet(kPolishMazovia);
const LetterSet kPlain = MakeLetterSet(kPolishPlain);

TEST(LetterConversions, PolishUpperCase) {
    EXPECT_EQ(Qrmuppe(kCp852, Cp852("zażółć gęślą jaźń é")), Cp852("ZAŻÓŁĆ GĘŚLĄ JAŹŃ É"));
    // Other sets: a-z and the set's own nine letters only.
    EXPECT_EQ(Qrmuppe(kMazovia, kMazovia.FromCp852(Cp852("łódź"))),
              kMazovia.FromCp852(Cp852("ŁÓDŹ")));
    EXPECT_EQ(Qrmuppe(kPlain, "lodz"), "LODZ");
    const picture::CaseTable t = UpperTable(kCp852);
    EXPECT_EQ(t[0xA5], 0xA4);  // ą -> Ą
    EXPECT_EQ(t['q'], 'Q');
    EXPECT_EQ(t[0xA4], 0xA4);
}

TEST(LetterConversions, ToIsoAndWindows) {
    const std::string lodz = Cp852("Łódź");
    EXPECT_EQ(Qrmzpl(kCp852, lodz),
              "\xA3\xF3"
              "d\xBC");
    // With the CP852 set the whole alphabet goes over, é included.
    EXPECT_EQ(Qrmzpl(kCp852, Cp852("é")), "\xE9");
    EXPECT_EQ(Qrmzpl(kMazovia, kMazovia.FromCp852(lodz)),
              "\xA3\xF3"
              "d\xBC");
    EXPECT_EQ(Qrmzpl(kPlain, "Lodz"), "Lodz");

    EXPECT_EQ(Qrmzp2(kCp852, lodz),
              "\xA3\xF3"
              "d\x9F");
    EXPECT_EQ(Qrmzp2(kCp852, Cp852("é")), Cp852("é"));  // only the 18 letters
    EXPECT_EQ(Qrmzp2(kMazovia, kMazovia.FromCp852(lodz)),
              "\xA3\xF3"
              "d\x9F");
    EXPECT_EQ(Qrmzp2(kPlain, "\xA3"), "\xA3");

    EXPECT_EQ(Qrmzp2a(std::string(kPolishCp852)), kPolishWin1250);
    EXPECT_EQ(Qrmzp2r(std::string(kPolishWin1250)), kPolishCp852);
}

TEST(LetterConversions, ToAndFromCp852) {
    const std::string lodz = Cp852("Łódź x");
    const std::string mazovia = kMazovia.FromCp852(lodz);
    EXPECT_EQ(Qrmzp3(kMazovia, mazovia), lodz);
    EXPECT_EQ(Qrmzp3(kCp852, lodz), lodz);
    EXPECT_EQ(Qrmzp3r(kMazovia, lodz), mazovia);
    EXPECT_EQ(Qrmzp3r(kCp852, lodz), lodz);
    // A text made only of the set's own letters is taken as converted already.
    const std::string own = kMazovia.FromCp852(Cp852("ąć"));
    EXPECT_EQ(Qrmzp3r(kMazovia, own), own);
}

}  // namespace
}  // namespace kestrel::common
