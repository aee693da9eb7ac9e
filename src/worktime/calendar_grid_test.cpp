#include "worktime/calendar_grid.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

TEST(CalendarGrid, CursorMovesWithinAndBetweenMonths) {
    const struct {
        GridCursor from;
        int key;
        int year;
        GridCursor to;
    } cases[] = {
        {{1, 5}, key::kLeft, 2026, {1, 4}},
        {{1, 1}, key::kLeft, 2026, {1, 1}},  // stays in the month
        {{4, 30}, key::kRight, 2026, {4, 30}},
        {{4, 29}, key::kRight, 2026, {4, 30}},
        {{1, 31}, key::kDown, 2025, {2, 28}},  // the day February lacks
        {{1, 31}, key::kDown, 2024, {2, 29}},
        {{3, 30}, key::kUp, 2025, {2, 28}},
        {{3, 15}, key::kUp, 2026, {2, 15}},  // the day kept
        {{5, 31}, key::kDown, 2026, {6, 30}},
        {{1, 10}, key::kUp, 2026, {1, 10}},
        {{12, 10}, key::kDown, 2026, {12, 10}},
        {{7, 17}, key::kHome, 2026, {7, 1}},
        {{2, 3}, key::kEnd, 2025, {2, 28}},
        {{9, 3}, key::kEnd, 2026, {9, 30}},
        {{7, 17}, key::kCtrlHome, 2026, {1, 1}},
        {{7, 17}, key::kCtrlEnd, 2026, {12, 31}},
        {{7, 17}, 'x', 2026, {7, 17}},
    };
    for (const auto& k : cases) {
        const GridCursor c = MoveCursor(k.from, k.key, k.year);
        EXPECT_EQ(c, k.to) << k.from.month << "-" << k.from.day << " key " << k.key << " gave "
                           << c.month << "-" << c.day;
    }
}

TEST(CalendarGrid, NextDayRunsOnIntoTheNextMonthAndFromDecemberToJanuary) {
    EXPECT_EQ(NextDay({3, 14}, 2026), (GridCursor{3, 15}));
    EXPECT_EQ(NextDay({2, 28}, 2025), (GridCursor{3, 1}));
    EXPECT_EQ(NextDay({2, 28}, 2024), (GridCursor{2, 29}));
    EXPECT_EQ(NextDay({4, 30}, 2026), (GridCursor{5, 1}));
    EXPECT_EQ(NextDay({12, 31}, 2026), (GridCursor{1, 1}));
}

}  // namespace
}  // namespace kestrel::worktime
