#include "payroll/data/payroll_host.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

using formula::Value;
using testing::Computed;
using testing::Eval;
using testing::PayCompany;

TEST(PayrollHost, TheNamespaceRunsComponentsOptionalsWorkingTimeAllowancesKeysInThatOrder) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("BRUT", "A", 90, "ZASA");
    c.Component("PREM", "A", 20, "ZASA*0.1");
    c.Add("PKOSPL", {{"SKLADN_PL", "OPC1"}});
    c.Add("PKOSPL", {{"SKLADN_PL", "BRUT"}});  // a component already: one slot
    c.Code("NORM", "E", 1);
    c.Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
    c.Add("PKSRDOD", {{"RODZAJ_DOD", "DSTA"}});
    for (const char* t : {"PKUMTR", "PKUPRC"}) c.Make(t);
    c.Add("PKUMTR", {{"NR_POLA", "001"},
                     {"TYP_", "N"},
                     {"KLUCZ_", "LICZBA"},
                     {"SZER_", "6"},
                     {"SUB_POLE", "F"}});
    c.Function("KW", "x", "x*x");
    PayrollHost host(c.h.rt, c.tables);
    EXPECT_TRUE(host.PrepareRun().empty());
    std::string names;
    for (size_t i = 0; i < host.engine().slots().size(); ++i)
        names += host.engine().slots().Name(static_cast<int>(i)) + " ";
    EXPECT_EQ(names, "BRUT PREM ZASA OPC1 NORM CHOR YTBCHOR DSTA LICZBA ");
    ASSERT_EQ(host.components_by_order().size(), 3u);
    EXPECT_EQ(host.components_by_order()[0].symbol, "ZASA");
    EXPECT_EQ(host.components_by_order()[2].symbol, "BRUT");
    host.LoadEmpty();
    EXPECT_EQ(Eval(host, "kw(3) + OPC1 + BRUT"), "9");
}

// A component with a monthly context 13 months back on a list of January
// 2024 sees the totals of December 2022: every list of that list month, its
// hours and absences; nothing of the months around it.
TEST(PayrollHost, AMonthlyContextThirteenMonthsBackSeesDecemberOfTheYearBeforeLast) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("PREM", "K", 20);
    c.Component("SRED", "A", 30, "ZASA + PREM + NORM + CHOR", "13L");
    c.Component("SRWY", "A", 40, "ZASA", "13W");
    c.Code("NORM", "E", 1);
    c.Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
    const PayrollList dec1 = c.List("2022", "A", 30, "12", "20221230", false);
    const PayrollList dec2 = c.List("2022", "B", 31, "12", "20230110", false);
    const PayrollList nov = c.List("2022", "A", 28, "11", "20221210", false);
    const PayrollList jan23 = c.List("2023", "A", 1, "01", "20230131", false);
    const PayrollList jan24 = c.List("2024", "A", 1, "01", "20240131");
    c.Position(dec1, "000001", "ZASA", 4000);
    c.Position(dec2, "000001", "PREM", 500);
    c.Position(dec1, "000002", "ZASA", 9999);  // another employee
    c.Position(nov, "000001", "ZASA", 1);      // list month November, paid in December
    c.Position(jan23, "000001", "ZASA", 2);
    c.Position(jan24, "000001", "ZASA", 4300);
    c.Hours(2022, 12, "000001", "NORM", 168);
    c.Hours(2023, 1, "000001", "NORM", 160);
    c.Absence(2022, 12, 1, "000001", "CHOR", 3);
    c.Absence(2024, 1, 1, "000001", "CHOR", 5);
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(jan24);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "SRED"), "4671.00");  // 4000 + 500 + 168 + 3
    EXPECT_EQ(host.context().Name(), "NL");
    // By payment month: December 2022 paid the November list and the first
    // December one.
    EXPECT_EQ(Computed(host, "SRWY"), "4001.00");
    EXPECT_EQ(host.context().Name(), "NW");
    // This list's own context is untouched by either.
    EXPECT_EQ(host.Amount({}, "ZASA"), 4300);
    EXPECT_EQ(host.Amount({}, "CHOR"), 5);
}

