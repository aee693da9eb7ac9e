#include "worktime/printouts/month_printouts.h"

#include <gtest/gtest.h>

#include "worktime/printouts/data/report_test_support.h"

namespace kestrel::worktime {
namespace {

using memfile::MemValue;
using testing::Contains;
using testing::ReportCompany;
namespace key = console::key;

class MonthPrintoutsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        c.Make("PKLWYD");
        auto& cfg = c.h.rt.config();
        cfg.Set("NAGLCFGD", MemValue::Logical(true));
        cfg.Set("NAGLNAZDR", MemValue::Char("IGLA"));
        cfg.Set("NAGLTDR", MemValue::Char("0"));
        cfg.Set("NAGLNDR", MemValue::Char("0"));
    }
    // Keys typed into the options, then the printer frame and the spool
    // file's name are passed with Enter.
    printing::SpoolOrPrintEnd Run(MonthPrintout which, const std::vector<int>& keys) {
        c.Keys(keys);
        printing::SpoolOrPrintOptions options;
        options.show_spool = false;
        return PrintMonth(c.h.rt, which, options);
    }
    // The spool file's pages as lines (UTF-8).
    std::vector<std::vector<std::string>> Spooled() {
        std::string bytes;
        EXPECT_TRUE(base::ReadFile(c.dir.File("0.PRT"), &bytes).ok());
        std::vector<std::vector<std::string>> pages(1);
        std::string line;
        for (char ch : bytes) {
            if (ch == '\n' || ch == '\f') {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                pages.back().push_back(codepage::ToUtf8(line));
                line.clear();
                if (ch == '\f') pages.emplace_back();
            } else {
                line += ch;
            }
        }
        return pages;
    }
    ReportCompany c;
};

const std::vector<int> kEnter5 = {key::kEnter, key::kEnter, key::kEnter, key::kEnter, key::kEnter};

TEST_F(MonthPrintoutsTest, TheSheetsOfTheSettlementMonthGoToTheSpool) {
    std::vector<int> keys = kEnter5;
    keys.insert(keys.end(), {key::kEnter, key::kEnter});  // the printer, the file
    EXPECT_EQ(Run(MonthPrintout::kTimeSheets, keys), printing::SpoolOrPrintEnd::kSpooled);
    const auto pages = Spooled();
    ASSERT_GE(pages.size(), 3u);
    EXPECT_TRUE(Contains(pages[0], "KARTA EWIDENCJI CZASU PRACY - marzec 2026"));
    EXPECT_TRUE(Contains(pages[0], "Pracownik: 000001"));
    EXPECT_TRUE(Contains(pages[1], "Pracownik: 000002"));
    EXPECT_TRUE(Contains(pages[2], "Pracownik: 000006"));
    EXPECT_EQ(c.Records("PKLWYD", "TYTUL_"),
              std::vector<std::string>{"KARTA EWIDENCJI CZASU PRACY - marzec 2026"});
}

TEST_F(MonthPrintoutsTest, TheListOfADepartmentFromAnEmployeeOn) {
    std::vector<int> keys = {key::kEnter, key::kEnter, '2',         key::kEnter, key::kEnter, 'A',
                             'D',         'M',         key::kEnter, key::kEnter, key::kEnter};
    EXPECT_EQ(Run(MonthPrintout::kAttendanceList, keys), printing::SpoolOrPrintEnd::kSpooled);
    const auto pages = Spooled();
    EXPECT_TRUE(Contains(pages[0], "LISTA OBECNOŚCI - marzec 2026, dział: ADM Administracja"));
    EXPECT_TRUE(Contains(pages[0], "  1 000002 Nowak Anna"));
    EXPECT_TRUE(Contains(pages[0], "  2 000006 Odchodzi Ewa"));
    EXPECT_FALSE(Contains(pages[0], "000001"));
}

TEST_F(MonthPrintoutsTest, AnUnknownDepartmentAndAnEmptyChoiceAreSaid) {
    std::vector<int> keys = {key::kEnter, key::kEnter, key::kEnter, key::kEnter, 'X',
                             'X',         key::kEnter, key::F(12),  key::kEnter, key::kEsc};
    EXPECT_EQ(Run(MonthPrintout::kTimeSheets, keys), printing::SpoolOrPrintEnd::kCancelled);
    EXPECT_EQ(c.messages, std::vector<std::string>{"Brak takiego działu"});

    c.messages.clear();
    keys = {key::kEnter, key::kEnter, '3',        key::kEnter, '5',
            key::kEnter, key::kEnter, key::F(12), key::kEnter};
    EXPECT_EQ(Run(MonthPrintout::kAttendanceList, keys), printing::SpoolOrPrintEnd::kCancelled);
    EXPECT_EQ(c.messages, std::vector<std::string>{"Brak pracowników do wydruku"});
    EXPECT_FALSE(base::Exists(c.dir.File("0.PRT")));
}

}  // namespace
}  // namespace kestrel::worktime
