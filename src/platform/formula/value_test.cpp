#include "platform/formula/value.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/formula/date.h"
#include "platform/formula/number_format.h"
#include "platform/picture/picture.h"

namespace kestrel::formula {
namespace {

TEST(ValueTest, StringsAreSharedAndImmutable) {
    Value a = Value::String("abc");
    Value b = a;
    b = Value::String("xyz");
    EXPECT_EQ(a.str(), "abc");
    EXPECT_EQ(b.str(), "xyz");
    Value c = std::move(a);
    EXPECT_TRUE(a.IsNil());
    EXPECT_EQ(c.str(), "abc");
}

TEST(ValueTest, ArraysAreSharedByReference) {
    ArrayPool pool;
    {
        Value a = Value::NewArray(pool, 2);
        Value b = a;
        b.items()[0] = Value::Number(5);
        EXPECT_EQ(a.items()[0].number(), 5);
        EXPECT_EQ(a.array_id(), b.array_id());
        a.items().push_back(Value::NewArray(pool, 1));
        EXPECT_EQ(pool.size(), 2u);
    }
    EXPECT_EQ(pool.size(), 0u);
}

TEST(ValueTest, ThePoolFreesWhatOnlyCyclesHold) {
    ArrayPool pool;
    Value kept = Value::NewArray(pool, 0);  // held from outside, itself in a cycle
    kept.items().push_back(kept);
    {
        Value a = Value::NewArray(pool, 0);
        Value b = Value::NewArray(pool, 0);
        a.items().push_back(b);
        b.items().push_back(a);
        a.items().push_back(a);
        a.items().push_back(Value::NewArray(pool, 1));     // held only by the cycle
        kept.items().push_back(Value::NewArray(pool, 0));  // held by an array held from outside
    }
    EXPECT_EQ(pool.size(), 5u);
    EXPECT_EQ(pool.Collect(), 3u);
    EXPECT_EQ(pool.size(), 2u);
    ASSERT_EQ(kept.items().size(), 2u);
    EXPECT_EQ(kept.items()[0].array_id(), kept.array_id());
    EXPECT_TRUE(kept.items()[1].IsArray());
    EXPECT_EQ(pool.Collect(), 0u);
    kept = Value();
    EXPECT_EQ(pool.Collect(), 2u);
    EXPECT_EQ(pool.size(), 0u);
}

TEST(ValueTest, AnArrayMayOutliveItsPool) {
    Value result;
    {
        ArrayPool pool;
        result = Value::NewArray(pool, 1);
        result.items()[0] = Value::NewArray(pool, 0);
        Value cycle = Value::NewArray(pool, 0);
        cycle.items().push_back(cycle);
    }  // the cycle goes with the pool; the result leaves it
    ASSERT_EQ(result.items().size(), 1u);
    EXPECT_TRUE(result.items()[0].IsArray());
}

TEST(ValueTest, SetNumberReusesTheValue) {
    Value v = Value::String("x");
    v.SetNumber(2.5, 1, 4);
    EXPECT_TRUE(v.IsNumber());
    EXPECT_EQ(v.decimals(), 1);
    EXPECT_EQ(v.width(), 4);
    EXPECT_EQ(StrDefault(v), "   2.5");
}

TEST(NumberFormatTest, RoundsHalfAwayAsPrinted) {
    EXPECT_EQ(FormatFixed(2.345, 2), "2.35");
    EXPECT_EQ(FormatFixed(-2.345, 2), "-2.35");
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(1e15, 0), "1000000000000000");
    EXPECT_EQ(FormatNumber(-0.001, 6, 2), "  0.00");
    EXPECT_EQ(FormatNumber(123.456, 5, 2), "*****");
    EXPECT_EQ(FormatNumber(1.0 / 0.0, 4, 0), "****");
}

TEST(NumberFormatTest, DefaultWidths) {
    EXPECT_EQ(StrDefault(Value::Number(12)), "        12");
    EXPECT_EQ(StrDefault(Value::Number(12, 2)), "        12.00");
    EXPECT_EQ(StrDefault(Value::Number(12345678901.0)).size(), 20u);
    EXPECT_EQ(StrDefault(Value::Number(2024, 0, 5)), " 2024");
}

TEST(NumberFormatTest, CanonicalForms) {
    EXPECT_EQ(Canonical(Value()), "NIL");
    EXPECT_EQ(Canonical(Value::Number(-1.5, 2)), "-1.50");
    EXPECT_EQ(Canonical(Value::String("a")), "\"a\"");
    EXPECT_EQ(Canonical(Value::Date(2451545)), "2000-01-01");
    EXPECT_EQ(Canonical(Value::Logical(false)), ".F.");
    ArrayPool pool;
    Value a = Value::NewArray(pool, 0);
    a.items().push_back(Value::Number(1));
    a.items().push_back(a);
    EXPECT_EQ(Canonical(a).substr(0, 8), "{1, {1, ");
    a.items().clear();
}

}  // namespace
}  // namespace kestrel::formula

namespace kestrel::formula {
namespace {

TEST(NumberFormat, WholeNumbersPrintAsTheGeneralRoundingPrintsThem) {
    // Whole numbers take a shortcut; it must print exactly what the
    // rounding routine prints, for every number of decimals.
    const double values[] = {0,
                             -0.0,
                             1,
                             -1,
                             7,
                             12,
                             60,
                             2024,
                             -305,
                             1e14,
                             -1e14,
                             999999999999999.0,
                             -999999999999999.0,
                             123456789012345.0,
                             4503599627370496.0 / 8};
    for (double v : values) {
        for (int dec = -1; dec <= 16; ++dec) {
            EXPECT_EQ(FormatFixed(v, dec), picture::FormatFixed(v, dec)) << v << " " << dec;
        }
        EXPECT_EQ(FormatNumber(v, 4, 0),
                  picture::FormatFixed(v, 0).size() > 4
                      ? std::string("****")
                      : std::string(4 - picture::FormatFixed(v, 0).size(), ' ') +
                            picture::FormatFixed(v, 0));
    }
}

}  // namespace
}  // namespace kestrel::formula

namespace kestrel::formula {
namespace {

TEST(Dates, DtosIsYearMonthDayZeroPadded) {
    // Every day from before year 1 to after 9999 (in steps that meet every
    // month end and every digit), as the printf form of the parts.
    for (int32_t j = -10; j < 5400000; j += (j > 2400000 && j < 2500000) ? 1 : 37) {
        int y, m, d;
        YmdFromJulian(j, &y, &m, &d);
        char want[48];
        if (j <= 0 || y < 1 || y > 9999)
            std::snprintf(want, sizeof want, "        ");
        else
            std::snprintf(want, sizeof want, "%04d%02d%02d", y, m, d);
        ASSERT_EQ(Dtos(j), want) << j;
        if (j > 0 && y >= 1 && y <= 9999) {
            ASSERT_EQ(Stod(want), j) << want;
        }
    }
}

}  // namespace
}  // namespace kestrel::formula
