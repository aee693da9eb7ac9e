#include "register/data/code_list_printout.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/base/text.h"
#include "register/data/paged_printout.h"
#include "register/data/printout_test_support.h"
#include "test_util.h"

namespace kestrel::registry {
namespace {

using testing::LineOf;
using testing::Page;
using testing::Pages;

class CodeListTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::SetUpPrinter(h.rt); }

    /// `n` codes "001" … with the names "Nazwa 1" …
    CodeList Numbered(int n) {
        CodeList list;
        list.title = codepage::FromUtf8("Rodzaje umowy o pracę");
        list.columns = {{"KOD", 3}, {"NAZWA", 25}};
        next_ = 0;
        list.rows = [this, n](std::vector<std::string>* cells) {
            if (next_ >= n) return false;
            ++next_;
            char code[16];
            std::snprintf(code, sizeof code, "%03d", next_);
            *cells = {code, "Nazwa " + std::to_string(next_)};
            return true;
        };
        return list;
    }
    std::string Write(const CodeList& list, printing::PrintOutput::Converter convert = {}) {
        return testing::Printed(
            dir.File("TEMP01.PRT"),
            [&](printing::PrintOutput& out) { count_ = WriteCodeList(h.rt, out, list); },
            std::move(convert));
    }

    dbf::testing::ScratchDir dir;
    kestrel::testing::HeadlessRuntime h;
    int next_ = 0;
    int count_ = 0;
};

TEST_F(CodeListTest, EveryPageHasTheHeaderAndHeadingsAndNoRowIsLostOrRepeated) {
    const std::vector<Page> pages = Pages(Write(Numbered(120)));
    EXPECT_EQ(count_, 120);
    ASSERT_EQ(pages.size(), 3u);
    int expected = 1;
    for (size_t p = 0; p < pages.size(); ++p) {
        const Page& page = pages[p];
        EXPECT_LE(page.size(), static_cast<size_t>(kPageRows)) << "page " << p + 1;
        ASSERT_GE(page.size(), 4u);
        // The narrow header: the stamp, the page number, the date, the title.
        EXPECT_EQ(page[0],
                  "Firma Sp. z o.o." + std::string(52, ' ') + "Str.   " + std::to_string(p + 1));
        EXPECT_NE(page[2].find("Data wydruku: 2026-12-08"), std::string::npos);
        EXPECT_EQ(base::Trim(page[3]), "Rodzaje umowy o pracę");
        const int headings = LineOf(page, "KOD NAZWA");
        ASSERT_GT(headings, 3) << "page " << p + 1;
        EXPECT_EQ(page[static_cast<size_t>(headings) + 1], std::string(kNarrowWidth, '-'));
        for (size_t i = static_cast<size_t>(headings) + 2; i < page.size(); ++i) {
            if (page[i].empty() || page[i].rfind("Razem", 0) == 0) continue;
            char code[16];
            std::snprintf(code, sizeof code, "%03d", expected);
            EXPECT_EQ(page[i], std::string(code) + " Nazwa " + std::to_string(expected));
            ++expected;
        }
    }
    EXPECT_EQ(expected, 121);
    EXPECT_EQ(pages.back().back(), "Razem pozycji: 120");
}

TEST_F(CodeListTest, AnEmptyDictionaryPrintsOnePageWithTheCount) {
    const std::vector<Page> pages = Pages(Write(Numbered(0)));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].back(), "Razem pozycji: 0");
}

TEST_F(CodeListTest, TheResetComesFirstAndTheLastPageIsEjected) {
    h.rt.config().Set("YPRRS", memfile::MemValue::Char("<RS>"));
    h.rt.config().Set("YPR10", memfile::MemValue::Char("<10>"));
    const std::string bytes = Write(Numbered(2));
    EXPECT_EQ(bytes.rfind("<RS><10>", 0), 0u) << bytes.substr(0, 20);
    EXPECT_EQ(bytes.back(), '\f');
    EXPECT_EQ(Pages(bytes).size(), 1u);
}

