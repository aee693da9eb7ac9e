#include "common/checks/scramble.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kestrel::common {
namespace {

// "Źdźbło-Żółkiewska" and "Łucja" in CP852.
const std::string kSurname =
    "\x8D"
    "d\xAB"
    "b\x88"
    "o-\xBD\xA2\x88kiewska";
const std::string kName =
    "\x9D"
    "ucja";

TEST(Scramble, StoredWidthsGiveTheClearWidths) {
    EXPECT_EQ(ClearWidth(52), 20u);  // IMIEX_
    EXPECT_EQ(ClearWidth(72), 30u);  // NAZWX_
    EXPECT_EQ(ClearWidth(74), 31u);  // NAZWX_U
    EXPECT_EQ(ClearWidth(34), 11u);  // PESELX_
}

TEST(Scramble, ValuesComeBackPaddedToTheClearWidth) {
    struct Case {
        ScrambleKind kind;
        std::string clear;
        size_t width;
    };
    const Case cases[] = {
        {ScrambleKind::kName, kSurname, 72},
        {ScrambleKind::kName, kName, 52},
        {ScrambleKind::kName, kSurname, 74},
        {ScrambleKind::kIdentity, "85010112345", 34},
        {ScrambleKind::kName, std::string(30, '\xFE'), 72},  // every byte survives
    };
    for (const Case& c : cases) {
        const std::string stored = Scramble(c.kind, c.clear, c.width);
        ASSERT_EQ(stored.size(), c.width);
        EXPECT_EQ(stored.find_first_not_of("ABCDEFGHIJKLMNOP"), std::string::npos) << stored;
        EXPECT_EQ(stored.find(c.clear.substr(0, 4)), std::string::npos);
        std::string expected = c.clear;
        expected.resize(ClearWidth(c.width), ' ');
        EXPECT_EQ(Unscramble(c.kind, stored), expected);
        EXPECT_EQ(Scramble(c.kind, expected, c.width), stored) << "not deterministic";
    }
}

TEST(Scramble, BlankAndOverlongValues) {
    EXPECT_EQ(Scramble(ScrambleKind::kName, "", 72), std::string(72, ' '));
    EXPECT_EQ(Scramble(ScrambleKind::kName, "   ", 52), std::string(52, ' '));
    EXPECT_EQ(Unscramble(ScrambleKind::kName, std::string(72, ' ')), std::string(30, ' '));
    const std::string stored = Scramble(ScrambleKind::kIdentity, "850101123459999", 34);
    EXPECT_EQ(Unscramble(ScrambleKind::kIdentity, stored), "85010112345");
}

TEST(Scramble, SimilarValuesLookUnrelated) {
    std::set<std::string> seen;
    for (const char* pesel : {"85010112345", "85010112346", "85010112355"}) {
        const std::string stored = Scramble(ScrambleKind::kIdentity, pesel, 34);
        EXPECT_TRUE(seen.insert(stored.substr(12, 10)).second) << pesel;
    }
}

TEST(Scramble, ForeignOrDamagedTextIsNeverReadAsAnotherValue) {
    // Plain text left by a conversion stays readable.
    std::string plain = "Kowalski";
    plain.resize(72, ' ');
    EXPECT_EQ(Unscramble(ScrambleKind::kName, plain), plain.substr(0, 30));
    // A name scrambled with the other routine is not taken for a PESEL.
    const std::string name = Scramble(ScrambleKind::kName, "12345678901", 34);
    EXPECT_NE(Unscramble(ScrambleKind::kIdentity, name), "12345678901");
    // One damaged letter is caught by the check.
    std::string stored = Scramble(ScrambleKind::kName, kSurname, 72);
    std::string clear = Unscramble(ScrambleKind::kName, stored);
    for (size_t at : {size_t{3}, size_t{11}, size_t{20}, size_t{71}}) {
        std::string damaged = stored;
        damaged[at] = damaged[at] == 'A' ? 'B' : 'A';
        EXPECT_NE(Unscramble(ScrambleKind::kName, damaged), clear) << at;
    }
}

}  // namespace
}  // namespace kestrel::common
