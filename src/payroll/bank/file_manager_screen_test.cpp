// The file manager of 4.A.3 driven by keys: the output directory and a
// second one, a file copied across and one deleted.
#include <gtest/gtest.h>

#include <filesystem>

#include "bank_test_support.h"
#include "payroll/bank/menu4a.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using bank::testing::BankCompany;

TEST(FileManagerScreen, CopiesToTheOtherPanelAndDeletes) {
    BankCompany c;
    const std::string disk = c.dir.File("DYSK") + "/";
    std::filesystem::create_directories(disk);
    ASSERT_TRUE(base::WriteFileAtomically(c.out + "AB261210.TXT", "ab").ok());
    ASSERT_TRUE(base::WriteFileAtomically(c.out + "EL261210.PLI", "nowy").ok());
    ASSERT_TRUE(base::WriteFileAtomically(disk + "EL261210.PLI", "stary").ok());
    c.Keys({key::Ctrl('Y')});
    c.Keys(disk);
    c.Keys({key::kEnter});
    // The second file to the disk, where it exists and is replaced; then
    // the first file of the output directory deleted; Tab shows the disk.
    c.Keys({key::kDown, key::F(5), 't', 't', key::kUp, key::F(8), 't', key::kTab, key::kEsc});
    Qrm4A3(c.h.rt);
    std::string text;
    ASSERT_TRUE(base::ReadFile(disk + "EL261210.PLI", &text).ok());
    EXPECT_EQ(text, "nowy");
    EXPECT_FALSE(std::filesystem::exists(disk + "AB261210.TXT"));
    EXPECT_EQ(c.Files(), std::vector<std::string>{"EL261210.PLI"});
}

TEST(FileManagerScreen, NothingIsCopiedOrDeletedWithoutYes) {
    BankCompany c;
    const std::string disk = c.dir.File("DYSK") + "/";
    std::filesystem::create_directories(disk);
    ASSERT_TRUE(base::WriteFileAtomically(c.out + "EL261210.PLI", "nowy").ok());
    c.Keys({key::Ctrl('Y')});
    c.Keys(disk);
    c.Keys({key::kEnter, key::F(5), 'n', key::F(8), 'n', key::kEsc});
    Qrm4A3(c.h.rt);
    EXPECT_TRUE(std::filesystem::is_empty(disk));
    EXPECT_EQ(c.Files(), std::vector<std::string>{"EL261210.PLI"});
}

}  // namespace
}  // namespace kestrel::payroll
