#include "platform/base/rounding.h"

#include <gtest/gtest.h>

namespace kestrel::base {
namespace {

TEST(RoundingTest, YRoundHalfAwayFromZeroWithTolerance) {
    const struct {
        double x;
        int n;
        double expected;
    } cases[] = {
        {2.345, 2, 2.35},
        {-2.345, 2, -2.35},
        {2.34499, 2, 2.34},
        {0.005, 2, 0.01},
        {-0.005, 2, -0.01},
        {0.00499, 2, 0.0},
        {1234.5, 0, 1235},
        {-1234.5, 0, -1235},
        {1.15 * 100, 0, 115},
        {0.123456, 4, 0.1235},
        {1250, -2, 1300},
        {0, 2, 0},
        // Values within 0.00001 below a half round up: the tolerance, not a bug.
        {2.3449999999, 2, 2.35},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(YRound(c.x, c.n), c.expected) << c.x << " " << c.n;
    EXPECT_DOUBLE_EQ(YRound(2.345), 2.35);
}

TEST(RoundingTest, YIntTruncatesWithMargin) {
    EXPECT_DOUBLE_EQ(YInt(2.999999), 3);
    EXPECT_DOUBLE_EQ(YInt(2.5), 2);
    EXPECT_DOUBLE_EQ(YInt(2.99998), 2);
    EXPECT_DOUBLE_EQ(YInt(-2.999999), -3);
    EXPECT_DOUBLE_EQ(YInt(-2.5), -2);
    EXPECT_DOUBLE_EQ(YInt(0), 0);
}

}  // namespace
}  // namespace kestrel::base
