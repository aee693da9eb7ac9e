#include "printing/pdf/page_layout.h"

#include <gtest/gtest.h>

namespace kestrel::printing {
namespace {

// A page of `lines` lines of `columns` characters at `cpi`, 6 lines an inch.
PrintedPage Page(int columns, double cpi, int lines, bool landscape = false) {
    PrintedPage page;
    page.landscape = landscape;
    for (int i = 0; i < lines; ++i) {
        TextRun r;
        r.y = i / 6.0;
        r.style.cpi = cpi;
        r.chars = columns;
        r.text.assign(columns, 'x');
        page.runs.push_back(r);
    }
    return page;
}

struct SheetCase {
    int columns;
    double cpi;
    int lines;
    bool landscape;
    double scale;  // 0: less than 1 (shrunk), checked to fit below
};

TEST(PageLayout, OrientationAndScaleByTheTextsSize) {
    const SheetCase cases[] = {
        {60, 10, 40, false, 1},          // fits a portrait sheet as it is
        {80, 10, 66, false, 0},          // a little too wide: shrinks, stays upright
        {136, 120.0 / 7, 66, false, 0},  // condensed wide list: upright
        {136, 10, 66, true, 0},          // wide at 10 cpi: larger on its side
        {130, 12, 20, true, 1},          // a short wide page fits a landscape sheet
        {40, 10, 72, false, 0},          // a whole fanfold page: shrinks a little
    };
    const double shorter = kA4ShortPoints - 2 * kMarginPoints;
    const double longer = kA4LongPoints - 2 * kMarginPoints;
    for (const SheetCase& c : cases) {
        PrintedDocument doc;
        doc.pages.push_back(Page(c.columns, c.cpi, c.lines));
        const std::vector<SheetLayout> sheets = LayOutSheets(doc);
        ASSERT_EQ(sheets.size(), 1u);
        const SheetLayout& s = sheets[0];
        SCOPED_TRACE(testing::Message() << c.columns << " columns at " << c.cpi << " cpi");
        EXPECT_EQ(s.landscape, c.landscape);
        if (c.scale == 1) {
            EXPECT_DOUBLE_EQ(s.scale, 1);
        } else {
            EXPECT_LT(s.scale, 1);
            EXPECT_GT(s.scale, 0.6);
        }
        const double width = c.columns / c.cpi * 72 * s.scale;
        EXPECT_LE(width, (c.landscape ? longer : shorter) + 1e-6);
        EXPECT_LE((c.lines - 1) / 6.0 * 72 * s.scale, c.landscape ? shorter : longer);
    }
}

TEST(PageLayout, PagesOfOneKindShareOneSheet) {
    // The short last page of a wide list keeps the orientation and the size
    // of the full pages; a page under a landscape reset is turned on its own.
    PrintedDocument doc;
    doc.pages.push_back(Page(136, 12, 66));
    doc.pages.push_back(Page(136, 12, 3));
    doc.pages.push_back(Page(20, 10, 3, true));
    doc.pages.push_back(PrintedPage());
    const std::vector<SheetLayout> sheets = LayOutSheets(doc);
    ASSERT_EQ(sheets.size(), 4u);
    EXPECT_TRUE(sheets[0].landscape);
    EXPECT_EQ(sheets[1].landscape, sheets[0].landscape);
    EXPECT_DOUBLE_EQ(sheets[1].scale, sheets[0].scale);
    EXPECT_LT(sheets[0].scale, 1);
    EXPECT_TRUE(sheets[2].landscape);
    EXPECT_DOUBLE_EQ(sheets[2].scale, 1);
    EXPECT_EQ(sheets[3].landscape, sheets[0].landscape);
    EXPECT_DOUBLE_EQ(sheets[2].width_points(), kA4LongPoints);
}

TEST(PageLayout, FontFollowsLineSpacingAndScript) {
    TextStyle s;
    EXPECT_DOUBLE_EQ(FontPoints(s), 10);
    s.spacing = 1.0 / 8;
    EXPECT_LT(FontPoints(s), 10);
    EXPECT_GT(FontPoints(s), 9);
    s.spacing = 1.0 / 72;
    EXPECT_DOUBLE_EQ(FontPoints(s), 4);
    s.spacing = 1.0 / 6;
    s.script = Script::kSub;
    EXPECT_DOUBLE_EQ(FontPoints(s), 6);
}

}  // namespace
}  // namespace kestrel::printing