// Positions of closed years moved to their annual archive still count in
// the contexts of earlier months; what is left in PKPLACE counts as well.
TEST(PayrollHost, AContextOfAnEarlierYearReadsThatYearsArchive) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("PREM", "K", 20);
    c.Component("SRED", "A", 30, "ZASA + PREM", "13L");
    c.Component("POPR", "A", 40, "ZASA + PREM", "1W");
    c.Component("ROKL", "A", 50, "ZASA + PREM", "1L");
    const PayrollList dec22 = c.List("2022", "A", 30, "12", "20221230", false);
    const PayrollList dec22b = c.List("2022", "B", 31, "12", "20221231", false);
    const PayrollList dec23 = c.List("2023", "A", 40, "12", "20240110", false);
    const PayrollList dec23b = c.List("2023", "B", 41, "12", "20231229", false);
    const PayrollList feb24 = c.List("2024", "A", 2, "01", "20240205");
    c.Archived("2022", dec22, "000001", "ZASA", 4000);
    c.Archived("2022", dec22, "000002", "ZASA", 9999);  // another employee
    c.Position(dec22b, "000001", "PREM", 500);          // not archived yet
    c.Archived("2023", dec23, "000001", "PREM", 70);    // list of 2023 paid in January 2024
    c.Archived("2023", dec23b, "000001", "ZASA", 3);    // list month December 2023
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(feb24);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "SRED"), "4500.00");  // December 2022
    EXPECT_EQ(Computed(host, "POPR"), "70.00");    // paid in January 2024, from ARCH2023
    EXPECT_EQ(Computed(host, "ROKL"), "73.00");    // list month December 2023
}

TEST(PayrollHost, AMissingArchiveReadsAsNoPositions) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("SRED", "A", 30, "ZASA", "13L");
    const PayrollList dec = c.List("2022", "A", 30, "12", "20221230", false);
    const PayrollList jan24 = c.List("2024", "A", 1, "01", "20240131");
    c.Position(dec, "000001", "ZASA", 4000);
    std::filesystem::create_directories(c.dir.File("ARCH2022"));  // a directory without tables
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(jan24);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "SRED"), "4000.00");
    EXPECT_EQ(host.ArchivedPositions(2022), nullptr);
    EXPECT_EQ(host.ArchivedPositions(2019), nullptr);
}

TEST(PayrollHost, AMonthBackWrapsTheYear) {
    EXPECT_EQ(YearMonth({2024, 1}).Back(13).year, 2022);
    EXPECT_EQ(YearMonth({2024, 1}).Back(13).month, 12);
    EXPECT_EQ(YearMonth({2024, 1}).Back(1).month, 12);
    EXPECT_EQ(YearMonth({2024, 12}).Back(25).year, 2022);
    EXPECT_EQ(YearMonth({2024, 12}).Back(25).month, 11);
    EXPECT_EQ(YearMonth({2024, 3}).Back(0).month, 3);
    EXPECT_EQ((ContextId{25, 'W'}.Name()), "ZW");
    EXPECT_EQ((ContextId{0, 'L'}.Name()), "AL");
}

TEST(PayrollHost, MonthsBackOutsideTheRangeStopsTheRunWithTheFieldValue) {
    PayCompany c;
    Component bad;
    bad.monthly = true;
    for (const auto& [n, text] : {std::pair{26, "(26)"}, std::pair{-1, "(-1)"}}) {
        bad.months_back = n;
        try {
            ContextOf(c.h.rt, bad);
            ADD_FAILURE() << n;
        } catch (const common::Abandon& e) {
            EXPECT_EQ(codepage::ToUtf8(e.message()),
                      std::string("Błędna wartość pola IL_MC_WST ") + text);
        }
    }
    // Without the monthly range the field means nothing.
    bad.monthly = false;
    EXPECT_EQ(ContextOf(c.h.rt, bad).Name(), "A0");
}

