#include "worktime/data/computed_codes.h"

#include <gtest/gtest.h>

#include "worktime/data/month_run.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

using testing::WorkCompany;
using V = std::vector<std::string>;

// A company with normal hours, overtime and two computed codes: the total
// (computed first) and the overtime share of it, which reads the total.
struct Codes : WorkCompany {
    Codes() {
        Code("NORM", "E", 1);
        Code("NADG", "N", 2);
        Code("UDZ", "A", 9, "iif(RAZ = 0, 0, NADG / RAZ * 100)");
        Code("RAZ", "A", 5, "NORM +\r\n NADG");
    }
};

struct Session {
    FormulaHost host;
    TimeLines lines;
    std::unique_ptr<ComputedCodes> codes;
    explicit Session(WorkCompany& c) : host(c.h.rt, c.tables), lines(c.h.rt, c.tables, c.month) {
        host.Prepare();
        codes = std::make_unique<ComputedCodes>(host, c.tables);
    }
    std::string operator()(const std::string& number) {
        return codepage::ToUtf8(codes->Run(lines, number, "01"));
    }
};

TEST(ComputedCodes, TheMonthsHoursFeedTheComputedCodesInTheirOrder) {
    Codes c;
    c.Line("000001", "NORM", 100);
    c.Line("000001", "NADG", 20);
    c.Line("000001", "NADG", 10, "K2");  // a second account of the code adds up
    c.Line("000002", "NORM", 50);
    Session run(c);
    EXPECT_EQ(run("000001"), "");
    // 30 / 130 * 100 = 23.0769... rounded to two decimals.
    EXPECT_EQ(c.VisibleLines(),
              (V{"000001 NORM 100.00", "000001 NADG 20.00", "000001 NADG K2 10.00",
                 "000002 NORM 50.00", "000001 RAZ 130.00", "000001 UDZ 23.08"}));
    EXPECT_EQ(run("000002"), "");
    EXPECT_EQ(c.VisibleLines().back(), "000002 RAZ 50.00");
    EXPECT_EQ(c.VisibleLines().size(), 7u);  // UDZ of 000002 is zero: no line
}

TEST(ComputedCodes, AComputedLineFollowsTheHoursAndGoesWhenItsResultIsZero) {
    Codes c;
    c.Line("000001", "NORM", 8);
    c.Line("000001", "NADG", 2);
    Session run(c);
    EXPECT_EQ(run("000001"), "");
    EXPECT_EQ(run("000001"), "");  // a second run writes no second line
    EXPECT_EQ(c.Lines(),
              (V{"000001 NORM 8.00", "000001 NADG 2.00", "000001 RAZ 10.00", "000001 UDZ 20.00"}));
    TimeLines& lines = run.lines;
    lines.DeleteCode("000001", "NADG");
    EXPECT_EQ(run("000001"), "");
    EXPECT_EQ(c.VisibleLines(), (V{"000001 NORM 8.00", "000001 RAZ 8.00"}));
    lines.DeleteCode("000001", "NORM");
    EXPECT_EQ(run("000001"), "");
    EXPECT_TRUE(c.VisibleLines().empty());
}

TEST(ComputedCodes, TheDialogsRunKeepsItsListOfLinesInStep) {
    Codes c;
    c.Line("000001", "NORM", 8);
    c.Line("000001", "NADG", 2);
    Session run(c);
    TimeLines& lines = run.lines;
    run.host.LoadEmployee("000001", c.month);
    std::vector<TimeLine> month = lines.LinesOf("000001");
    EXPECT_EQ(codepage::ToUtf8(run.codes->RunLoaded(lines, "000001", "01", &month)), "");
    auto listed = [&] {
        V out;
        for (const TimeLine& l : month) out.push_back(l.code + " " + std::to_string(int(l.hours)));
        return out;
    };
    EXPECT_EQ(listed(), (V{"NADG 2", "NORM 8", "RAZ 10", "UDZ 20"}));
    // The overtime line deleted by the dialog: the computed lines follow.
    lines.DeleteCode("000001", "NADG");
    std::erase_if(month, [](const TimeLine& l) { return l.code == "NADG"; });
    EXPECT_EQ(codepage::ToUtf8(run.codes->RunLoaded(lines, "000001", "01", &month)), "");
    EXPECT_EQ(listed(), (V{"NORM 8", "RAZ 8"}));
    EXPECT_EQ(c.VisibleLines(), (V{"000001 NORM 8.00", "000001 RAZ 8.00"}));
}

