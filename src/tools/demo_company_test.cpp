#include "tools/demo_company.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/identifiers.h"

namespace kestrel::tools {
namespace {

TEST(DemoCompany, IdentifiersAreValidAndTheFileIsCreatedOnce) {
    auto entries = DemoConfiguration();
    EXPECT_EQ(common::CheckNip(memfile::FindEntry(entries, "NAGL6")->value.text), 0);
    EXPECT_EQ(common::CheckRegon(memfile::FindEntry(entries, "NAGL7")->value.text), 0);
    EXPECT_EQ(memfile::FindEntry(entries, "NAGL1")->value.text.size(), 20u);
    EXPECT_EQ(
        common::CheckBankAccount(memfile::FindEntry(entries, "NAGL74")->value.text.substr(0, 26)),
        0);

    auto root =
        std::filesystem::temp_directory_path() / ("kestrel_demo_" + std::to_string(::getpid()));
    ASSERT_TRUE(CreateDemoCompany(root.string()).ok());
    std::vector<memfile::MemEntry> read;
    ASSERT_TRUE(memfile::ReadMemFile((root / "DEMO.PK/QRM.MEM").string(), &read).ok());
    EXPECT_EQ(read, entries);
    // A second run leaves the company as it is.
    ASSERT_TRUE(memfile::WriteMemFile((root / "DEMO.PK/QRM.MEM").string(), {}).ok());
    ASSERT_TRUE(CreateDemoCompany(root.string()).ok());
    ASSERT_TRUE(memfile::ReadMemFile((root / "DEMO.PK/QRM.MEM").string(), &read).ok());
    EXPECT_TRUE(read.empty());
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