// The live contexts: a new value v over a previous p moves AL and AW by
// v - p; the current list's stored entered and blocked positions count, its
// unblocked algorithmic ones do not (this run computes them).
TEST(PayrollHost, TheLiveContextsGrowByTheDifferenceOfTheNewValue) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("PREM", "A", 20, "100");
    c.Component("DODA", "A", 30, "7");
    c.Component("SUMA", "A", 40, "ZASA + PREM + DODA", "0L");
    c.Code("NORM", "A", 1, "168");
    const PayrollList other = c.List("2024", "B", 2, "03", "20240410", false);
    const PayrollList list = c.List("2024", "A", 3, "03", "20240331");
    c.Position(other, "000001", "PREM", 40);
    c.Position(list, "000001", "ZASA", 1000);
    c.Position(list, "000001", "PREM", 999);         // computed again: not read
    c.Position(list, "000001", "DODA", 12.5, true);  // blocked: kept
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(list);
    host.LoadEmployee("000001");
    const ContextId a0{}, al{0, 'L'}, aw{0, 'W'};
    EXPECT_EQ(host.Amount(a0, "PREM"), 0);
    EXPECT_EQ(host.Amount(al, "PREM"), 40);
    EXPECT_EQ(host.Amount(aw, "PREM"), 0);  // paid in April
    EXPECT_EQ(host.Amount(a0, "DODA"), 12.5);
    EXPECT_EQ(host.Amount(aw, "ZASA"), 1000);
    host.SetAmount("PREM", 100);
    EXPECT_EQ(host.Amount(a0, "PREM"), 100);
    EXPECT_EQ(host.Amount(al, "PREM"), 140);
    EXPECT_EQ(host.Amount(aw, "PREM"), 100);
    host.SetAmount("PREM", 60);  // computed again: 60 - 100
    EXPECT_EQ(host.Amount(a0, "PREM"), 60);
    EXPECT_EQ(host.Amount(al, "PREM"), 100);
    EXPECT_EQ(host.Amount(aw, "PREM"), 60);
    // The algorithm in AL sees the other list's 40 with this one's 60.
    EXPECT_EQ(Computed(host, "SUMA"), "1112.50");
    // A computed attendance quantity replaces what the month's lines gave.
    host.SetQuantity("NORM", 160);
    EXPECT_EQ(host.Amount(a0, "NORM"), 160);
    EXPECT_EQ(host.Amount(aw, "NORM"), 160);
    host.SetQuantity("NORM", 150);
    EXPECT_EQ(host.Amount(al, "NORM"), 150);
    EXPECT_EQ(host.Amount(ContextId{1, 'L'}, "NORM"), 0);
    // Bound to AL, the variables follow the change at once.
    host.SetAmount("ZASA", 0);  // the component no longer applies
    EXPECT_EQ(Eval(host, "ZASA + PREM"), "100.00");
    EXPECT_EQ(host.Amount(aw, "ZASA"), 0);
}

