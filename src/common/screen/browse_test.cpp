#include "common/screen/browse.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

// A list of `n` rows "Wiersz 1" … in a window of rows 5-16 (10 data rows).
struct ListBrowse {
    HeadlessRuntime h;
    int current = 1;
    std::vector<std::string> rows;
    std::vector<std::pair<int, int>> calls;  // (mode, key) seen by the handler

    ListBrowse(int n, std::vector<int> keys) : h(std::move(keys)) {
        for (int i = 1; i <= n; ++i) rows.push_back("Wiersz " + std::to_string(i));
    }
    void Run(int start = 1) {
        current = start;
        std::vector<BrowseColumn> cols = {
            {"NR", 3, [&] { return std::to_string(current); }},
            {"OPIS", 12, [&] { return rows[static_cast<size_t>(current - 1)]; }}};
        BrowseList(
            h.rt, 5, 10, 16, 60, cols,
            [&](int mode, int, Browse&) {
                calls.emplace_back(mode, h.con.LastKey());
                return h.con.LastKey() == key::kEnter || h.con.LastKey() == key::kEsc
                           ? kBrowseClose
                           : kBrowseRedrawRow;
            },
            &current, static_cast<int>(rows.size()));
    }
    std::string Cell(int row) const { return h.At(row, 10, 20); }
};

TEST(Browse, DrawsHeadingsSeparatorsAndTheFirstPage) {
    ListBrowse b(30, {key::kEnter});
    b.Run();
    EXPECT_EQ(b.Cell(5), "NR  │ OPIS          ");
    EXPECT_EQ(b.Cell(6), "────┬─────────────  ");
    EXPECT_EQ(b.Cell(7), "1   │ Wiersz 1      ");
    EXPECT_EQ(b.Cell(16), "10  │ Wiersz 10     ");
    // The current cell is in the enhanced colour, the rest standard.
    EXPECT_EQ(b.h.backend.shown().At(7, 10).attr, console::MakeAttr(14, 3));
    EXPECT_EQ(b.h.backend.shown().At(7, 16).attr, console::MakeAttr(15, 1));
    EXPECT_EQ(b.current, 1);
}

TEST(Browse, RowsScrollAtTheEdgesAndStopAtTheEnds) {
    ListBrowse down(30, {key::kDown, key::kDown, key::kEnter});
    down.Run();
    EXPECT_EQ(down.current, 3);
    // The rows the bar left keep their own values.
    EXPECT_EQ(down.Cell(7).substr(0, 10), "1   │ Wi");
    EXPECT_EQ(down.Cell(8).substr(0, 10), "2   │ Wi");
    EXPECT_EQ(down.Cell(9).substr(0, 10), "3   │ Wi");
    EXPECT_EQ(down.h.backend.shown().At(9, 10).attr, console::MakeAttr(14, 3));
    EXPECT_EQ(down.h.backend.shown().At(7, 10).attr, console::MakeAttr(15, 1));

    // Eleven Downs: the window scrolls by one.
    std::vector<int> keys(11, key::kDown);
    keys.push_back(key::kEnter);
    ListBrowse scroll(30, keys);
    scroll.Run();
    EXPECT_EQ(scroll.current, 12);
    EXPECT_EQ(scroll.Cell(7).substr(0, 3), "3  ");
    EXPECT_EQ(scroll.Cell(16).substr(0, 3), "12 ");

    // Down on the last row of the list stays there.
    ListBrowse last(30, {key::kCtrlPgDn, key::kDown, key::kDown, key::kEnter});
    last.Run();
    EXPECT_EQ(last.current, 30);
    EXPECT_EQ(last.Cell(16).substr(0, 3), "30 ");

    ListBrowse pages(30, {key::kPgDn, key::kPgDn, key::kPgDn, key::kPgUp, key::kEnter});
    pages.Run();
    EXPECT_EQ(pages.current, 20);

    ListBrowse top(30, {key::kCtrlPgUp, key::kUp, key::kEnter});
    top.Run(17);
    EXPECT_EQ(top.current, 1);
    EXPECT_EQ(top.Cell(7).substr(0, 3), "1  ");
}

TEST(Browse, ShortAndEmptyLists) {
    ListBrowse shortlist(3, {key::kPgDn, key::kEnter});
    shortlist.Run();
    EXPECT_EQ(shortlist.current, 3);
    EXPECT_EQ(shortlist.Cell(9).substr(0, 3), "3  ");
    EXPECT_EQ(shortlist.Cell(10), std::string(4, ' ') + "│" + std::string(15, ' '));

    ListBrowse empty(0, {key::kDown, key::kEnter});
    empty.rows.clear();
    int current = 1;
    BrowseList(
        empty.h.rt, 5, 10, 16, 60, {{"NR", 3, [] { return std::string("x"); }}},
        [&](int, int, Browse& b) {
            EXPECT_TRUE(b.source().Empty());
            return empty.h.con.LastKey() == key::kEnter ? kBrowseClose : kBrowseRedrawRow;
        },
        &current, 0);
    EXPECT_EQ(empty.h.At(7, 10, 3), "   ");
}

TEST(Browse, HandlerModesAndTypeAheadSkipsIdleCalls) {
    ListBrowse b(30, {key::kDown, 'x', key::kEnter});
    b.Run();
    ASSERT_EQ(b.calls.size(), 3u);
    EXPECT_EQ(b.calls[0], std::make_pair(kBrowseIdle, key::kDown));
    EXPECT_EQ(b.calls[1], std::make_pair(kBrowseException, static_cast<int>('x')));
    EXPECT_EQ(b.calls[2].second, key::kEnter);

    // Keys typed ahead: the browse moves without drawing or calling the
    // handler in between; only the key that finds nothing waiting behind it
    // gets the handler.
    ListBrowse fast(30, {});
    fast.h.con.keyboard().Push(key::kPgDn);
    fast.h.con.keyboard().Push(key::kPgDn);
    fast.h.con.keyboard().Push(key::kDown);
    fast.h.backend.AddKeys({key::kEnter});
    fast.Run();
    EXPECT_EQ(fast.current, 22);
    ASSERT_EQ(fast.calls.size(), 1u);
    EXPECT_EQ(fast.calls[0].second, key::kEnter);
    EXPECT_EQ(fast.Cell(7).substr(0, 3), "21 ");
}

TEST(Browse, PanningKeepsFrozenColumns) {
    HeadlessRuntime h({key::kEnd, key::kRight, key::kRight, key::kEnter});
    int current = 1;
    std::vector<BrowseColumn> cols;
    for (int i = 0; i < 8; ++i)
        cols.push_back({"KOL" + std::to_string(i), 10, [i] { return "w" + std::to_string(i); }});
    int last_column = 0;
    BrowseList(
        h.rt, 5, 0, 10, 39, cols,
        [&](int, int column, Browse&) {
            last_column = column;
            return h.con.LastKey() == key::kEnter ? kBrowseClose : kBrowseRedrawRow;
        },
        &current, 5, 1);
    EXPECT_EQ(last_column, 5);
    // KOL0 stays at the left; the columns scrolled to show KOL4.
    EXPECT_EQ(h.At(5, 0, 40), "KOL0       │ KOL3       │ KOL4          ");
}

}  // namespace
}  // namespace kestrel::common
