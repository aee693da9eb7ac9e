#include "platform/base/clock.h"

#include <gtest/gtest.h>

namespace kestrel::base {
namespace {

TEST(LocalTime, ParsesTheNowOptionAndRefusesImpossibleMoments) {
    auto t = ParseLocalTime("2026-12-08 16:05");
    ASSERT_TRUE(t);
    EXPECT_EQ(*t, (LocalTime{2026, 12, 8, 16, 5, 0}));
    EXPECT_EQ(t->DateText(), "2026-12-08");
    EXPECT_EQ(t->TimeText(), "16:05");
    EXPECT_EQ(ParseLocalTime("2024-02-29")->day, 29);
    EXPECT_EQ(ParseLocalTime("2026-01-31T23:59:58")->second, 58);
    for (const char* bad : {"", "2026-12-8 16:05", "2025-02-29 10:00", "2026-13-01",
                            "2026-12-08 24:00", "2026-12-08 10:60", "2026/12/08",
                            "2026-12-08 10:00x", "2026-00-10", "1900-02-29", "2026-12-08 1:05"})
        EXPECT_FALSE(ParseLocalTime(bad)) << bad;
}

}  // namespace
}  // namespace kestrel::base
