#include "startup/directories.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrel::startup {
namespace {

class DirectoriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = (std::filesystem::temp_directory_path() /
                 ("kestrel_dirs_" + std::to_string(::getpid())))
                    .string();
        std::filesystem::create_directories(root_ + "/FIRMA1.PK");
        std::filesystem::create_directories(root_ +
                                            "/firma2.pk");  // copied from an old installation
        std::filesystem::create_directories(root_ + "/ARCHIWUM");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string root_;
};

TEST_F(DirectoriesTest, CompanyParameter) {
    struct Case {
        std::string param;
        std::string company;
    } cases[] = {
        {"firma1", "FIRMA1.PK"},
        {"FIRMA1.PK", "FIRMA1.PK"},
        {"FIRMA2", "firma2.pk"},  // found without regard to case
        {"NOWA", ""},             // no such directory
        {"ARCHIWUM.X", ""},       // does not end in .PK
        {"../FIRMA1.PK", ""},     // would leave the program directory
        {"/etc/x.PK", ""},
        {"A\\B.PK", ""},
        {"..PK", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        Directories d = ResolveDirectories(root_, c.param, nullptr);
        EXPECT_EQ(d.company, c.company) << c.param;
        EXPECT_EQ(d.program, root_);
        EXPECT_EQ(d.data, c.company.empty() ? root_ + "/" : root_ + "/" + c.company + "/")
            << c.param;
        EXPECT_EQ(d.akord, root_ + "/");
    }
}

TEST_F(DirectoriesTest, StartedInsideACompanyDirectory) {
    Directories d = ResolveDirectories(root_ + "/FIRMA1.PK/", "", nullptr);
    EXPECT_EQ(d.program, root_);
    EXPECT_EQ(d.company, "FIRMA1.PK");
    EXPECT_EQ(d.data, root_ + "/FIRMA1.PK/");
    // A parameter wins over the current directory's name.
    Directories p = ResolveDirectories(root_ + "/FIRMA1.PK", "firma2", nullptr);
    EXPECT_EQ(p.program, root_ + "/FIRMA1.PK");
    EXPECT_EQ(p.company, "");
}

TEST_F(DirectoriesTest, PieceworkDirectoryFromTheEnvironment) {
    EXPECT_EQ(ResolveDirectories(root_, "", "/srv/akord").akord, "/srv/akord/");
    EXPECT_EQ(ResolveDirectories(root_, "", "/srv/akord/").akord, "/srv/akord/");
    EXPECT_EQ(ResolveDirectories(root_, "", "").akord, root_ + "/");
}

}  // namespace
}  // namespace kestrel::startup
