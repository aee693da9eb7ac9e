#include "payroll/printouts/payroll_list_screen.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive_year.h"
#include "data/matrix_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using memfile::MemValue;

// December 2024 archived into ARCH2024; January 2025 open in the working
// tables. F11 takes what the operator sees of rows 7 to 14.
struct ArchiveScreens : testing::PrintCompany {
    std::vector<std::string> shown;

    explicit ArchiveScreens(bool archives) {
        Make("PKLWYD");
        Component("ZASD", "K", 10);
        const PayrollList dec = List("2024", "A", 1, "12", "20241210", false);
        const PayrollList jan = List("2025", "A", 1, "01", "20250110");
        Position(dec, "000001", "ZASD", 2400);
        Position(jan, "000001", "ZASD", 3000);
        Matrix("LP", "1");
        Cell("LP", 1, 1, "ZASD", "Zasadnicza", 12, {{"MASKA_", "@E 9,999,999.99"}});
        testing::MoveYearToArchive(tables, h.rt.data_dir(), 2024);
        h.rt.config().Set("NAGLARL", MemValue::Logical(archives));
        h.rt.config().Set("NAGLCFGD", MemValue::Logical(false));
        h.con.keyboard().Bind(key::F(11), [this] {
            std::string rows;
            for (int r = 7; r <= 14; ++r) rows += base::Trim(h.Row(r)) + "|";
            shown.push_back(rows);
        });
        h.con.keyboard().Bind(key::F(9), [] {});
    }
    std::string Printed() {
        std::string bytes;
        (void)base::ReadFile(dir.File("0.PRT"), &bytes);
        return codepage::ToUtf8(bytes);
    }
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PayrollListScreen, AListOfAnArchiveChosenWithF1IsPrinted) {
    ArchiveScreens c(true);
    c.Keys({key::F(1), key::F(11),                // the sources
            key::kDown, key::kEnter, key::F(11),  // ARCH2024: its lists
            key::kEnter, key::F(11),              // the December list taken
            key::kEnter, key::kEnter, key::kEnter, key::kEnter, key::kEnter,  // Z, 1, N, date
            's', key::kEnter,                                                 // to the spool file
            // F9 does nothing: what the printout's polls for Esc take.
            key::F(9), key::F(9), key::F(9), key::kEsc});  // the spool screen left
    Qrm483(c.h.rt);
    ASSERT_EQ(c.shown.size(), 3U);
    EXPECT_TRUE(Has(c.shown[0], "Katalogi archiwalne:")) << c.shown[0];
    EXPECT_TRUE(Has(c.shown[0], "Zbiory bieżące")) << c.shown[0];
    EXPECT_TRUE(Has(c.shown[0], "ARCH2024")) << c.shown[0];
    EXPECT_TRUE(Has(c.shown[1], "1/A /12/2024")) << c.shown[1];
    // Only the archive's list is offered; the working one stays behind it.
    EXPECT_EQ(c.shown[1].find("2025", c.shown[1].find("Listy płac:")), std::string::npos);
    EXPECT_TRUE(Has(c.shown[2], "1/A /12/2024 (10.12.2024)  ARCH2024")) << c.shown[2];
    const std::string printed = c.Printed();
    EXPECT_TRUE(Has(printed, "2.400,00")) << printed;
    EXPECT_FALSE(Has(printed, "3.000,00")) << printed;
}

// F1 goes straight to the working lists without NAGLARL, and with it when
// the company has no archive directory.
TEST(PayrollListScreen, F1OffersTheWorkingListsOnlyWithoutArchives) {
    for (const bool naglarl : {false, true}) {
        ArchiveScreens c(naglarl);
        if (naglarl) std::filesystem::remove_all(c.dir.path() + "/ARCH2024");
        c.Keys({key::F(1), key::F(11), key::kEsc, key::kEsc});
        Qrm483(c.h.rt);
        ASSERT_EQ(c.shown.size(), 1U) << naglarl;
        EXPECT_FALSE(Has(c.shown[0], "Katalogi archiwalne:")) << c.shown[0];
        EXPECT_TRUE(Has(c.shown[0], "Listy płac:")) << c.shown[0];
        EXPECT_TRUE(Has(c.shown[0], "1/A /01/2025")) << c.shown[0];
        EXPECT_FALSE(Has(c.shown[0], "2024")) << c.shown[0];
    }
}

TEST(PayrollListScreen, MoreThanTwentyFiveArchivesAreSaidAtF1) {
    ArchiveScreens c(true);
    for (int year = 1995; year < 2020; ++year) {
        const std::string d = c.dir.path() + "/ARCH" + std::to_string(year);
        std::filesystem::create_directories(d);
        std::filesystem::copy_file(c.dir.path() + "/ARCH2024/PKPLACE.DBF", d + "/PKPLACE.DBF");
    }
    c.Keys({key::F(1), key::F(12), key::kEnter, key::F(11), key::kEsc});
    Qrm483(c.h.rt);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Ponad 25 katalogów archiwalnych"}));
    ASSERT_EQ(c.shown.size(), 1U);
    // The open list stays offered.
    EXPECT_TRUE(Has(c.shown[0], "1/A /01/2025")) << c.shown[0];
}

}  // namespace
}  // namespace kestrel::payroll
