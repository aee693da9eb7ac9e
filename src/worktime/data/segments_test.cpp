#include "worktime/data/segments.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::worktime {
namespace {

Segment S(int fh, int fm, int th, int tm, std::string type = "  ") {
    return Segment{fh, fm, th, tm, std::move(type)};
}

SegmentRecord R(std::initializer_list<Segment> segments) {
    SegmentRecord r;
    size_t i = 0;
    for (const Segment& s : segments) {
        r.segments[i] = s;
        r.used[i] = true;
        ++i;
    }
    return r;
}

// Each case: the record, the total text, and the minutes by type.
TEST(Segments, MinutesAndOverlapsOnALineOfTwoDays) {
    const struct {
        const char* what;
        SegmentRecord record;
        const char* text;
        int nominal, overtime, other;
    } cases[] = {
        {"a day shift", R({S(7, 0, 15, 0)}), "08:00", 480, 0, 0},
        {"a night shift across midnight counts 480 minutes", R({S(22, 0, 6, 0)}), "08:00", 480, 0,
         0},
        {"an end equal to the start is a whole day", R({S(6, 0, 6, 0)}), "24:00", 1440, 0, 0},
        {"minutes count", R({S(7, 30, 15, 45)}), "08:15", 495, 0, 0},
        {"types of work: blank, 01 and other",
         R({S(6, 0, 14, 0), S(14, 0, 16, 0, "01"), S(16, 0, 17, 30, "02")}), "11:30", 480, 120, 90},
        {"segments that touch do not overlap", R({S(8, 0, 12, 0), S(12, 0, 16, 0)}), "08:00", 480,
         0, 0},
        {"the second starting inside the first", R({S(8, 0, 12, 0), S(11, 0, 13, 0)}), "BŁĄD!", 0,
         0, 0},
        {"the second ending inside the first", R({S(8, 0, 12, 0), S(7, 0, 9, 0)}), "BŁĄD!", 0, 0,
         0},
        {"the second inside the first", R({S(8, 0, 16, 0), S(9, 0, 10, 0)}), "BŁĄD!", 0, 0, 0},
        {"the first inside the second", R({S(9, 0, 10, 0), S(8, 0, 16, 0)}), "BŁĄD!", 0, 0, 0},
        {"22:00-06:00 beside 05:00-07:00 (past midnight)", R({S(22, 0, 6, 0), S(5, 0, 7, 0)}),
         "BŁĄD!", 0, 0, 0},
        {"05:00-07:00 beside 22:00-06:00", R({S(5, 0, 7, 0), S(22, 0, 6, 0)}), "BŁĄD!", 0, 0, 0},
        {"22:00-06:00 beside 06:00-07:00 (touching next morning)",
         R({S(22, 0, 6, 0), S(6, 0, 7, 0, "01")}), "09:00", 480, 60, 0},
        {"the third overlapping the first only",
         R({S(8, 0, 10, 0), S(12, 0, 14, 0), S(9, 0, 11, 0)}), "BŁĄD!", 0, 0, 0},
        {"an hour out of range", R({S(24, 0, 6, 0)}), "BŁĄD!", 0, 0, 0},
        {"a minute out of range", R({S(8, 60, 16, 0)}), "BŁĄD!", 0, 0, 0},
        {"a negative hour", R({S(8, 0, -1, 0)}), "BŁĄD!", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const SegmentTime t = MeasureSegments(c.record);
        EXPECT_EQ(codepage::ToUtf8(TotalText(t)), c.text) << c.what;
        EXPECT_EQ(t.nominal, c.nominal) << c.what;
        EXPECT_EQ(t.overtime, c.overtime) << c.what;
        EXPECT_EQ(t.other, c.other) << c.what;
    }
}

TEST(Segments, SegmentsNotInUseAreNeitherCheckedNorCounted) {
    SegmentRecord r = R({S(8, 0, 16, 0)});
    r.segments[1] = S(99, 99, 10, 0);  // rubbish behind a cleared ZAKRES_2
    r.segments[2] = S(9, 0, 10, 0);    // would overlap
    const SegmentTime t = MeasureSegments(r);
    EXPECT_TRUE(t.valid);
    EXPECT_EQ(t.total(), 480);
}

}  // namespace
}  // namespace kestrel::worktime
