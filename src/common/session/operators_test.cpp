#include "common/session/operators.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/files.h"

namespace kestrel::common {
namespace {

TEST(Operators, RightsMarksPutKindSevenFirstAndKindOneLast) {
    EXPECT_EQ(RightsMarks(RightBit(7)), "   X      ");
    EXPECT_EQ(RightsMarks(RightBit(1)), "         X");
    EXPECT_EQ(RightsMarks(RightBit(6) | RightBit(3)), "    X  X  ");
    for (unsigned r = 0; r < 256; ++r) EXPECT_EQ(RightsFromMarks(RightsMarks(r)), r);
}

TEST(Operators, RightsCheck) {
    OperatorState nobody;  // no list: everything is open
    EXPECT_TRUE(RightsAllow(nobody, 4));
    OperatorState viewer{true, "JKOW", RightBit(6)};
    EXPECT_TRUE(RightsAllow(viewer, 36));  // kind 3 or kind 6
    EXPECT_FALSE(RightsAllow(viewer, 4));  // kind 3 only
    OperatorState anonymous{true, "    ", 0};
    EXPECT_FALSE(RightsAllow(anonymous, 255));
}

TEST(Operators, PasswordsAreSaltedSlowHashes) {
    std::string a = HashPassword("tajne-hasło");
    std::string b = HashPassword("tajne-hasło");
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.rfind("$y$", 0), 0u) << a;  // yescrypt
    EXPECT_NE(a, b);                        // salted
    EXPECT_TRUE(PasswordMatches("tajne-hasło", a));
    EXPECT_FALSE(PasswordMatches("tajne-haslo", a));
    EXPECT_FALSE(PasswordMatches("", a));
    EXPECT_FALSE(PasswordMatches("x", ""));
    EXPECT_FALSE(PasswordMatches("x", "garbage"));
}

class OperatorFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            (std::filesystem::temp_directory_path() / ("kestrel_ops_" + std::to_string(::getpid())))
                .string();
        std::filesystem::create_directories(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string root_;
};

TEST_F(OperatorFiles, ListsRoundTripAndKeepNothingInClear) {
    std::vector<Operator> list = {
        {kAdministrator, "Administrator", RightBit(8), false, HashPassword("admin")},
        {"JKOW", "Jan Kowalski", RightBit(1) | RightBit(6), false, HashPassword("jan")},
        {"ANOW", "Anna Nowak", RightBit(2), true, HashPassword("anna")}};
    const std::string path = OperatorListPath(root_, "FIRMA1.PK");
    EXPECT_EQ(path, root_ + "/HASLA.QRM/FIRMA1.PK.DBF");
    std::vector<Operator> read;
    EXPECT_TRUE(LoadOperators(path, &read).IsNotFound());
    ASSERT_TRUE(SaveOperators(path, list).ok());
    ASSERT_TRUE(LoadOperators(path, &read).ok());
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[1].ident, "JKOW");
    EXPECT_EQ(read[1].name, "Jan Kowalski");
    EXPECT_EQ(read[1].rights, RightBit(1) | RightBit(6));
    EXPECT_TRUE(read[2].inactive);
    EXPECT_TRUE(PasswordMatches("anna", read[2].password_hash));

    std::string bytes;
    ASSERT_TRUE(base::ReadFile(path, &bytes).ok());
    EXPECT_EQ(bytes.find("JKOW"), std::string::npos);
    EXPECT_EQ(bytes.find("ADMI"), std::string::npos);
    EXPECT_EQ(bytes.find("anna"), std::string::npos);

    // A new company starts with a copy; a renamed one takes its list along.
    ASSERT_TRUE(CopyOperatorList(root_, "FIRMA1.PK", "FIRMA2.PK").ok());
    ASSERT_TRUE(LoadOperators(OperatorListPath(root_, "FIRMA2.PK"), &read).ok());
    EXPECT_EQ(read.size(), 3u);
    ASSERT_TRUE(MoveOperatorList(root_, "FIRMA2.PK", "NOWA.PK").ok());
    EXPECT_FALSE(base::Exists(OperatorListPath(root_, "FIRMA2.PK")));
    ASSERT_TRUE(LoadOperators(OperatorListPath(root_, "NOWA.PK"), &read).ok());
    // Copying from a company without a list gives none.
    ASSERT_TRUE(CopyOperatorList(root_, "", "TRZECIA.PK").ok());
    EXPECT_FALSE(base::Exists(OperatorListPath(root_, "TRZECIA.PK")));
}

}  // namespace
}  // namespace kestrel::common
