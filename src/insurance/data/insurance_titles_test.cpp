#include "insurance/data/insurance_titles.h"

#include <gtest/gtest.h>

namespace kestrel::insurance {
namespace {

base::Date D(int y, int m, int d) {
    return {y, m, d};
}

TEST(ResolveTitles, MainTitleThenTheAdditionalOnesOnceAndTheBlankTitleLast) {
    struct Case {
        const char* what;
        EmployeeTitles titles;
        bool ok;
        std::vector<std::string> codes;
    };
    const base::Date march{2026, 3, 1};
    const Case cases[] = {
        {"main only", {"0110", D(2020, 1, 1), {}, {}}, true, {"0110", "    "}},
        {"no title at all", {"    ", {}, {}, {}}, true, {"    "}},
        {"an additional title",
         {"0110", D(2020, 1, 1), {}, {{"0411", D(2026, 3, 1), D(2026, 3, 31)}}},
         true,
         {"0110", "0411", "    "}},
        {"a code listed twice without overlap is taken once",
         {"0110",
          D(2020, 1, 1),
          {},
          {{"0411", D(2026, 1, 1), D(2026, 1, 31)}, {"0411", D(2026, 3, 1), D(2026, 3, 31)}}},
         true,
         {"0110", "0411", "    "}},
        {"overlapping periods of one code",
         {"0110",
          D(2020, 1, 1),
          {},
          {{"0411", D(2026, 1, 1), D(2026, 3, 10)}, {"0411", D(2026, 3, 1), {}}}},
         false,
         {}},
        {"the main title overlaps an additional row of its code",
         {"0110", D(2020, 1, 1), {}, {{"0110", D(2026, 3, 1), {}}}},
         false,
         {}},
        {"the main title ends the day after the dismissal",
         {"0110", D(2020, 1, 1), D(2026, 2, 27), {{"0110", D(2026, 2, 28), {}}}},
         false,
         {}},
        {"main title ended, a new row of its code from two days later",
         {"0110", D(2020, 1, 1), D(2026, 2, 27), {{"0110", D(2026, 3, 1), {}}}},
         true,
         {"0110", "    "}},
        {"ended 31 days before the month is kept, 32 days dropped",
         {"0110", D(2020, 1, 1), {}, {{"0411", {}, D(2026, 1, 29)}, {"0511", {}, D(2026, 1, 28)}}},
         true,
         {"0110", "0411", "    "}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> codes;
        EXPECT_EQ(ResolveTitles(c.titles, march, &codes), c.ok) << c.what;
        if (c.ok) EXPECT_EQ(codes, c.codes) << c.what;
    }
}

TEST(InsuranceTitle, AddsTheCodesAndDeclaresTheLeftUnder3000ForGroups01And04Only) {
    EXPECT_EQ(InsuranceTitle("0110", '0', '1', false), "011001");
    EXPECT_EQ(InsuranceTitle("0110", '0', '1', true), "300001");
    EXPECT_EQ(InsuranceTitle("0411", '2', '0', true), "300020");
    EXPECT_EQ(InsuranceTitle("0510", '0', '0', true), "051000");
    EXPECT_EQ(InsuranceTitle("    ", '0', '0', true), "      ");
    EXPECT_EQ(InsuranceTitle("", '5', ' ', false), "      ");
}

TEST(AllowedCodes, PensionOf012AndDisabilityOf0123) {
    EXPECT_TRUE(AllowedCodes('0', '0'));
    EXPECT_TRUE(AllowedCodes('2', '3'));
    EXPECT_FALSE(AllowedCodes('3', '0'));
    EXPECT_FALSE(AllowedCodes('0', '4'));
    EXPECT_FALSE(AllowedCodes(' ', '0'));
    EXPECT_FALSE(AllowedCodes('0', ' '));
}

}  // namespace
}  // namespace kestrel::insurance
