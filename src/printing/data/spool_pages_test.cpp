#include "printing/data/spool_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/files.h"
#include "test_util.h"

namespace kestrel::printing {
namespace {

struct Split {
    std::vector<std::string> pages;
    std::vector<bool> fed;  // ended by a form feed
};

// Feeds `file` in blocks of `block` bytes.
Split SplitInBlocks(const std::string& file, size_t block) {
    Split out;
    PageSplitter split([&](int number, std::string_view bytes, bool form_feed) {
        EXPECT_EQ(number, static_cast<int>(out.pages.size()) + 1);
        out.pages.emplace_back(bytes);
        out.fed.push_back(form_feed);
        return true;
    });
    for (size_t at = 0; at < file.size(); at += block) split.Feed(file.substr(at, block));
    split.Finish();
    return out;
}

// A file whose byte at `at` is the first of `bytes`, filled with text
// lines before it.
std::string Placed(size_t at, const std::string& bytes, const std::string& tail) {
    std::string file;
    while (file.size() + 12 <= at) file += "0123456789\r\n";
    file += std::string(at - file.size(), 'x');
    return file + bytes + tail;
}

TEST(PageSplitter, PagesEndAtFormFeedsButNotAtTheArgumentOfEscA) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> pages;
        std::vector<bool> fed;
    };
    const std::vector<Case> cases = {
        {"two pages and a tail",
         "A\r\n\fB\r\n\fC",
         {"A\r\n\f", "B\r\n\f", "C"},
         {true, true, false}},
        {"a file ending with its form feed", "A\fB\f", {"A\f", "B\f"}, {true, true}},
        {"an empty page between two feeds", "A\f\fB", {"A\f", "\f", "B"}, {true, true, false}},
        {"ESC A FF is twelve seventy-seconds",
         "\x1b"
         "A\fX\fY",
         {"\x1b"
          "A\fX\f",
          "Y"},
         {true, false}},
        {"ESC then FF is a page break", "A\x1b\fB", {"A\x1b\f", "B"}, {true, false}},
        {"ESC ESC A FF: the second ESC starts the command",
         "\x1b\x1b"
         "A\f\f",
         {"\x1b\x1b"
          "A\f\f"},
         {true}},
        {"an A not after ESC", "A\fA\f", {"A\f", "A\f"}, {true, true}},
        {"nothing", "", {}, {}},
    };
    for (const Case& c : cases) {
        for (size_t block : {size_t{1}, size_t{2}, size_t{512}}) {
            const Split got = SplitInBlocks(c.file, block);
            EXPECT_EQ(got.pages, c.pages) << c.what << ", blocks of " << block;
            EXPECT_EQ(got.fed, c.fed) << c.what << ", blocks of " << block;
        }
    }
}

TEST(PageSplitter, EscACommandCutByTheEndOfA512ByteBlock) {
    // ESC "A" FF placed so that the block boundary falls after ESC, after
    // "A", and before ESC; the FF stays an argument every time.
    for (size_t at : {size_t{509}, size_t{510}, size_t{511}, size_t{512}}) {
        const std::string file = Placed(at,
                                        "\x1b"
                                        "A\f",
                                        "Z\r\n\fNEXT");
        const Split got = SplitInBlocks(file, kSpoolBlock);
        ASSERT_EQ(got.pages.size(), 2u) << "ESC at " << at;
        EXPECT_EQ(got.pages[0], file.substr(0, file.find("NEXT"))) << "ESC at " << at;
        EXPECT_EQ(got.pages[1], "NEXT");
    }
    // A form feed right at a boundary is a page break.
    const std::string file = Placed(512, "\f", "B");
    const Split got = SplitInBlocks(file, kSpoolBlock);
    ASSERT_EQ(got.pages.size(), 2u);
    EXPECT_EQ(got.pages[0].size(), 513u);
}

TEST(PageSplitter, LinesSplitAtCrLfKeepTheEscAArgument) {
    EXPECT_EQ(SplitLines("AB\r\nC\r\n\f"), (std::vector<std::string>{"AB", "C"}));
    EXPECT_EQ(SplitLines("A\rB\nC"), (std::vector<std::string>{"A\rB\nC"}));
    // ESC "A" CR (13/72 inch) is no end of a line; the LF alone is none either.
    EXPECT_EQ(SplitLines("\x1b"
                         "A\r\nX\r\nY"),
              (std::vector<std::string>{"\x1b"
                                        "A\r\nX",
                                        "Y"}));
    EXPECT_EQ(SplitLines("\x1b"
                         "A\f"),
              (std::vector<std::string>{"\x1b"
                                        "A\f"}));
}

