#include "payroll/data/statutory_values.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/tables/table_catalogue.h"

namespace kestrel::payroll {
namespace {

std::optional<double> Shipped(const std::string& field, int year, int month) {
    for (const auto& [f, v] : StatutoryValuesFor(ShippedStatutoryValues(), {year, month}))
        if (f == field) return v;
    return std::nullopt;
}

// The values a new month takes, including the corrected ones (the 2022
// ceiling of 177660.00, the 2017 hourly rate of 13.00), the half-year
// changes, and January 2022 setting KWOTA_BAZ.
TEST(StatutoryValues, ShippedValuesOfMonths) {
    struct Case {
        const char* field;
        int year, month;
        double value;
    } const cases[] = {
        {"MIN_WYN", 2017, 1, 2000.00},    {"MIN_WYN_G", 2017, 12, 13.00},
        {"MIN_WYN", 2023, 6, 3490.00},    {"MIN_WYN", 2023, 7, 3600.00},
        {"MIN_WYN_G", 2023, 6, 22.80},    {"MIN_WYN_G", 2023, 7, 23.50},
        {"MIN_WYN", 2024, 6, 4242.00},    {"MIN_WYN", 2024, 7, 4300.00},
        {"MIN_WYN_G", 2024, 1, 27.70},    {"MIN_WYN_G", 2024, 12, 28.10},
        {"MIN_WYN", 2025, 3, 4666.00},    {"MIN_WYN_G", 2025, 3, 30.50},
        {"MIN_WYN", 2026, 1, 4806.00},    {"MIN_WYN_G", 2026, 12, 31.40},
        {"MIN_P_PROK", 2018, 5, 2000.00}, {"MIN_P_PROK", 2024, 1, 3600.00},
        {"MIN_P_PROK", 2026, 1, 4666.00}, {"POLE_10", 2019, 1, 142950.00},
        {"POLE_10", 2022, 1, 177660.00},  {"POLE_10", 2024, 2, 234720.00},
        {"POLE_10", 2025, 12, 260190.00}, {"POLE_10", 2026, 1, 282600.00},
        {"PW_4_KW_PR", 2022, 1, 6221.04}, {"PW_4_KW_PR", 2023, 1, 6965.94},
        {"PW_4_KW_PR", 2024, 1, 7540.36}, {"PW_4_KW_PR", 2026, 1, 9197.79},
        {"KWOTA_BAZ", 2022, 1, 19.70},
    };
    for (const Case& c : cases) {
        const std::optional<double> v = Shipped(c.field, c.year, c.month);
        ASSERT_TRUE(v.has_value()) << c.field << " " << c.year << "-" << c.month;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.field << " " << c.year << "-" << c.month;
    }
}

// A month no row covers leaves the field out: it keeps what it had.
TEST(StatutoryValues, UncoveredMonthsKeepTheField) {
    struct Case {
        const char* field;
        int year, month;
    } const cases[] = {
        {"KWOTA_BAZ", 2022, 2}, {"KWOTA_BAZ", 2021, 12}, {"KWOTA_BAZ", 2023, 1},
        {"MIN_WYN", 2016, 12},  {"MIN_WYN", 2027, 1},    {"MIN_P_PROK", 2017, 6},
        {"POLE_10", 2018, 1},   {"PW_4_KW_PR", 2021, 1}, {"PW_4_KW_PR", 2027, 1},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(Shipped(c.field, c.year, c.month).has_value())
            << c.field << " " << c.year << "-" << c.month;
    EXPECT_TRUE(StatutoryValuesFor(ShippedStatutoryValues(), {2027, 1}).empty());
}

// Every shipped row names a numeric field of the control record, and no two
// rows of a field cover the same month (the later would win unseen).
TEST(StatutoryValues, ShippedRowsFitTheControlRecordAndDoNotOverlap) {
    const std::vector<StatutoryRow> rows = ShippedStatutoryValues();
    ASSERT_GT(rows.size(), 40u);
    const common::TableLayout* ster = common::FindTable("PKSTER");
    ASSERT_NE(ster, nullptr);
    for (const StatutoryRow& r : rows) {
        bool numeric = false;
        for (const dbf::FieldSpec& f : ster->Specs())
            if (f.name == r.field) numeric = f.type == dbf::FieldType::kNumeric;
        EXPECT_TRUE(numeric) << r.field;
        for (const StatutoryRow& o : rows)
            if (&o != &r && o.field == r.field && o.year == r.year)
                EXPECT_TRUE(o.last < r.first || o.first > r.last)
                    << r.field << " " << r.year << " " << r.first << "-" << r.last;
    }
}

TEST(StatutoryValues, MalformedRowsAreRefusedWithTheirLine) {
    struct Case {
        const char* text;
        const char* error;
    } const cases[] = {
        {"MIN_WYN 2024 1 12\n", "line 1: five words expected"},
        {"# c\nMIN_WYN 2024 1 12 1 2\n", "line 2: five words expected"},
        {"MIN_WYN 24x 1 12 1\n", "line 1: bad year"},
        {"MIN_WYN 2024 0 12 1\n", "line 1: bad months"},
        {"MIN_WYN 2024 7 6 1\n", "line 1: bad months"},
        {"MIN_WYN 2024 1 13 1\n", "line 1: bad months"},
        {"MIN_WYN 2024 1 12 4,5\n", "line 1: bad value"},
    };
    for (const Case& c : cases) {
        std::vector<StatutoryRow> rows;
        std::string error;
        EXPECT_FALSE(ParseStatutoryValues(c.text, &rows, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_TRUE(rows.empty());
    }
    std::vector<StatutoryRow> rows;
    std::string error;
    ASSERT_TRUE(ParseStatutoryValues("\n  # note\nPOLE_10 2030 2 3 1.5\n", &rows, &error));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].field, "POLE_10");
    EXPECT_EQ(rows[0].first, 2);
    EXPECT_EQ(rows[0].last, 3);
    EXPECT_DOUBLE_EQ(rows[0].value, 1.5);
}

}  // namespace
}  // namespace kestrel::payroll
