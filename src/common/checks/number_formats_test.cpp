#include "common/checks/number_formats.h"

#include <gtest/gtest.h>

namespace kestrel::common {
namespace {

using F = NumberFormat;

TEST(NumberFormats, ZeroTextsPicturesAndWiderValues) {
    const struct {
        F format;
        double x;
        const char* expected;
    } cases[] = {
        {F::k7, 0, "   ---   "},
        {F::k7, 1234.5, " 1.234,50"},
        {F::k7, 123456.78, "123456,78"},  // ungrouped from 100,000 on
        {F::k7, -9999.99, "-9.999,99"},
        {F::k7, -10000, "-10000,00"},
        {F::k2, 1234.5, "   1.234,50"},
        {F::k2, -1234.5, "  -1.234,50"},
        {F::k2, 12345678.9, "12345678,90"},
        {F::k2A, 0, "      ---   "},
        {F::k2A, 1234.5, "   1.234,50 "},
        {F::k2A, 12345678.9, "12345678,90 "},
        {F::k2A, 123456789, "123456789,00"},
        {F::k2B, 0, "     ---   "},
        {F::k2B, 1234567, "  1.234.567"},
        {F::k2C, 0, "          0"},
        {F::k0, 0, "          0,00"},
        {F::k5A, 1234.5, "     1.234,50 "},
        {F::k5A, 1234567890, "1234567890,00 "},
        {F::k5A, 12345678901.5, "12345678901,50"},
        {F::k6B, 12345678, "12345.678"},
        {F::k8, -100000, "-100000,00"},
        {F::k8A, -1000000, "-1000000,00"},
        {F::k10, -1000, "-1000,00"},
        {F::k10, 999.5, "  999,50"},
        {F::k10A, 100000, "100000,00"},
        {F::k12, 0, "  --- "},
        {F::k12, 1000, "***,**"},  // too wide for every picture of the format
        {F::k13, 0, "   ---   "},
        {F::k11A, 0, "          ---   "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Qrmpic(c.format, c.x), c.expected) << static_cast<int>(c.format) << " " << c.x;
}

// Values whose range chooses a picture they do not fit, while a wider
// picture of the same format holds them: they print.
TEST(NumberFormats, SwitchPointsNeverPrintAsterisksForValuesAWiderPictureHolds) {
    const struct {
        F format;
        double x;
        const char* expected;
    } cases[] = {
        {F::k2, -1000000, "-1000000,00"},
        {F::k2D, -1000000, "-1000000,00"},
        {F::k2E, -1000000, " -1000000,00"},
        {F::k2A, -1000000, "-1000000,00 "},
        {F::k2A, -10000000, "-10000000,00"},
        {F::k5A, 500000000, " 500000000,00 "},
        {F::k5A, -50000000, " -50000000,00 "},
        {F::k5A, -10000000, " -10000000,00 "},
        {F::k5A, -1000000000, "-1000000000,00"},
        {F::k7, 99999.999, "100000,00"},  // reaches the switch point by rounding
        {F::k2, 9999999.999, "10000000,00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Qrmpic(c.format, c.x), c.expected) << static_cast<int>(c.format) << " " << c.x;
}

TEST(NumberFormats, DashOnlyWithOneArgumentWhereSoDefined) {
    EXPECT_EQ(Qrmpic(F::k1, 0), "         ---   ");
    EXPECT_EQ(Qrmpic(F::k1, 0, false), "           0,00");
    EXPECT_EQ(Qrmpic(F::k3A, 0, false), "             0");
    EXPECT_EQ(Qrmpic(F::k4, 0), "           ---   ");
    EXPECT_EQ(Qrmpic(F::k4, 0, false), "             0,00");
    EXPECT_EQ(Qrmpic(F::k7, 0, false), "   ---   ");  // the others ignore it
}

TEST(NumberFormats, NamesFindTheirFormats) {
    EXPECT_EQ(NumberFormatByName("QRMPIC0"), F::k0);
    EXPECT_EQ(NumberFormatByName("qrmpic5a"), F::k5A);
    EXPECT_EQ(NumberFormatByName("QRMPIC11C"), F::k11C);
    EXPECT_EQ(NumberFormatByName("QRMPIC13"), F::k13);
    EXPECT_FALSE(NumberFormatByName("QRMPIC14").has_value());
    EXPECT_FALSE(NumberFormatByName("QRMPIC").has_value());
    // The table behind the names is in the order of the enumeration.
    EXPECT_EQ(Qrmpic(*NumberFormatByName("QRMPIC10A"), 1), "    1,00 ");
    EXPECT_EQ(Qrmpic(*NumberFormatByName("QRMPIC6A"), 0), "      ---   ");
}

TEST(NumberFormats, StrsAndStrz) {
    EXPECT_EQ(Qrmstrs(0, 5), "     ");
    EXPECT_EQ(Qrmstrs(42, 5), "   42");
    EXPECT_EQ(Qrmstrs(12.6, 4), "  13");
    EXPECT_EQ(Qrmstrs(-7, 3), " -7");
    EXPECT_EQ(Qrmstrs(123456, 3), "***");
    EXPECT_EQ(Qrmstrz(42, 5), "00042");
    EXPECT_EQ(Qrmstrz(0, 2), "00");
    EXPECT_EQ(Qrmstrz(-5, 3), "-05");
    EXPECT_EQ(Qrmstrz(1234, 3), "***");
}

}  // namespace
}  // namespace kestrel::common