TEST(PayrollHost, AMonthBackContextIsBuiltOncePerEmployeeAndKeepsWhatBelongsToNoContext) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Add("PKOSPL", {{"SKLADN_PL", "OPC1"}});
    const PayrollList feb = c.List("2024", "A", 1, "02", "20240229", false);
    const PayrollList mar = c.List("2024", "A", 2, "03", "20240331");
    c.Position(feb, "000001", "ZASA", 3000);
    c.Position(feb, "000002", "ZASA", 3500);
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(mar);
    host.LoadEmployee("000001");
    EXPECT_EQ(host.contexts_built(), 0);
    EXPECT_EQ(Eval(host, "OPC1 := 5"), "5");
    host.SwitchTo(ContextId{1, 'L'});
    EXPECT_EQ(Eval(host, "ZASA + OPC1"), "3005.00");
    host.SwitchTo(ContextId{});
    EXPECT_EQ(Eval(host, "ZASA + OPC1"), "5");
    host.SwitchTo(ContextId{1, 'L'});
    host.SwitchTo(ContextId{1, 'W'});
    host.SwitchTo(ContextId{1, 'L'});
    EXPECT_EQ(host.contexts_built(), 2);  // BL and BW, each once
    // The next employee gets his own, built again; his optional is 0 again.
    host.LoadEmployee("000002");
    host.SwitchTo(ContextId{1, 'L'});
    EXPECT_EQ(Eval(host, "ZASA + OPC1"), "3500.00");
    EXPECT_EQ(host.contexts_built(), 3);
}

TEST(PayrollHost, TheValorisationRecordOfTheContextMonthIsCurrent) {
    PayCompany c;
    c.Add("PKWALOR", {{"ROK_", "2023"}, {"MIESIAC_", "12"}, {"PR_WALOR", "4.5"}});
    c.Add("PKWALOR", {{"ROK_", "2024"}, {"MIESIAC_", "1"}, {"PR_WALOR", "1.2"}});
    c.Component("WAL0", "A", 10, "pkwalor->pr_walor");
    c.Component("WAL1", "A", 20, "pkwalor->pr_walor", "1L");
    c.Component("WAL2", "A", 30, "pkwalor->pr_walor", "2W");
    const PayrollList jan = c.List("2024", "A", 1, "01", "20240131");
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(jan);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "WAL0"), "1.20");
    EXPECT_EQ(Computed(host, "WAL1"), "4.50");
    EXPECT_EQ(Computed(host, "WAL2"), "0.00");  // November 2023 has none
}

TEST(PayrollHost, TheValorisationRecordIsSoughtAgainWhenMovedOrForTheNextEmployee) {
    PayCompany c;
    c.Add("PKWALOR", {{"ROK_", "2023"}, {"MIESIAC_", "12"}, {"PR_WALOR", "4.5"}});
    c.Add("PKWALOR", {{"ROK_", "2024"}, {"MIESIAC_", "1"}, {"PR_WALOR", "1.2"}});
    c.Component("WAL0", "A", 10, "pkwalor->pr_walor");
    // An algorithm that moves the table to another month.
    c.Component("MOVE", "A", 20, "iif(select(\"PKWALOR\") > 0 .and. dbseek(\"202312\"), 1, 0)");
    c.Component("WAL2", "A", 30, "pkwalor->pr_walor");
    c.Component("FEB0", "A", 40, "pkwalor->pr_walor");
    const PayrollList jan = c.List("2024", "A", 1, "01", "20240131");
    const PayrollList feb = c.List("2024", "A", 2, "02", "20240229");
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(jan);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "WAL0"), "1.20");
    EXPECT_EQ(Computed(host, "MOVE"), "1.00");
    EXPECT_EQ(Computed(host, "WAL2"), "1.20");  // January's again, not December's
    // February has no record; another workstation adds one meanwhile: the
    // next employee sees it.
    host.SetList(feb);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "FEB0"), "0.00");
    {
        common::Tables other(c.h.rt);
        dbf::WorkArea& a = other.Open("PKWALOR", {"PKWALOR1"});
        other.Append(a);
        a.record().SetNumber(a.FieldIndex("ROK_"), 2024);
        a.record().SetNumber(a.FieldIndex("MIESIAC_"), 2);
        a.record().SetNumber(a.FieldIndex("PR_WALOR"), 2.5);
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }
    host.LoadEmployee("000002");
    EXPECT_EQ(Computed(host, "FEB0"), "2.50");
}

