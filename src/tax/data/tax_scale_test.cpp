#include "tax/data/tax_scale.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "test_company.h"

namespace kestrel::tax {
namespace {

using registry::testing::TestCompany;

constexpr double kOpen = kOpenBound;

// The scale of 2019-2021 with the rate of 17 %, and the one in force from
// July 2022 (12 %, threshold 120 000, KWOTA_POD the tax before the relief).
const std::vector<ScaleRow> k17 = {
    {2021, 1, 12, 0, 85528, 0, 17, 525.12},
    {2021, 1, 12, 85528, kOpen, 14539.76, 32, 525.12},
};
const std::vector<ScaleRow> k12 = {
    {2023, 1, 12, 0, 120000, 0, 12, 3600},
    {2023, 1, 12, 120000, kOpen, 14400, 32, 3600},
};

std::vector<ScaleRow> With(std::vector<ScaleRow> rows, size_t i, double ScaleRow::*field,
                           double value) {
    rows[i].*field = value;
    return rows;
}

// Ten brackets of 1000 each at 10 %, the last open.
std::vector<ScaleRow> TenRows() {
    std::vector<ScaleRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back(
            {2024, 1, 12, 1000.0 * i, i == 9 ? kOpen : 1000.0 * (i + 1), 100.0 * i, 10, 3600});
    return rows;
}

TEST(TaxScale, TheRowsOfAScaleAreCheckedBracketByBracket) {
    const struct {
        const char* what;
        std::vector<ScaleRow> rows;
        ScaleFault fault;
    } cases[] = {
        {"17/32 % with the tax of the first bracket", k17, ScaleFault::kNone},
        {"one grosz short", With(k17, 1, &ScaleRow::tax, 14539.75), ScaleFault::kBadTable},
        {"12/32 % with 14 400", k12, ScaleFault::kNone},
        {"12/32 % with the 10 800 quoted after the relief", With(k12, 1, &ScaleRow::tax, 10800),
         ScaleFault::kBadTable},
        {"the second row's relief differs", With(k12, 1, &ScaleRow::relief, 3089),
         ScaleFault::kDifferentReliefs},
        {"a gap between the brackets", With(k12, 1, &ScaleRow::above, 120000.01),
         ScaleFault::kBadTable},
        {"the first bracket does not begin at 0", With(k12, 0, &ScaleRow::above, 1),
         ScaleFault::kBadTable},
        {"the last bracket is not open", With(k12, 1, &ScaleRow::up_to, 999999999),
         ScaleFault::kBadTable},
        {"an empty bracket", {{2023, 1, 12, 0, 0, 0, 12, 3600}}, ScaleFault::kBadTable},
        {"no rows", {}, ScaleFault::kBadTable},
        {"ten brackets", TenRows(), ScaleFault::kTooManyRows},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckScale(c.rows), c.fault) << c.what;

    std::vector<ScaleRow> nine = TenRows();
    nine.erase(nine.end() - 2);
    nine.back().above = 8000;
    nine.back().tax = 800;
    EXPECT_EQ(CheckScale(nine), ScaleFault::kNone);
}

TEST(TaxScale, TheMonthlyReliefIsTruncatedFrom2009AndRoundedBefore) {
    const struct {
        double annual;
        int year;
        double monthly;
    } cases[] = {
        {3089, 2009, 257.41},                          // 257.4166…
        {3089, 2008, 257.42},  {3600, 2023, 300.00},   // exactly a twelfth: no grosz lost
        {5100, 2022, 425.00},  {556.02, 2009, 46.33},  // 46.335: the monthly relief of 2009-2016
        {556.02, 2008, 46.34},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(MonthlyRelief(c.annual, c.year), c.monthly) << c.annual << " " << c.year;
}

TEST(TaxScale, TheRateIsThatOfTheFirstBracketReachingTheAmount) {
    LoadedScale s = Loaded(k17, 2021);
    EXPECT_EQ(s.limits[0], 85528);
    EXPECT_EQ(s.limits[1], 0);  // open
    EXPECT_EQ(RateFor(s, 0), 17);
    EXPECT_EQ(RateFor(s, 85528), 17);  // at the limit exactly
    EXPECT_EQ(RateFor(s, 85528.01), 32);
    EXPECT_EQ(RateFor(s, 5e9), 32);  // above every closed bracket
    EXPECT_EQ(RateFor(LoadedScale{}, 1000), 0);
}

// A company with PKTAB holding `rows`, written as the editor writes them.
void Scale(TestCompany& c, const std::vector<ScaleRow>& rows) {
    c.Make("PKTAB");
    common::Tables t(c.h.rt);
    dbf::WorkArea& a = OpenScaleTable(t);
    for (const ScaleRow& r : rows) {
        t.Append(a);
        ASSERT_TRUE(WriteRow(a, r).ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }
}

std::string AbandonOf(TestCompany& c, int year, int month) {
    try {
        Qrmtabela(c.h.rt, year, month);
    } catch (const common::Abandon& e) {
        return codepage::ToUtf8(e.message());
    }
    return "";
}

TEST(TaxScale, TheScaleOfTheMonthIsLoadedIntoThePublicVariables) {
    TestCompany c;
    // 2022: 17 % and 5100 until June, 12 % and 3600 from July.
    Scale(c, {
                 {2022, 7, 12, 120000, kOpen, 14400, 32, 3600},
                 {2022, 1, 6, 0, 120000, 0, 17, 5100},
                 {2022, 7, 12, 0, 120000, 0, 12, 3600},
                 {2022, 1, 6, 120000, kOpen, 20400, 32, 5100},
                 {2021, 1, 12, 0, 85528, 0, 17, 525.12},
                 {2021, 1, 12, 85528, kOpen, 14539.76, 32, 525.12},
             });
    const common::Configuration& cfg = c.h.rt.config();
    ASSERT_EQ(AbandonOf(c, 2022, 3), "");
    EXPECT_EQ(cfg.Number("NAGLTBK1"), 120000);
    EXPECT_EQ(cfg.Number("NAGLTBP1"), 17);
    EXPECT_EQ(cfg.Number("NAGLTBK2"), 0);
    EXPECT_EQ(cfg.Number("NAGLTBP2"), 32);
    EXPECT_EQ(cfg.Number("NAGLTBUR"), 5100);
    EXPECT_EQ(cfg.Number("NAGLTBU"), 425);

    ASSERT_EQ(AbandonOf(c, 2022, 6), "");
    EXPECT_EQ(cfg.Number("NAGLTBP1"), 17);
    ASSERT_EQ(AbandonOf(c, 2022, 7), "");
    EXPECT_EQ(cfg.Number("NAGLTBP1"), 12);
    EXPECT_EQ(cfg.Number("NAGLTBU"), 300);

    ASSERT_EQ(AbandonOf(c, 2021, 12), "");
    EXPECT_EQ(cfg.Number("NAGLTBK1"), 85528);
    EXPECT_EQ(cfg.Number("NAGLTBU"), 43.76);  // 525.12 / 12

    // The month defaults to December.
    Qrmtabela(c.h.rt, 2022);
    EXPECT_EQ(cfg.Number("NAGLTBP1"), 12);
}

TEST(TaxScale, AWrongScaleIsReportedWithItsYearAndMonth) {
    std::vector<ScaleRow> different = k12;
    different[1].relief = 3000;
    std::vector<ScaleRow> ten = TenRows();
    for (ScaleRow& r : ten) r.year = 2023;
    const struct {
        std::vector<ScaleRow> rows;
        int year, month;
        const char* message;
    } cases[] = {
        {k12, 2024, 1, "Brak tabeli podatk. 2024/01"},
        {k12, 2022, 12, "Brak tabeli podatk. 2022/12"},
        {{{2022, 1, 6, 0, kOpen, 0, 17, 5100}}, 2022, 7, "Brak tabeli podatk. 2022/07"},
        {With(k12, 1, &ScaleRow::tax, 10800), 2023, 5, "Błędna tabela 2023/05"},
        {With(k12, 1, &ScaleRow::tax, 14399.99), 2023, 12, "Błędna tabela 2023/12"},
        {different, 2023, 12, "Różne ulgi w tabeli 2023/12"},
        {ten, 2023, 2, "Tabela 2023/02 ma ponad 9 poz."},
    };
    for (const auto& k : cases) {
        TestCompany c;
        Scale(c, k.rows);
        c.h.rt.config().Set("NAGLTBP1", memfile::MemValue::Numeric(99, 5, 2));
        EXPECT_EQ(AbandonOf(c, k.year, k.month), k.message);
        // Nothing of a wrong scale is loaded.
        EXPECT_EQ(c.h.rt.config().Number("NAGLTBP1"), 99) << k.message;
    }
}

TEST(TaxScale, AShorterScaleClearsTheBracketsOfALongerOneLoadedBefore) {
    TestCompany c;
    Scale(c, {
                 {2020, 1, 12, 0, 1000, 0, 10, 600},
                 {2020, 1, 12, 1000, 2000, 100, 20, 600},
                 {2020, 1, 12, 2000, kOpen, 300, 30, 600},
                 k12[0],
                 k12[1],
             });
    Qrmtabela(c.h.rt, 2020, 12);
    EXPECT_EQ(c.h.rt.config().Number("NAGLTBK3"), 0);
    EXPECT_EQ(c.h.rt.config().Number("NAGLTBP3"), 30);
    EXPECT_EQ(RateFor(Published(c.h.rt.config().variables()), 1500), 20);
    Qrmtabela(c.h.rt, 2023, 12);
    EXPECT_EQ(c.h.rt.config().Number("NAGLTBP3"), 0);
    EXPECT_EQ(RateFor(Published(c.h.rt.config().variables()), 1500), 12);
}

TEST(TaxScale, RowsClashOnTheSameKeyOrOnAmountsOfOverlappingMonths) {
    const ScaleRow first = {2022, 1, 6, 0, 120000, 0, 17, 5100};
    auto changed = [&first](auto edit) {
        ScaleRow r = first;
        edit(r);
        return r;
    };
    const struct {
        const char* what;
        ScaleRow other;
        bool clash;
    } cases[] = {
        {"the same row", first, true},
        {"the next bracket", changed([](ScaleRow& r) { r.above = 120000, r.up_to = kOpen; }),
         false},
        {"overlapping amounts", changed([](ScaleRow& r) { r.above = 100000, r.up_to = 200000; }),
         true},
        {"inside another bracket", changed([](ScaleRow& r) { r.above = 10, r.up_to = 20; }), true},
        {"the second half of the year",
         changed([](ScaleRow& r) { r.from_month = 7, r.to_month = 12; }), false},
        {"months overlapping", changed([](ScaleRow& r) { r.from_month = 6, r.to_month = 12; }),
         true},
        {"another year", changed([](ScaleRow& r) { r.year = 2023; }), false},
        {"the same key, empty bracket", changed([](ScaleRow& r) { r.up_to = 0; }), true},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(RowsClash(first, k.other), k.clash) << k.what;
        EXPECT_EQ(RowsClash(k.other, first), k.clash) << k.what;
    }
}

TEST(TaxScale, AClashIsSoughtAmongTheOtherRowsOfTheTable) {
    TestCompany c;
    Scale(c, k12);
    common::Tables t(c.h.rt);
    dbf::WorkArea& a = OpenScaleTable(t);
    ASSERT_TRUE(a.GoTop().ok());
    const uint32_t first = a.recno();
    const ScaleRow row = ReadRow(a);
    EXPECT_TRUE(ClashesInTable(c.h.rt, a, row, 0));       // as a new row
    EXPECT_FALSE(ClashesInTable(c.h.rt, a, row, first));  // itself, changed
    EXPECT_EQ(a.recno(), first);
    ScaleRow wider = row;
    wider.up_to = 130000;  // into the second bracket
    EXPECT_TRUE(ClashesInTable(c.h.rt, a, wider, first));
    ScaleRow later = row;
    later.year = 2024;
    EXPECT_FALSE(ClashesInTable(c.h.rt, a, later, 0));
}

}  // namespace
}  // namespace kestrel::tax
