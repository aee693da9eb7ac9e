#include "printing/data/print_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrel::printing {
namespace {

class PrintOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("print_output_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::filesystem::path dir_;
};

TEST_F(PrintOutputTest, PlacesTextByRowsAndColumnsAndEjectsWhenARowIsAbove) {
    PrintOutput out;
    ASSERT_TRUE(out.Open(Path("TEMP01.PRT")).ok());
    out.Control("\x1bG");  // moves nothing
    out.Say(0, 2, "AB");
    out.Say(2, 1, "C");
    out.Say(2, 0, "D");  // left of the head on the same row: a new line
    out.Say(1, 0, "E");  // above: the next page
    EXPECT_EQ(out.row(), 1);
    EXPECT_EQ(out.col(), 1);
    ASSERT_TRUE(out.Close().ok());
    EXPECT_EQ(Read(Path("TEMP01.PRT")), "\x1bG  AB\r\n\r\n C\r\nD\f\r\nE");
}

TEST_F(PrintOutputTest, ConvertsTextButNotControlSequences) {
    PrintOutput out;
    ASSERT_TRUE(out.Open(Path("x.prt"),
                         [](std::string_view s) {
                             std::string r(s);
                             for (char& c : r)
                                 if (c == 'a') c = 'b';
                             return r;
                         })
                    .ok());
    out.Control("a");
    out.Text("aa");
    EXPECT_EQ(out.col(), 2);
    ASSERT_TRUE(out.Close().ok());
    EXPECT_EQ(Read(Path("x.prt")), "abb");
}

TEST_F(PrintOutputTest, InMemoryTheBytesAreThoseAFileWouldHoldAndEachOpenStartsAfresh) {
    auto upper = [](std::string_view s) {
        std::string r(s);
        for (char& c : r)
            if (c == 'a') c = 'A';
        return r;
    };
    auto write = [](PrintOutput& out) {
        out.Control("a");
        out.Say(1, 3, "abc");
        out.Eject();
        out.Text(std::string(5000, 'a'));  // beyond any first buffer
    };
    PrintOutput file;
    ASSERT_TRUE(file.Open(Path("a.prt"), upper).ok());
    write(file);
    ASSERT_TRUE(file.Close().ok());

    PrintOutput memory;
    ASSERT_TRUE(memory.OpenMemory(upper).ok());
    write(memory);
    EXPECT_EQ(memory.bytes(), 5010);
    ASSERT_TRUE(memory.Close().ok());
    EXPECT_EQ(memory.memory(), Read(Path("a.prt")));
    // A second document in the same output holds only itself.
    ASSERT_TRUE(memory.OpenMemory().ok());
    memory.Say(0, 0, "x");
    ASSERT_TRUE(memory.Close().ok());
    EXPECT_EQ(memory.memory(), "x");
}

TEST_F(PrintOutputTest, AnExclusiveCreateRefusesATakenNameAndOpenTruncates) {
    { std::ofstream(Path("TEMP02.PRT")) << "old contents"; }
    PrintOutput out;
    EXPECT_TRUE(out.OpenNew(Path("TEMP02.PRT")).IsBusy());
    EXPECT_FALSE(out.is_open());
    ASSERT_TRUE(out.OpenNew(Path("TEMP03.PRT")).ok());
    ASSERT_TRUE(out.Close().ok());
    ASSERT_TRUE(out.Open(Path("TEMP02.PRT")).ok());
    out.Text("x");
    ASSERT_TRUE(out.Close().ok());
    EXPECT_EQ(Read(Path("TEMP02.PRT")), "x");
}

TEST_F(PrintOutputTest, AFailedWriteIsReportedByClose) {
    PrintOutput out;
    ASSERT_TRUE(out.Open("/dev/full").ok());
    out.Text(std::string(100000, 'x'));
    EXPECT_FALSE(out.Close().ok());
}

}  // namespace
}  // namespace kestrel::printing
