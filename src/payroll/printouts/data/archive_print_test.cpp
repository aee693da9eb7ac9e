// The payroll printouts of archived years: a list of an annual archive with
// every layout, a period over an archived and a working year, the annual
// summary of an archived year, and the refusals (too many archives, an
// archive without its lists).
#include <gtest/gtest.h>

#include <filesystem>

#include "archive_year.h"
#include "common/session/abandon.h"
#include "matrix_test_support.h"
#include "payroll/data/archive_tables.h"
#include "payroll/printouts/data/annual_summary.h"
#include "payroll/printouts/data/payroll_list_print.h"
#include "payroll/printouts/data/period_print.h"

namespace kestrel::payroll {
namespace {

using testing::PrintedLines;
using testing::With;

// December 2024 (two lists) archived into ARCH2024, January 2025 working.
struct ArchiveCompany : testing::PrintCompany {
    PayrollList dec = List("2024", "A", 1, "12", "20241210", false);
    PayrollList bonus = List("2024", "A", 2, "12", "20241220", false);
    PayrollList jan = List("2025", "A", 1, "01", "20250110");

    explicit ArchiveCompany(bool bonus_left_in_working = false) {
        Component("ZASD", "K", 10);
        Component("PREM", "K", 20);
        Position(dec, "000001", "ZASD", 2400);
        Position(dec, "000002", "ZASD", 1500);
        Position(bonus, "000001", "PREM", 100);
        Position(jan, "000001", "ZASD", 3000);
        Position(jan, "000002", "ZASD", 2000);
        Matrix("LP", "1");
        Cell("LP", 1, 1, "ZASD", "Zasadnicza", 12, {{"MASKA_", "@E 9,999,999.99"}});
        Cell("LP", 1, 2, "PREM", "Premia", 12, {{"MASKA_", "@E 9,999,999.99"}});
        Matrix("OKR", "3");
        Cell("OKR", 1, 1, "ZASD");
        Cell("OKR", 1, 2, "PREM");
        Matrix("MIES", "2");
        Cell("MIES", 1, 1, "ZASD");
        testing::MoveYearToArchive(tables, h.rt.data_dir(), 2024,
                                   bonus_left_in_working ? std::vector<std::string>{bonus.Key()}
                                                         : std::vector<std::string>{});
    }