TEST(ComputedCodes, ResultsOutsideTheRangeOrNotNumbersStopWithTheirMessages) {
    const struct {
        const char* formula;
        const char* message;
    } cases[] = {
        {"1000", "Błąd!  KOD=1000"},
        {"NORM - 100.5", "Błąd!  KOD=-100.00"},
        {"999.5 + 0.25", "Błąd!  KOD=999.75"},
        {"\"tekst\"", "Błędna wartość: KOD"},
        {"NORM +", "Błąd syntaktyczny algorytmu"},
        {"", "Błąd - \"pusty\" algorytm"},
        {"NIEMA + 1", "Błędna zmienna: NIEMA"},
        {"NORM + \"a\"", "Błędny argument oper.: \"+\""},
    };
    for (const auto& k : cases) {
        WorkCompany c;
        c.Code("NORM", "E", 1);
        c.Code("PIER", "A", 2, "NORM * 2");
        c.Code("KOD", "A", 3, k.formula);
        c.Code("OST", "A", 4, "NORM");
        c.Line("000001", "NORM", 0.5);
        Session run(c);
        EXPECT_EQ(run("000001"), k.message) << k.formula;
        // What came before the error is written, nothing after it.
        EXPECT_EQ(c.VisibleLines(), (V{"000001 NORM 0.50", "000001 PIER 1.00"})) << k.formula;
    }
}

TEST(ComputedCodes, TheLimitsOfTheRangeAreAcceptedAndResultsRounded) {
    const struct {
        const char* formula;
        const char* line;
    } cases[] = {
        {"999", "000001 KOD 999.00"}, {"-99", "000001 KOD -99.00"},
        {"2.345", "000001 KOD 2.35"}, {"-2.345", "000001 KOD -2.35"},
        {"10/3", "000001 KOD 3.33"},  {"10/0 + 1", "000001 KOD 1.00"},
    };
    for (const auto& k : cases) {
        WorkCompany c;
        c.Code("KOD", "A", 1, k.formula);
        Session run(c);
        EXPECT_EQ(run("000001"), "") << k.formula;
        EXPECT_EQ(c.VisibleLines(), (V{k.line})) << k.formula;
    }
}

TEST(ComputedCodes, AllowancesAndUserFunctionsReachTheFormulas) {
    WorkCompany c;
    c.Add("PKSRDOD", {{"RODZAJ_DOD", "DNOC"}});
    c.Add("PKDOD",
          {{"NR_PRAC", "000001"}, {"RODZAJ_DOD", "DNOC"}, {"WARTOSC_", "3"}, {"LP_", "1"}});
    c.Add("PKFUNC", {{"FUN_", "razy"}, {"PAR_", "a,b"}, {"WZOR_", "a*b"}});
    c.Code("NOCN", "D", 1);
    c.Code("WYN", "A", 2, "razy(NOCN, DNOC)");
    c.Line("000001", "NOCN", 4);
    c.Line("000002", "NOCN", 4);
    Session run(c);
    EXPECT_EQ(run("000001"), "");
    EXPECT_EQ(run("000002"), "");
    EXPECT_EQ(c.VisibleLines(), (V{"000001 NOCN 4.00", "000002 NOCN 4.00", "000001 WYN 12.00"}));
}

TEST(ComputedCodes, TheWholeMonthRunsEveryEmployeeButLegalPersonsPastAnError) {
    WorkCompany c;
    c.Code("NORM", "E", 1);
    c.Code("RAZ", "A", 2, "NORM * 10");
    c.Employee("000001", "A");
    c.Employee("000002", "B");
    c.Employee("000003", "C");
    c.Add("PKPRAC", {{"NR_PRAC", "000004"}, {"OS_PRAWNA", "T"}});
    c.Line("000001", "NORM", 1);
    c.Line("000002", "NORM", 100);  // 1000: out of range
    c.Line("000003", "NORM", 3);
    c.Line("000004", "NORM", 4);
    std::vector<std::string> reported;
    auto report = [&](const std::string& nr, const std::string& m) {
        reported.push_back(nr + " " + codepage::ToUtf8(m));
    };
    const MonthRunResult all = ComputeMonth(c.h.rt, c.tables, "", report);
    EXPECT_EQ(all.employees, 3);
    EXPECT_EQ(all.failed, 1);
    EXPECT_EQ(reported, (V{"000002 Błąd!  RAZ=1000.00"}));
    EXPECT_EQ(c.VisibleLines(), (V{"000001 NORM 1.00", "000002 NORM 100.00", "000003 NORM 3.00",
                                   "000004 NORM 4.00", "000001 RAZ 10.00", "000003 RAZ 30.00"}));
    const MonthRunResult one = ComputeMonth(c.h.rt, c.tables, "000003", report);
    EXPECT_EQ(one.employees, 1);
    EXPECT_EQ(one.failed, 0);
}

}  // namespace
}  // namespace kestrel::worktime