class RecordingObserver : public PagePrintObserver {
  public:
    explicit RecordingObserver(int stop_at = 0) : stop_at_(stop_at) {}
    bool Page(int number) override {
        asked.push_back(number);
        return number != stop_at_;
    }
    std::vector<int> asked;

  private:
    int stop_at_;
};

class PrintPagesTest : public ::testing::Test {
  protected:
    // Pages "P1" … "P5", each ended by a form feed but the last.
    void SetUp() override {
        ASSERT_TRUE(
            base::WriteFileAtomically(spool_, "P1\r\n\fP2\r\n\fP3\r\n\fP4\r\n\fP5\r\n").ok());
    }
    std::string Print(PageRange range, RecordingObserver& observer, PagePrintResult* result) {
        PrintOutput out;
        EXPECT_TRUE(out.OpenNew(dir_.File("TEMP01.PRT")).ok());
        EXPECT_TRUE(PrintPages(spool_, range, out, observer, result).ok());
        EXPECT_TRUE(out.Close().ok());
        std::string text;
        EXPECT_TRUE(base::ReadFile(dir_.File("TEMP01.PRT"), &text).ok());
        std::remove(dir_.File("TEMP01.PRT").c_str());
        return text;
    }
    dbf::testing::ScratchDir dir_;
    std::string spool_ = dir_.File("3.PRT");
};

TEST_F(PrintPagesTest, RangesSelectPagesByteForByte) {
    struct Case {
        PageRange range;
        std::string printed;
        std::vector<int> asked;
        bool at_top;
    };
    const std::vector<Case> cases = {
        {{1, 0}, "P1\r\n\fP2\r\n\fP3\r\n\fP4\r\n\fP5\r\n", {1, 2, 3, 4, 5}, false},
        {{2, 3}, "P2\r\n\fP3\r\n\f", {2, 3}, true},
        {{4, 0}, "P4\r\n\fP5\r\n", {4, 5}, false},
        {{5, 9999}, "P5\r\n", {5}, false},
        {{3, 3}, "P3\r\n\f", {3}, true},
        {{6, 0}, "", {}, true},  // "Brak stron do wydruku"
    };
    for (const Case& c : cases) {
        RecordingObserver observer;
        PagePrintResult result;
        EXPECT_EQ(Print(c.range, observer, &result), c.printed)
            << c.range.first << "-" << c.range.last;
        EXPECT_EQ(observer.asked, c.asked) << c.range.first << "-" << c.range.last;
        EXPECT_EQ(result.printed, static_cast<int>(c.asked.size()));
        EXPECT_EQ(result.at_page_top, c.at_top) << c.range.first << "-" << c.range.last;
        EXPECT_FALSE(result.interrupted);
    }
}

TEST_F(PrintPagesTest, AnInterruptionStopsBeforeThePage) {
    RecordingObserver observer(3);
    PagePrintResult result;
    EXPECT_EQ(Print({1, 0}, observer, &result), "P1\r\n\fP2\r\n\f");
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(result.printed, 2);
}

TEST_F(PrintPagesTest, CountsPagesAndReportsAMissingFile) {
    EXPECT_EQ(CountPages(spool_), 5);
    RecordingObserver observer;
    PagePrintResult result;
    PrintOutput out;
    ASSERT_TRUE(out.OpenNew(dir_.File("TEMP02.PRT")).ok());
    EXPECT_TRUE(PrintPages(dir_.File("9.PRT"), {1, 0}, out, observer, &result).IsNotFound());
    // A spool file still being written is not read.
    PrintOutput writer;
    ASSERT_TRUE(writer.OpenNew(dir_.File("4.PRT")).ok());
    EXPECT_TRUE(PrintPages(dir_.File("4.PRT"), {1, 0}, out, observer, &result).IsBusy());
}

}  // namespace
}  // namespace kestrel::printing