    struct Result {
        std::string message;
        std::vector<std::string> lines;
    };
    template <typename Print>
    Result Printed(const Print& print) {
        Result out;
        printing::PrintOutput o;
        const std::string path = dir.File("WYDRUK.PRT");
        EXPECT_TRUE(o.Open(path).ok());
        out.message = codepage::ToUtf8(print(o).message);
        EXPECT_TRUE(o.Close().ok());
        out.lines = PrintedLines(path);
        return out;
    }
    Result PrintList(const PayrollList& l, char layout, const std::string& archive) {
        PayrollListRequest r;
        r.list = l;
        r.layout = layout;
        r.archive = archive;
        return Printed([&](printing::PrintOutput& o) {
            return PrintPayrollList(h.rt, tables, r, o, nullptr);
        });
    }
    Result Summary(SummaryRequest r) {
        return Printed(
            [&](printing::PrintOutput& o) { return PrintSummary(h.rt, tables, r, o, nullptr); });
    }
    static std::string After(const std::vector<std::string>& lines, const std::string& label) {
        const auto at = std::find(lines.begin(), lines.end(), label);
        return at == lines.end() || at + 1 == lines.end() ? "" : base::Trim(at[1]);
    }
    void MakeArchives(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string d = dir.path() + "/ARCH" + std::to_string(1995 + i);
            std::filesystem::create_directories(d);
            std::filesystem::copy_file(dir.path() + "/ARCH2024/PKPLACE.DBF", d + "/PKPLACE.DBF",
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
};

std::vector<std::string> Keys(const std::vector<PayrollList>& lists) {
    std::vector<std::string> out;
    for (const PayrollList& l : lists) out.push_back(base::Trim(l.Key()));
    return out;
}

TEST(ArchiveTables, NamesOfArchiveDirectories) {
    const struct {
        const char* name;
        int year;
    } cases[] = {{"ARCH2024", 2024}, {"arch1999", 1999}, {"ARCH24", 0},   {"ARCHX024", 0},
                 {"ARCH20245", 0},   {"ARCI2024", 0},    {"ARCH1990", 0}, {"ARCH1991", 1991}};
    for (const auto& c : cases) EXPECT_EQ(ArchiveYear(c.name), c.year) << c.name;
}

TEST(ArchiveTables, ArchivedYearReadOnlyAndTheWorkingTablesBackAfterwards) {
    ArchiveCompany c;
    EXPECT_EQ(Keys(AllLists(c.tables, "ARCH2024")),
              (std::vector<std::string>{"2024A    2", "2024A    1"}));
    EXPECT_EQ(Keys(AllLists(c.tables)), (std::vector<std::string>{"2025A    1"}));
    {
        const ArchivedYear archived(c.tables, "ARCH2024");
        dbf::WorkArea* lists = c.tables.workspace().Find("PKLISTY");
        ASSERT_NE(lists, nullptr);
        EXPECT_TRUE(lists->table().read_only());
        EXPECT_NE(lists->table().path().find("ARCH2024"), std::string::npos);
        // What is opened after the archive is the company's, for writing.
        EXPECT_FALSE(c.tables.Open("PKSPL").table().read_only());
    }
    EXPECT_EQ(c.tables.workspace().Find("PKPLACE"), nullptr);
    EXPECT_EQ(Keys(AllLists(c.tables)), (std::vector<std::string>{"2025A    1"}));
}

TEST(ArchivePrint, ArchivedListWithEveryLayout) {
    ArchiveCompany c;
    for (const char layout : {'Z', 'P', 'B', '1', '2'}) {
        const auto p = c.PrintList(c.dec, layout, "ARCH2024");
        ASSERT_EQ(p.message, "") << layout;
        EXPECT_FALSE(With(p.lines, "2.400,00").empty()) << layout;
        EXPECT_FALSE(With(p.lines, "1.500,00").empty()) << layout;
        EXPECT_TRUE(With(p.lines, "3.000,00").empty()) << layout;
    }
    // The working tables no longer hold December; January prints from them
    // after the archive was read.
    EXPECT_EQ(c.PrintList(c.dec, 'Z', "").message, "Brak danych do wydruku");
    const auto p = c.PrintList(c.jan, 'Z', "");
    ASSERT_EQ(p.message, "");
    EXPECT_FALSE(With(p.lines, "3.000,00").empty());
}

TEST(ArchivePrint, MonthOfAnArchivedYearFoundInItsArchive) {
    ArchiveCompany c;
    SummaryRequest r;
    r.matrix = "MIES";
    r.type = '2';
    r.from = r.to = {2024, 12};
    EXPECT_EQ(c.Summary(r).message, "Brak list płac w podanym okresie");
    r.archives = true;
    const auto p = c.Summary(r);
    ASSERT_EQ(p.message, "");
    EXPECT_EQ(c.After(p.lines, "RAZEM:"), "3900.00");
}

TEST(ArchivePrint, PeriodOverAnArchivedAndAWorkingYearTakesEachListOnce) {
    for (const bool left_in_working : {false, true}) {
        ArchiveCompany c(left_in_working);
        SummaryRequest r;
        r.matrix = "OKR";
        r.type = '3';
        r.from = {2024, 12};
        r.to = {2025, 1};
        r.archives = true;
        const auto p = c.Summary(r);
        ASSERT_EQ(p.message, "") << left_in_working;
        // Base pay 2400 + 1500 archived, 3000 + 2000 working; the bonus
        // list once, wherever it is.
        EXPECT_EQ(c.After(p.lines, "RAZEM:"), "8900.00       100.00") << left_in_working;
        const auto nowak = With(p.lines, "5400.00");
        ASSERT_EQ(nowak.size(), 1U) << left_in_working;
        EXPECT_NE(nowak[0].find("100.00"), std::string::npos);

        r.archives = false;
        EXPECT_EQ(c.After(c.Summary(r).lines, "RAZEM:"),
                  left_in_working ? "5000.00       100.00" : "5000.00         0.00");
    }
}

TEST(ArchivePrint, AnnualSummaryOfAnArchivedYear) {
    for (const bool left_in_working : {false, true}) {
        ArchiveCompany c(left_in_working);
        AnnualOptions o;
        o.year = 2024;
        EXPECT_EQ(CollectAnnual(c.h.rt, c.tables, o).employees.size(), left_in_working ? 1U : 0U);
        o.archives = true;
        const AnnualSummary s = CollectAnnual(c.h.rt, c.tables, o);
        ASSERT_EQ(s.employees.size(), 2U);
        ASSERT_EQ(s.totals.size(), 2U);
        EXPECT_EQ(s.totals[0].symbol, "PREM");
        EXPECT_EQ(s.totals[0].months[11], 100) << left_in_working;
        EXPECT_EQ(s.totals[1].symbol, "ZASD");
        EXPECT_EQ(s.totals[1].months[11], 3900);
        EXPECT_EQ(s.totals[1].year, 3900);
        // The working year is not touched by the archive of another.
        o.year = 2025;
        EXPECT_EQ(CollectAnnual(c.h.rt, c.tables, o).totals[0].year, 5000);
    }
}

TEST(ArchivePrint, MoreThanTwentyFiveArchivesAreRefused) {
    ArchiveCompany c;
    c.MakeArchives(24);  // with ARCH2024: 25
    std::vector<std::string> dirs;
    EXPECT_EQ(SearchedArchives(c.h.rt, &dirs), "");
    EXPECT_EQ(dirs.size(), 25U);
    c.MakeArchives(25);  // 26
    const std::string refusal = "Ponad 25 katalogów archiwalnych";
    EXPECT_EQ(codepage::ToUtf8(SearchedArchives(c.h.rt, &dirs)), refusal);
    EXPECT_TRUE(dirs.empty());

    SummaryRequest r;
    r.matrix = "OKR";
    r.type = '3';
    r.from = {2024, 12};
    r.to = {2025, 1};
    r.archives = true;
    EXPECT_EQ(c.Summary(r).message, refusal);
    AnnualOptions o;
    o.year = 2024;
    o.archives = true;
    try {
        (void)CollectAnnual(c.h.rt, c.tables, o);
        ADD_FAILURE() << "no refusal";
    } catch (const common::Abandon& e) {
        EXPECT_EQ(codepage::ToUtf8(e.message()), refusal);
    }
    // Without the archives nothing is searched.
    r.archives = false;
    EXPECT_EQ(c.Summary(r).message, "");
}

TEST(ArchivePrint, ArchiveWithoutItsListsGivesAMessageAndCreatesNothing) {
    ArchiveCompany c;
    const std::string lists = c.dir.path() + "/ARCH2024/PKLISTY.DBF";
    ASSERT_TRUE(std::filesystem::remove(lists));
    const std::string missing = "Brak pliku ARCH2024/PKLISTY.DBF";
    EXPECT_EQ(c.PrintList(c.dec, 'Z', "ARCH2024").message, missing);
    SummaryRequest r;
    r.matrix = "OKR";
    r.type = '3';
    r.from = {2024, 12};
    r.to = {2025, 1};
    r.archives = true;
    EXPECT_EQ(c.Summary(r).message, missing);
    EXPECT_FALSE(std::filesystem::exists(lists));
    // The working tables print as before.
    const auto p = c.PrintList(c.jan, 'Z', "");
    EXPECT_EQ(p.message, "");
}

}  // namespace
}  // namespace kestrel::payroll