TEST_F(CodeListTest, AnInterruptedListEndsWithTheCountSoFar) {
    CodeList list = Numbered(50);
    int asked = 0;
    list.interrupted = [&] { return ++asked > 3; };
    const std::vector<Page> pages = Pages(Write(list));
    EXPECT_EQ(count_, 3);
    EXPECT_EQ(pages.back().back(), "Razem pozycji: 3");
}

TEST_F(CodeListTest, WideColumnsTakeTheWideHeaderAndWrapUnderTheSecondColumn) {
    CodeList list;
    list.title = "Urzedy skarbowe";
    list.columns = {{"US", 2}, {"NAZWA", 30}, {"ULICA", 30}, {"BANK", 60}, {"KONTO", 40}};
    bool given = false;
    list.rows = [&](std::vector<std::string>* cells) {
        if (given) return false;
        given = true;
        *cells = {"01", "Pierwszy", codepage::FromUtf8("Długa"), "Bank Polski", "12 3456"};
        return true;
    };
    const ListLayout layout = LayOutList(list.columns);
    EXPECT_TRUE(layout.wide);
    EXPECT_EQ(layout.lines, 2);
    const std::vector<Page> pages = Pages(Write(list));
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];
    // The wide header puts the page number after 89 blanks.
    EXPECT_EQ(page[0], "Firma Sp. z o.o." + std::string(89, ' ') + "Str.   1");
    const int headings = LineOf(page, "US NAZWA");
    ASSERT_GE(headings, 0);
    EXPECT_EQ(page[static_cast<size_t>(headings)],
              "US NAZWA" + std::string(26, ' ') + "ULICA" + std::string(26, ' ') + "BANK");
    EXPECT_EQ(page[static_cast<size_t>(headings) + 1], "   KONTO");
    EXPECT_EQ(page[static_cast<size_t>(headings) + 2], std::string(kWideWidth, '-'));
    EXPECT_EQ(
        page[static_cast<size_t>(headings) + 3],
        "01 Pierwszy" + std::string(23, ' ') + "Długa" + std::string(26, ' ') + "Bank Polski");
    EXPECT_EQ(page[static_cast<size_t>(headings) + 4], "   12 3456");
}

TEST_F(CodeListTest, ColumnsThatFitStayOnOneNarrowLine) {
    const ListLayout layout = LayOutList({{"KOD", 9}, {"NAZWA", 40}, {"OPIS", 27}});
    EXPECT_FALSE(layout.wide);  // 9 + 1 + 40 + 1 + 27 = 78
    EXPECT_EQ(layout.lines, 1);
    EXPECT_TRUE(LayOutList({{"KOD", 9}, {"NAZWA", 40}, {"OPIS", 28}}).wide);
}

TEST_F(CodeListTest, PolishLettersReachTheFileInThePrinterLetterSet) {
    CodeList list = Numbered(0);
    bool given = false;
    list.rows = [&](std::vector<std::string>* cells) {
        if (given) return false;
        given = true;
        *cells = {"01", codepage::FromUtf8("Łódź Śródmieście")};
        return true;
    };
    const printing::PrinterLetters mazovia{std::string(common::kPolishCp852),
                                           std::string(common::kPolishMazovia), false};
    const std::vector<Page> pages = Pages(Write(list, printing::MakeConverter(mazovia)), false);
    ASSERT_EQ(pages.size(), 1u);
    // In Mazovia Ł is 9C, ó A2, ź A6, Ś 98 and ś 9E.
    const int row = LineOf(pages[0], "01 ");
    ASSERT_GE(row, 0);
    EXPECT_EQ(pages[0][static_cast<size_t>(row)].substr(4),
              "\x9c\xa2"
              "d\xa6 \x98r\xa2"
              "dmie\x9e"
              "cie");
}

}  // namespace
}  // namespace kestrel::registry
