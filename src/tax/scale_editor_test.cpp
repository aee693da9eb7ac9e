#include "tax/scale_editor.h"

#include <gtest/gtest.h>

#include "tax/data/tax_scale.h"
#include "test_company.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

// A company whose PKTAB holds the scale of 2023.
struct ScaleCompany : TestCompany {
    ScaleCompany() {
        Make("PKTAB");
        common::Tables t(h.rt);
        dbf::WorkArea& a = OpenScaleTable(t);
        for (const ScaleRow& r : {ScaleRow{2023, 1, 12, 0, 120000, 0, 12, 3600},
                                  ScaleRow{2023, 1, 12, 120000, kOpenBound, 14400, 32, 3600}}) {
            t.Append(a);
            EXPECT_TRUE(WriteRow(a, r).ok());
            EXPECT_TRUE(a.Commit().ok());
            a.Unlock();
        }
    }

    /// The rows in index order: "year from-to above-up_to tax rate relief",
    /// deleted ones marked "*".
    V Rows() {
        common::Tables t(h.rt);
        dbf::WorkArea& a = OpenScaleTable(t);
        a.set_hide_deleted(false);
        V out;
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
            const ScaleRow r = ReadRow(a);
            char buf[128];
            std::snprintf(buf, sizeof buf, "%d %d-%d %.2f-%.2f %.2f %.2f %.2f%s", r.year,
                          r.from_month, r.to_month, r.above, r.up_to, r.tax, r.rate, r.relief,
                          a.deleted() ? "*" : "");
            out.push_back(buf);
        }
        return out;
    }
};

const char* const k2023a = "2023 1-12 0.00-120000.00 0.00 12.00 3600.00";
const char* const k2023b = "2023 1-12 120000.00-999999999.99 14400.00 32.00 3600.00";

TEST(ScaleEditor, ANewRowIsCheckedBeforeItIsWritten) {
    ScaleCompany c;
    c.Keys({key::kIns});
    c.Keys("1990");  // before the first year of a scale
    c.Keys({key::F(12), key::kEnter, key::kHome, key::Ctrl('y')});
    c.Keys("2023");
    c.Keys({key::kEnter, key::kEnter});  // January to December
    c.Keys("100000");
    c.Keys({key::kEnter});
    c.Keys("100000");  // equal bounds
    c.Keys({key::kEnter, key::F(12), key::kEnter});
    c.Keys("150000");  // into the brackets of 2023
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kEsc});
    // The next year's first bracket.
    c.Keys({key::kIns});
    c.Keys("2024");
    c.Keys({key::kEnter, key::kEnter, key::kEnter});
    c.Keys("120000");
    c.Keys({key::kEnter, key::kEnter});
    c.Keys("12");
    c.Keys({key::kEnter});
    c.Keys("3600");
    c.Keys({key::kEnter, key::kEsc});
    Qrm78(c.h.rt);
    EXPECT_EQ(c.messages, (V{"Błędna wartość", "Błędna wartość \"Do kwoty\"", "Błędny przedział"}));
    EXPECT_EQ(c.Rows(), (V{k2023a, k2023b, "2024 1-12 0.00-120000.00 0.00 12.00 3600.00"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

// Saving at once (PgDn) skips the checks of the fields left behind: the
// row is checked as a whole and the read goes on at the field to correct.
TEST(ScaleEditor, ARowSavedAtOnceIsCheckedAsAWhole) {
    ScaleCompany c;
    c.Keys({key::kIns});
    c.Keys("2023");
    c.Keys({key::kPgDn, key::F(12), key::kEnter});  // "Do kwoty:" is still 0
    c.Keys("50000");                                // typed into "Do kwoty:"
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kEsc, key::kEsc});
    Qrm78(c.h.rt);
    EXPECT_EQ(c.messages, (V{"Błędna wartość \"Do kwoty\"", "Błędny przedział"}));
    EXPECT_EQ(c.Rows(), (V{k2023a, k2023b}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(ScaleEditor, AChangedBoundGoesThroughTheSameChecks) {
    ScaleCompany c;
    c.Keys({key::kRight, key::kRight, key::kRight, key::kEnter});  // "DO KWOTY" of 0-120000
    c.Keys("130000");                                              // into the next bracket
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kHome, key::Ctrl('y'), key::kEnter});
    c.Keys({key::F(12), key::kEnter, key::kEsc});  // 0: not above the lower bound
    c.Keys({key::kLeft, key::kEnter});             // "PONAD KWOTĘ"
    c.Keys("120000");                              // as high as its upper bound
    c.Keys({key::kEnter, key::F(12), key::kEnter, key::kEsc});
    c.Keys({key::kRight, key::kRight, key::kRight, key::kEnter});  // the rate
    c.Keys("17");
    c.Keys({key::kEnter});
    c.Keys({key::kDown, key::kDel, 't', key::kEsc});
    Qrm78(c.h.rt);
    EXPECT_EQ(c.messages, (V{"Błędny przedział", "Błędna wartość \"Do kwoty\"",
                             "Błędna wartość \"Do kwoty\""}));
    EXPECT_EQ(c.Rows(),
              (V{"2023 1-12 0.00-120000.00 0.00 17.00 3600.00", std::string(k2023b) + "*"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

// The months of a row are changed together in their cell; the last may
// not come before the first.
TEST(ScaleEditor, TheMonthsOfARowAreChangedInTheirCell) {
    ScaleCompany c;
    std::string cell;
    c.h.con.keyboard().Bind(key::F(11), [&] { cell = c.h.At(10, 9, 5); });
    c.Keys({key::kRight, key::kEnter, '7', key::kEnter, '3', key::kEnter, key::F(12), key::kEnter});
    c.Keys({key::kHome, key::Ctrl('y'), '1', '2', key::F(11), key::kEsc});  // 12 fills the cell
    Qrm78(c.h.rt);
    EXPECT_EQ(c.messages, V{"Błędna wartość"});
    EXPECT_EQ(cell, " 7-12");
    EXPECT_EQ(c.Rows(), (V{"2023 7-12 0.00-120000.00 0.00 12.00 3600.00", k2023b}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(ScaleEditor, TheScaleNeedsRight3Or6AndOnlyRight3ChangesIt) {
    ScaleCompany c;
    c.h.rt.operators().list_exists = true;
    c.h.rt.operators().rights = common::RightBit(1) | common::RightBit(2);
    c.Keys({key::F(12), key::kEnter});  // refused
    Qrm78(c.h.rt);
    EXPECT_EQ(c.messages.size(), 1u);

    c.h.rt.operators().rights = common::RightBit(6);  // browsing
    c.Keys({key::kIns, key::kDel, key::kEnter, key::kEsc});
    Qrm78(c.h.rt);
    EXPECT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.Rows(), (V{k2023a, k2023b}));

    c.h.rt.operators().rights = common::RightBit(3);
    c.Keys({key::kDel, 't', key::kEsc});
    Qrm78(c.h.rt);
    EXPECT_EQ(c.Rows(), (V{std::string(k2023a) + "*", k2023b}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::tax
