#include "tools/demo_tax.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/session/abandon.h"
#include "headless_runtime.h"
#include "platform/codepage/cp852.h"
#include "tax/data/tax_scale.h"
#include "tools/demo_company.h"

namespace kestrel::tools {
namespace {

// Every month of 2022-2027 has a scale that loads, with the rates and
// reliefs of its half of 2022 or of the years after.
TEST(DemoTaxScales, EveryMonthOfTheYearsLoadsItsScale) {
    const auto root =
        std::filesystem::temp_directory_path() / ("kestrel_demo_tax_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    // A second run adds nothing.
    ASSERT_TRUE(AddDemoTaxScales((root / "DEMO.PK").string(), clock).ok());
    kestrel::testing::HeadlessRuntime h;
    h.rt.set_data_dir((root / "DEMO.PK").string() + "/");
    const common::Configuration& cfg = h.rt.config();
    for (int year = 2022; year <= 2027; ++year)
        for (int month = 1; month <= 12; ++month) {
            try {
                tax::Qrmtabela(h.rt, year, month);
            } catch (const common::Abandon& e) {
                ADD_FAILURE() << codepage::ToUtf8(e.message());
                continue;
            }
            const bool first_half_2022 = year == 2022 && month <= 6;
            EXPECT_EQ(cfg.Number("NAGLTBK1"), 120000) << year << "/" << month;
            EXPECT_EQ(cfg.Number("NAGLTBP1"), first_half_2022 ? 17 : 12) << year << "/" << month;
            EXPECT_EQ(cfg.Number("NAGLTBK2"), 0) << year << "/" << month;
            EXPECT_EQ(cfg.Number("NAGLTBP2"), 32) << year << "/" << month;
            EXPECT_EQ(cfg.Number("NAGLTBU"), first_half_2022 ? 425 : 300) << year << "/" << month;
        }
    EXPECT_THROW(tax::Qrmtabela(h.rt, 2021, 12), common::Abandon);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