TEST(PayrollHost, AlgorithmsDivideByZeroToZeroJoinTheirLinesAndRoundHalfAwayFromZero) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("DZIE", "A", 20, "ZASA + 10/0");
    // CR LF and the editor's soft break (141) inside the formula.
    c.Component("LINI", "A", 30,
                "ZASA\r\n*\x8d\n"
                "2 +\r\n1\x8d\n"
                "0",
                "", false);
    c.Component("R1", "A", 40, "0.005");
    c.Component("R2", "A", 41, "-0.005");
    c.Component("R3", "A", 42, "0.00499");
    c.Component("R4", "A", 43, "2.345");
    c.Component("R5", "A", 44, "-2.345");
    c.Component("DATA", "A", 50, "date()");
    c.Component("TEKS", "A", 51, "\"100\"");
    const PayrollList list = c.List("2024", "A", 1, "01", "20240131");
    c.Position(list, "000001", "ZASA", 1000);
    PayrollHost host(c.h.rt, c.tables);
    host.PrepareRun();
    host.SetList(list);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "DZIE"), "1000.00");
    EXPECT_EQ(Computed(host, "LINI"), "2010.00");
    EXPECT_EQ(Computed(host, "R1"), "0.01");
    EXPECT_EQ(Computed(host, "R2"), "-0.01");
    EXPECT_EQ(Computed(host, "R3"), "0.00");
    EXPECT_EQ(Computed(host, "R4"), "2.35");
    EXPECT_EQ(Computed(host, "R5"), "-2.35");
    // The formula's yround() is the same rounding.
    EXPECT_EQ(Eval(host, "str(yround(0.005),5,2)+str(yround(-0.005),6,2)+str(yround(2.345),5,2)"),
              "\" 0.01 -0.01 2.35\"");
    EXPECT_EQ(Computed(host, "DATA"), "Błędna wartość algorytmu");
    EXPECT_EQ(Computed(host, "TEKS"), "Błędna wartość algorytmu");
}

TEST(PayrollHost, AUserFunctionNamedLikeAComponentIsNeverBound) {
    PayCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("PREM", "A", 20, "ZASA()");
    c.Function("ZASA", "", "42");
    c.Function("REN1", "", "1.5/100");
    const PayrollList list = c.List("2024", "A", 1, "01", "20240131");
    c.Position(list, "000001", "ZASA", 1000);
    PayrollHost host(c.h.rt, c.tables);
    EXPECT_TRUE(host.PrepareRun().empty());  // skipped without a word
    host.SetList(list);
    host.LoadEmployee("000001");
    EXPECT_EQ(Computed(host, "PREM"), "Błędna funkcja: ZASA");
    EXPECT_EQ(Eval(host, "ZASA * ren1()"), "15.0000");
}

TEST(PayrollHost, TheZeroingArraysAreEvaluatedOnceAndNeverBound) {
    PayCompany c;
    c.Component("ZUSE", "A", 10, "1");
    c.Function("TBZ26", "", "{\"zuse\", \"B1\", 7}");
    c.Function("TBZK55M60", "", "{\"ZUSE\" +");  // does not compile: an empty array
    PayrollHost host(c.h.rt, c.tables);
    EXPECT_TRUE(host.PrepareRun().empty());
    EXPECT_EQ(host.zeroed_under_26(), (std::vector<std::string>{"ZUSE", "B1  "}));
    EXPECT_TRUE(host.zeroed_over_age().empty());
    EXPECT_TRUE(PayrollHost::Names(host.zeroed_under_26(), "b1"));
    EXPECT_TRUE(PayrollHost::Names(host.zeroed_under_26(), "ZUSE"));
    EXPECT_FALSE(PayrollHost::Names(host.zeroed_under_26(), "B12"));
    host.LoadEmpty();
    EXPECT_EQ(Eval(host, "TBZ26()"), "Błędna funkcja: TBZ26");
}

}  // namespace
}  // namespace kestrel::payroll
