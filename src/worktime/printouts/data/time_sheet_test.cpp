#include "worktime/printouts/data/time_sheet.h"

#include <gtest/gtest.h>

#include "common/session/letters.h"
#include "printing/data/printer_letters.h"
#include "worktime/printouts/data/report_test_support.h"

namespace kestrel::worktime {
namespace {

using testing::Contains;
using testing::LineStarting;
using testing::ReportCompany;

class TimeSheetTest : public ::testing::Test {
  protected:
    std::vector<std::vector<std::string>> Sheets(const MonthReport& r) {
        return c.Pages([&](printing::PrintOutput& out) { PrintTimeSheets(c.h.rt, out, r); });
    }
    ReportCompany c;
};

TEST_F(TimeSheetTest, EveryDayWithItsKindNormAndAbsence) {
    const auto pages = Sheets(c.Read(ReportCompany::March()));
    ASSERT_EQ(pages.size(), 3u);  // one sheet per employee
    const auto& p = pages[0];
    EXPECT_TRUE(Contains(p, "KARTA EWIDENCJI CZASU PRACY - marzec 2026"));
    EXPECT_TRUE(Contains(p, "Pracownik: 000001  Żółkiewski Stanisław"));
    EXPECT_TRUE(Contains(p, "Dział: PROD Produkcja"));
    // 1 March 2026 is a Sunday; no norm on a day free by the calendar.
    EXPECT_EQ(LineStarting(p, "   1  "), "   1  niedziela      niedziela");
    EXPECT_EQ(LineStarting(p, "   2  "),
              "   2  poniedziałek   roboczy            8.00   UW   Urlop wypoczynkowy");
    EXPECT_EQ(LineStarting(p, "   4  "), "   4  środa          roboczy            8.00");
    EXPECT_EQ(LineStarting(p, "   7  "), "   7  sobota         wolny");
    EXPECT_EQ(LineStarting(p, "  20  "),
              "  20  piątek         roboczy            8.00   CH   Zwolnienie chorobowe");
    EXPECT_EQ(LineStarting(p, "  31  "), "  31  wtorek         roboczy            8.00");
    EXPECT_EQ(LineStarting(p, "  32  "), "");
}

TEST_F(TimeSheetTest, TheTotalsOfTheMonth) {
    const auto pages = Sheets(c.Read(ReportCompany::March()));
    ASSERT_EQ(pages.size(), 3u);
    const auto& p = pages[0];
    // March 2026: 31 days, 5 Sundays, 4 Saturdays, no holiday.
    EXPECT_EQ(LineStarting(p, "Dni pracy"),
              "Dni pracy wg kalendarza:  22      Norma czasu pracy (godz.):   176.00");
    EXPECT_EQ(LineStarting(p, "N50 "), "N50   Nadgodziny 50%                  N           8.00");
    EXPECT_EQ(LineStarting(p, "Razem wg"),
              "Razem wg typów:  Etat   160.00   Nadgodziny     8.00   Dodatki    12.00");
    EXPECT_EQ(LineStarting(p, "CH "),
              "CH    Zwolnienie chorobowe            16-20           5.000 dni");
    EXPECT_EQ(LineStarting(p, "Razem dni"),
              "Razem dni nieobecności:     7.000   godzin:     0.000");
    // Hours of a code counted in hours are no days.
    EXPECT_EQ(LineStarting(pages[1], "Razem dni"),
              "Razem dni nieobecności:     0.000   godzin:     3.500");
    EXPECT_EQ(LineStarting(pages[1], "NG "),
              "NG    Nieobecność godzinowa            4- 4           3.500 godz.");
}

TEST_F(TimeSheetTest, AHalfTimeEmployeeHasHalfTheNorm) {
    c.Add("PKPRAC", {{"NR_PRAC", "000008"}, {"GRUPA_KAL", "01"}, {"ETAT_L", "1"}, {"ETAT_M", "2"}});
    c.tables.CloseAll();
    ReportOptions o = ReportCompany::March();
    o.from = "000008";
    const auto pages = Sheets(c.Read(o));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(LineStarting(pages[0], "   4  "), "   4  środa          roboczy            4.00");
    EXPECT_TRUE(Contains(pages[0], "Norma czasu pracy (godz.):    88.00"));
}

TEST_F(TimeSheetTest, DaysOutsideTheEmploymentHaveNoNormAndCountNoWorkingDays) {
    c.Add("PKPRAC", {{"NR_PRAC", "000009"}, {"GRUPA_KAL", "01"}, {"DATA_ZATR", "20260310"}});
    c.tables.CloseAll();
    struct Case {
        const char* number;
        const char *before, *after;  // the lines of days 9 and 16
        const char* working;
    };
    const Case cases[] = {
        // Dismissed on 15 March.
        {"000006", "   9  poniedziałek   roboczy            8.00", "  16  poniedziałek   -",
         "Dni pracy wg kalendarza:  10      Norma czasu pracy (godz.):    80.00"},
        // Hired on 10 March.
        {"000009", "   9  poniedziałek   -", "  16  poniedziałek   roboczy            8.00",
         "Dni pracy wg kalendarza:  16      Norma czasu pracy (godz.):   128.00"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.number);
        ReportOptions o = ReportCompany::March();
        o.from = o.to = k.number;
        const auto pages = Sheets(c.Read(o));
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(LineStarting(pages[0], "   9  "), k.before);
        EXPECT_EQ(LineStarting(pages[0], "  16  "), k.after);
        EXPECT_EQ(LineStarting(pages[0], "Dni pracy"), k.working);
    }
}

TEST_F(TimeSheetTest, ASheetThatDoesNotFitRunsOnToAPageWithTheEmployeeAgain) {
    for (int day = 1; day <= 31; ++day) c.Absence("000002", 10 + day, "NG", 2026, 3, day, day, 1);
    c.tables.CloseAll();
    ReportOptions o = ReportCompany::March();
    o.from = o.to = "000002";
    const auto pages = Sheets(c.Read(o));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(Contains(pages[0], "Str.   1"));
    EXPECT_TRUE(Contains(pages[1], "Str.   2"));
    EXPECT_TRUE(Contains(pages[1], "Pracownik: 000002  Nowak Anna  (cd.)"));
    EXPECT_FALSE(Contains(pages[0], "(cd.)"));
    for (const auto& p : pages) EXPECT_LE(p.size(), static_cast<size_t>(kSheetRows));
    EXPECT_TRUE(Contains(pages[1], "podpis pracownika"));
}

TEST_F(TimeSheetTest, NoCalendarOfTheYearIsSaid) {
    ReportOptions o = ReportCompany::March();
    o.year = 2027;
    o.from = o.to = "000001";
    const auto pages = Sheets(c.Read(o));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(Contains(pages[0], "Brak kalendarza \"2027 01\""));
    EXPECT_TRUE(Contains(pages[0], "Dni pracy wg kalendarza:   0"));
}

TEST_F(TimeSheetTest, PolishLettersInThePrintersSetAndTheControlSequencesOfItsFamily) {
    const MonthReport r = c.Read(ReportCompany::March());
    c.Printer('E');
    const printing::PrinterLetters letters{std::string(common::kPolishCp852),
                                           std::string(common::kPolishWin1250), false};
    const std::string bytes =
        c.Bytes([&](printing::PrintOutput& out) { PrintTimeSheets(c.h.rt, out, r); },
                printing::MakeConverter(letters));
    EXPECT_EQ(bytes.rfind("\x1B@\x1BP\x12", 0), 0u);    // the reset first
    EXPECT_NE(bytes.find("\x1BG"), std::string::npos);  // the bold title
    // "Żółkiewski" and "środa" in Windows-1250.
    EXPECT_NE(bytes.find("\xAF\xF3\xB3kiewski"), std::string::npos);
    EXPECT_NE(bytes.find("\x9Croda"), std::string::npos);
    EXPECT_EQ(bytes.find(codepage::FromUtf8("środa")), std::string::npos);
}

TEST_F(TimeSheetTest, AnInterruptionEndsThePrintOutBeforeTheNextEmployee) {
    const MonthReport r = c.Read(ReportCompany::March());
    int asked = 0;
    const auto pages = c.Pages([&](printing::PrintOutput& out) {
        PrintTimeSheets(c.h.rt, out, r, [&] { return ++asked == 2; });
    });
    EXPECT_EQ(pages.size(), 1u);
    EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace kestrel::worktime
