#include "platform/base/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kestrel::base {
namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrel_files_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(FilesTest, AtomicReplaceLeavesNoWorkCopyAndReadsBack) {
    std::string path = Path("QRM.MEM");
    ASSERT_TRUE(WriteFileAtomically(path, std::string("first\0x", 7)).ok());
    ASSERT_TRUE(WriteFileAtomically(path, "second").ok());
    std::string got;
    ASSERT_TRUE(ReadFile(path, &got).ok());
    EXPECT_EQ(got, "second");
    EXPECT_FALSE(Exists(path + ".$$$"));
    EXPECT_TRUE(ReadFile(Path("NONE.MEM"), &got).IsNotFound());
}

TEST_F(FilesTest, AFailedReplaceKeepsTheOldFile) {
    std::string path = Path("QRM.MEM");
    ASSERT_TRUE(WriteFileAtomically(path, "old").ok());
    // The work copy cannot be created when a directory of its name is in the way.
    std::filesystem::create_directories(path + ".$$$");
    EXPECT_FALSE(WriteFileAtomically(path, "new").ok());
    std::string got;
    ASSERT_TRUE(ReadFile(path, &got).ok());
    EXPECT_EQ(got, "old");
}

TEST_F(FilesTest, NamesAreFoundWithoutRegardToCase) {
    std::ofstream(Path("pkprac.dbf")) << "x";
    EXPECT_EQ(FindNoCase(dir_.string(), "PKPRAC.DBF"), Path("pkprac.dbf"));
    EXPECT_EQ(FindNoCase(dir_.string() + "/", "PkPrAc.DbF"), Path("pkprac.dbf"));
    EXPECT_EQ(FindNoCase(dir_.string(), "PKOSOB.DBF"), Path("PKOSOB.DBF"));  // to be created
}

}  // namespace
}  // namespace kestrel::base
