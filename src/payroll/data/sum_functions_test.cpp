// The component sums and the tax-record sums over a small company whose
// system month is March 2026.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/checks/scramble.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/payroll_host.h"
#include "payroll_company.h"
#include "platform/dbf/table.h"

namespace kestrel::payroll {
namespace {

using testing::Computed;
using testing::Eval;
using testing::PayCompany;

struct SumCompany : PayCompany {
    // The list computed: March 2026, paid on 28 March.
    PayrollList march;

    SumCompany() {
        for (const char* t : {"PKDOCH", "PKRDOCH", "PKZPRAC", "PKSKLAD"}) Make(t);
        // 000003 and 000004 are one person; 000002 has a number of his own.
        Add("PKPRAC", {{"NR_PRAC", "000003"}, {"PESELX_", Pesel("80010112345")}}, false);
        Add("PKPRAC", {{"NR_PRAC", "000004"}, {"PESELX_", Pesel("80010112345")}}, false);
        march = List("2026", "A", 3, "03", "20260328");
    }
    static std::string Pesel(const char* clear) {
        return common::Scramble(common::ScrambleKind::kIdentity, clear, 34);
    }

    void Income(const std::string& number, const std::string& paid, const std::string& type,
                double revenue, double ppk = 0, bool ppk_this_month = false, double costs = 0) {
        Add("PKDOCH", {{"NR_PRAC", number},
                       {"ROK_LST", paid.substr(0, 4)},
                       {"TYP_LST", "A"},
                       {"NR_LST", "1"},
                       {"MC_LST", paid.substr(4, 2)},
                       {"DATA_WYP", paid},
                       {"TYTUL_WYP", type},
                       {"PRZYCHOD_", std::to_string(revenue)},
                       {"KOSZT_UZ", std::to_string(costs)},
                       {"KW_PPK_ZAK", std::to_string(ppk)},
                       {"PPK_ZAK_BM", ppk_this_month ? "T" : "F"}});
    }
    void IncomeType(const std::string& symbol, bool cumulative) {
        Add("PKRDOCH", {{"TYTUL_WYP", symbol}, {"KUMUL_", cumulative ? "T" : "F"}});
    }
};

// A host loaded with `employee` on the March list.
struct Loaded {
    PayrollHost host;
    Loaded(SumCompany& c, const std::string& employee, const PayrollList* list = nullptr)
        : host(c.h.rt, c.tables) {
        host.PrepareRun();
        host.SetList(list != nullptr ? *list : c.march);
        host.LoadEmployee(employee);
    }
};

// The mask * in an A0 algorithm takes every name of the context: the
// components of this list, the month's hours and absences, the allowances.
TEST(SumFunctions, SumaskladOfStarInThisListsContextSumsEveryComponentHourAbsenceAndAllowance) {
    SumCompany c;
    c.Component("ZASA", "K", 10);
    c.Component("PREM", "K", 20);
    c.Component("SUMA", "A", 90, "SUMASKLAD('*')");
    c.Component("MIES", "A", 91, "SUMASKLAD('ZASA')", "0L");
    c.Code("NORM", "E", 1);
    c.Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
    c.Add("PKSRDOD", {{"RODZAJ_DOD", "DSTA"}});
    c.Add("PKDOD", {{"NR_PRAC", "000001"}, {"RODZAJ_DOD", "DSTA"}, {"WARTOSC_", "7"}});
    c.Position(c.march, "000001", "ZASA", 4000);
    c.Position(c.march, "000001", "PREM", 500);
    c.Position(c.march, "000002", "ZASA", 9999);  // another employee
    const PayrollList other = c.List("2026", "B", 4, "03", "20260310", false);
    c.Position(other, "000001", "ZASA", 100);
    c.Hours(2026, 3, "000001", "NORM", 160);
    c.Absence(2026, 3, 1, "000001", "CHOR", 2);
    Loaded r(c, "000001");
    EXPECT_EQ(Computed(r.host, "SUMA"), "4669.00");  // 4000 + 500 + 160 + 2 + 7
    // A monthly context sums the month's totals.
    EXPECT_EQ(Computed(r.host, "MIES"), "4100.00");
    // Outside a recalculation there is no context.
    r.host.LoadEmpty();
    EXPECT_EQ(Eval(r.host, "SUMASKLAD('*')"), "0.00");
}

// With i the positions of the list month i months back from the system
// month; for i = 0 never the current list.
TEST(SumFunctions, SumaskladMonthsBackSumsTheOtherListsOfTheMonthNeverTheCurrentOne) {
    SumCompany c;
    const PayrollList other = c.List("2026", "B", 4, "03", "20260410", false);
    const PayrollList feb = c.List("2026", "A", 2, "02", "20260228", false);
    c.Position(c.march, "000001", "B100", 1000);
    c.Position(c.march, "000001", "B200", 2000);
    c.Position(other, "000001", "B100", 10);
    c.Position(other, "000001", "B250", 20);
    c.Position(other, "000001", "C100", 40);  // no mask takes it
    c.Position(other, "000002", "B100", 80);  // another employee
    c.Position(feb, "000001", "B110", 300);
    Loaded r(c, "000001");
    EXPECT_EQ(Eval(r.host, "SUMASKLAD({'B1*','B2*'}, 0)"), "30.00");
    EXPECT_EQ(Eval(r.host, "SUMASKLAD({'B1*','B2*'}, 1)"), "300.00");
    EXPECT_EQ(Eval(r.host, "SUMASKLAD('B1*', 2)"), "0.00");
    // By payment month: March pays the current list (left out) and February
    // nothing of this employee.
    EXPECT_EQ(Eval(r.host, "SUMASKLDTW('B*', 0)"), "0.00");
    EXPECT_EQ(Eval(r.host, "SUMASKLDTW('B*', 1)"), "300.00");
    EXPECT_EQ(Eval(r.host, "SUMASKLDTW({'C1*'}, -1)"), "Błędna wart.arg.2 funkcji SUMASKLDTW");
}

// Positions of this and the previous payment month not yet transferred to
// the tax records, the current list left out.
TEST(SumFunctions, SxsklnpTakesUntransferredPositionsOfThisAndThePreviousPaymentMonth) {
    SumCompany c;
    const PayrollList feb = c.List("2026", "A", 2, "02", "20260227", false);
    const PayrollList jan = c.List("2026", "A", 1, "01", "20260130", false);
    const PayrollList other = c.List("2026", "B", 4, "03", "20260305", false);
    auto position = [&](const PayrollList& l, double amount, bool transferred) {
        c.Add("PKPLACE", {{"ROK_LST", l.year},
                          {"TYP_LST", l.symbol},
                          {"NR_LST", std::to_string(l.number)},
                          {"MC_LST", l.month},
                          {"DATA_WYP", l.paid},
                          {"NR_PRAC", "000001"},
                          {"SKLADN_PL", "PODA"},
                          {"KWOTA_", std::to_string(amount)},
                          {"AKT_DOCH", transferred ? "T" : "F"}});
    };
    position(feb, 10, false);
    position(feb, 20, true);   // transferred
    position(jan, 40, false);  // two months back
    position(other, 80, false);
    position(c.march, 160, false);  // the current list
    Loaded r(c, "000001");
    EXPECT_EQ(Eval(r.host, "SXSKLNP('POD*')"), "90.00");
    EXPECT_EQ(Eval(r.host, "SXSKLNP('X*')"), "0.00");
}

// A single symbol reads memory (what this run computed); a mask with "?"
// reads the stored positions of the current list.
TEST(SumFunctions, SumabiezOfOneSymbolReadsMemoryAndOfAMaskTheStoredPositions) {
    SumCompany c;
    c.Component("B100", "A", 10, "1000");
    c.Component("B110", "K", 11);
    c.Component("B200", "A", 20, "SUMABIEZ('B100')");
    c.Component("B210", "A", 21, "SUMABIEZ('B1*')");
    c.Position(c.march, "000001", "B100", 5);  // computed again by this run
    c.Position(c.march, "000001", "B110", 7);
    c.Position(c.march, "000001", "AB1", 1);
    c.Position(c.march, "000001", "AB12", 2);
    Loaded r(c, "000001");
    EXPECT_EQ(Computed(r.host, "B200"), "0.00");
    r.host.SetAmount("B100", std::stod(Computed(r.host, "B100")));
    EXPECT_EQ(Computed(r.host, "B200"), "1000.00");
    EXPECT_EQ(Computed(r.host, "B210"), "12.00");
    // The mask examples: A* takes every symbol beginning with A, A?1 the
    // symbol AB1 but not AB12.
    EXPECT_EQ(Eval(r.host, "SUMABIEZ('A*')"), "3.00");
    EXPECT_EQ(Eval(r.host, "SUMABIEZ('a?1')"), "1.00");
    EXPECT_EQ(Eval(r.host, "SUMABIEZ('XYZ1')"), "Błędny argument \"XYZ1\"");
}

std::string ArchiveOf(SumCompany& c, const std::string& year) {
    const std::string dir = c.h.rt.data_dir() + "ARCH" + year;
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(
        dbf::Table::Create(dir + "/PKPLACE.DBF", common::FindTable("PKPLACE")->Specs()).ok());
    return dir + "/";
}

void ArchivePosition(const std::string& dir, const std::string& list_year, const std::string& month,
                     const std::string& paid, const std::string& number, const std::string& symbol,
                     double amount) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    ASSERT_TRUE(dbf::Table::Open(dir + "PKPLACE.DBF", exclusive, &t).ok());
    dbf::Record r = t->NewRecord();
    r.SetString(t->FieldIndex("ROK_LST"), list_year);
    r.SetString(t->FieldIndex("TYP_LST"), "A ");
    r.SetNumber(t->FieldIndex("NR_LST"), 12);
    r.SetString(t->FieldIndex("MC_LST"), month);
    r.SetString(t->FieldIndex("DATA_WYP"), paid);
    r.SetString(t->FieldIndex("NR_PRAC"), number);
    r.SetString(t->FieldIndex("SKLADN_PL"), symbol);
    r.SetNumber(t->FieldIndex("KWOTA_"), amount);
    uint32_t recno = 0;
    ASSERT_TRUE(t->Append(r, &recno).ok());
    ASSERT_TRUE(t->Close().ok());
}

// Last year's December list paid on 10 January counts in this year, from
// the archive of last year; positions paid after the payment month and the
// current list do not.
TEST(SumFunctions, ZuslimitCountsLastYearsDecemberListPaidInJanuaryFromTheArchive) {
    SumCompany c;
    const PayrollList jan = c.List("2026", "A", 1, "01", "20260131", false);
    const PayrollList april = c.List("2026", "A", 5, "03", "20260402", false);
    c.Position(jan, "000001", "ZUSE", 100);
    c.Position(c.march, "000001", "ZUSE", 50);
    c.Position(april, "000001", "ZUSE", 70);
    c.Position(jan, "000003", "ZUSE", 1000);
    c.Position(jan, "000004", "ZUSE", 2000);
    const std::string dir = ArchiveOf(c, "2025");
    ArchivePosition(dir, "2025", "12", "20260110", "000001", "ZUSE", 30);
    ArchivePosition(dir, "2025", "11", "20251130", "000001", "ZUSE", 999);
    ArchivePosition(dir, "2025", "12", "20260110", "000004", "ZUSE", 4);
    {
        Loaded r(c, "000001");
        EXPECT_EQ(Eval(r.host, "ZUSLIMIT('ZUSE')"), "130.00");
        EXPECT_EQ(Eval(r.host, "ZUSLIMIT('ZUSE')"), "130.00");   // the archive stays open
        EXPECT_EQ(Eval(r.host, "ZUSLIMIT2('ZUSE')"), "130.00");  // a group of one
    }
    Loaded r(c, "000003");
    EXPECT_EQ(Eval(r.host, "ZUSLIMIT('ZUSE')"), "1000.00");
    EXPECT_EQ(Eval(r.host, "ZUSLIMIT2('ZUSE')"), "3004.00");
}

TEST(SumFunctions, SumsOfTheSameIdentityGroupTakeEveryRecordOfThePerson) {
    SumCompany c;
    c.Component("PODS", "A", 10, "SUMAPES('PODS')");
    c.Component("PREM", "K", 20);
    const PayrollList other = c.List("2026", "B", 4, "03", "20260315", false);
    c.Position(c.march, "000003", "PODS", 9);  // his own, being computed: left out
    c.Position(c.march, "000004", "PODS", 20);
    c.Position(other, "000003", "PODS", 100);
    c.Position(other, "000002", "PODS", 5000);  // another person
    c.Position(c.march, "000003", "PREM", 1);
    c.Position(c.march, "000004", "PREM", 2);
    Loaded r(c, "000003");
    EXPECT_EQ(Computed(r.host, "PODS"), "120.00");
    EXPECT_EQ(Eval(r.host, "SUMAPES('PODS')"), "129.00");
    EXPECT_EQ(Eval(r.host, "SKLBIEZPES('PREM')"), "3.00");
    // Without an identity number no group sum.
    Loaded alone(c, "000001");
    EXPECT_EQ(Eval(alone.host, "SUMAPES('PODS')"), "0.00");
}

// Reading the register for the group does not move the employee's record
// that formulas read through pkprac->.
TEST(SumFunctions, TheSameIdentityGroupLeavesTheEmployeesRecordCurrent) {
    SumCompany c;
    Loaded r(c, "000003");
    const std::string own = Eval(r.host, "pkprac->nr_prac");
    ASSERT_EQ(own, Eval(r.host, "'000003'"));
    for (const char* f : {"ZUSLIMIT2('ZUSE')", "SUMAPES('ZUSE')"}) {
        Eval(r.host, f);
        EXPECT_EQ(Eval(r.host, "pkprac->nr_prac"), own) << f;
    }
}

TEST(SumFunctions, StatusAndDatalstReadTheFirstPositionOfTheMonth) {
    SumCompany c;
    const PayrollList other = c.List("2026", "B", 4, "03", "20260312", false);
    c.Position(c.march, "000001", "ZASA", 100, true);
    c.Position(other, "000001", "PREM", 0, true);
    c.Position(c.march, "000001", "PREM", 5);
    Loaded r(c, "000001");
    EXPECT_EQ(Eval(r.host, "STATUS('ZASA')"), ".T.");
    EXPECT_EQ(Eval(r.host, "STATUS('NONE')"), ".F.");
    EXPECT_EQ(Eval(r.host, "DTOS(DATALST('PREM'))"), "\"20260328\"");  // the zero one skipped
    EXPECT_EQ(Eval(r.host, "EMPTY(DATALST('NONE'))"), ".T.");
}

// The tax records of 000001 before the list paid on 28 March 2026.
struct TaxRecords : SumCompany {
    TaxRecords() {
        IncomeType("0001", true);
        IncomeType("0002", false);
        Income("000001", "20251231", "0001", 900, 5);  // last year, unflagged PPK
        Income("000001", "20260131", "0001", 1000, 10, false, 250);
        Income("000001", "20260228", "0001", 2000, 20, true, 250);
        Income("000001", "20260228", "0002", 500);                   // not cumulated
        Income("000001", "20260310", "0001", 4000, 40, false, 250);  // the payment month
        Income("000001", "20260330", "0001", 8000);                  // after the payment date
        Income("000003", "20260131", "0001", 300);
        Income("000004", "20260228", "0001", 600, 6);
        Income("000004", "20260310", "0001", 60);
    }
};

TEST(SumFunctions, SumadochWithoutThePpkShiftTakesTheFlaggedContributionsOnly) {
    TaxRecords c;
    Loaded r(c, "000001");
    EXPECT_EQ(Eval(r.host, "SUMADOCH()"), "3020.00");  // 1000 + 2000 + 20 flagged
    EXPECT_EQ(Eval(r.host, "SUMADOCH('0001')"), "3020.00");
    EXPECT_EQ(Eval(r.host, "SUMADOCH('0002')"), "0.00");
    EXPECT_EQ(Eval(r.host, "SUMALIMIT('0002')"), "500.00");
    EXPECT_EQ(Eval(r.host, "SXDOCH2()"), "7020.00");  // up to the payment date
    EXPECT_EQ(Eval(r.host, "SUMAKOSZT()"), "500.00");
    EXPECT_EQ(Eval(r.host, "SXKOSZT2()"), "750.00");
}

TEST(SumFunctions, SumadochWithThePpkShiftTakesUnflaggedContributionsAMonthLate) {
    TaxRecords c;
    c.h.rt.config().Set("NAGLPPK20", memfile::MemValue::Logical(true));
    Loaded r(c, "000001");
    // December's 5 and January's 10 count in February and March; March's 40
    // only in April.
    EXPECT_EQ(Eval(r.host, "SUMADOCH()"), "3035.00");
    EXPECT_EQ(Eval(r.host, "SXDOCH2()"), "7035.00");
    // A list paid in January takes no contribution of earlier months.
    const PayrollList jan = c.List("2026", "A", 1, "01", "20260131");
    Loaded january(c, "000001", &jan);
    EXPECT_EQ(Eval(january.host, "SUMADOCH()"), "0.00");
    EXPECT_EQ(Eval(january.host, "SXDOCH2()"), "1005.00");
}

TEST(SumFunctions, SumadochOfTheGroupAddsTheRecordsOfThePersonsOtherRecords) {
    TaxRecords c;
    c.h.rt.config().Set("NAGLPPK20", memfile::MemValue::Logical(true));
    Loaded r(c, "000003");
    EXPECT_EQ(Eval(r.host, "SUMADOCH()"), "300.00");
    EXPECT_EQ(Eval(r.host, "SUMADOCH2()"), "900.00");
    EXPECT_EQ(Eval(r.host, "SXDOCH2()"), "966.00");  // + March's 60 + February's 6 shifted
}

TEST(SumFunctions, TaxExemptionsAndPensionBasesOfEarlierMonths) {
    TaxRecords c;
    c.Add("PKZPRAC", {{"NR_PRAC", "000001"}, {"DATA_LIM", "20260115"}, {"LIMIT_POD", "100"}});
    c.Add("PKZPRAC", {{"NR_PRAC", "000001"}, {"DATA_LIM", "20260328"}, {"LIMIT_POD", "200"}});
    c.Add("PKZPRAC", {{"NR_PRAC", "000001"}, {"DATA_LIM", "20251215"}, {"LIMIT_POD", "400"}});
    for (int month : {1, 2, 3})
        c.Add("PKSKLAD", {{"NR_PRAC", "000001"},
                          {"ROK_", "2026"},
                          {"MC_", std::to_string(month)},
                          {"POD_EM_REN", std::to_string(month * 1000)}});
    const struct {
        const char *paid, *tax, *relief, *exempt;
    } taxes[] = {
        {"20260215", "50", "3", "2"}, {"20260310", "100", "10", "5"}, {"20260328", "0", "0", "7"}};
    for (const auto& t : taxes)
        c.Add("PKDOCH", {{"NR_PRAC", "000001"},
                         {"DATA_WYP", t.paid},
                         {"TYTUL_WYP", "0001"},
                         {"PODATEK_", t.tax},
                         {"ULGA_", t.relief},
                         {"ZWOLN_", t.exempt}});
    Loaded r(c, "000001");
    EXPECT_EQ(Eval(r.host, "SUMAPOD()"), "50.00");
    EXPECT_EQ(Eval(r.host, "SUMAULG()"), "3.00");
    EXPECT_EQ(Eval(r.host, "SUMAKONZW()"), "7.00");  // not the one of the payment date
    EXPECT_EQ(Eval(r.host, "SUMAPRZZW()"), "100.00");
    EXPECT_EQ(Eval(r.host, "SUMPODEMR()"), "3000.00");
}

// Every function leaves the selected area and the order and record of the
// tables it reads as it found them.
TEST(SumFunctions, TheFunctionsLeaveTheAreasAsFound) {
    TaxRecords c;
    const PayrollList other = c.List("2026", "B", 4, "03", "20260312", false);
    c.Position(other, "000001", "ZASA", 1);
    c.Position(c.march, "000001", "ZASA", 2);
    c.Position(other, "000002", "ZASA", 3);
    Loaded r(c, "000001");
    EXPECT_EQ(Eval(r.host, "SUMASKLAD('Z*', 0)"), "1.00");  // opens the tables
    EXPECT_EQ(Eval(r.host, "SUMADOCH()"), "3020.00");
    dbf::Workspace& ws = c.tables.workspace();
    dbf::WorkArea* place = ws.Find("PKPLACE");
    dbf::WorkArea* doch = ws.Find("PKDOCH");
    ASSERT_NE(place, nullptr);
    ASSERT_NE(doch, nullptr);
    ASSERT_TRUE(place->SetOrder(3).ok());
    ASSERT_TRUE(place->Goto(3).ok());
    ASSERT_TRUE(doch->SetOrder(0).ok());
    ASSERT_TRUE(doch->Goto(2).ok());
    ASSERT_NE(ws.Select(doch->number()), nullptr);
    for (const char* f :
         {"SUMASKLAD('Z*', 0)", "SUMASKLDTW('Z*', 0)", "SUMABIEZ('Z*')", "ZUSLIMIT('ZASA')",
          "SUMAPES('ZASA')", "STATUS('ZASA')", "SUMADOCH2()", "SXPRZY2()", "SUMAKONZW()"}) {
        Eval(r.host, f);
        EXPECT_EQ(ws.current_number(), doch->number()) << f;
        EXPECT_EQ(place->order(), 3) << f;
        EXPECT_EQ(place->recno(), 3u) << f;
        EXPECT_EQ(doch->order(), 0) << f;
        EXPECT_EQ(doch->recno(), 2u) << f;
    }
}

TEST(SumFunctions, ArgumentErrorsRaiseTheFunctionsOwnTexts) {
    SumCompany c;
    c.Component("ZASA", "K", 10);
    Loaded r(c, "000001");
    const struct {
        const char* formula;
        const char* message;
    } cases[] = {
        {"SUMASKLAD(1)", "Błędny argument 1 funkcji SUMASKLAD"},
        {"SUMASKLAD({'A*', 2})", "Błędny element arg.1  SUMASKLAD"},
        {"SUMASKLAD('A*', 'x')", "Błędny argument 2 funkcji SUMASKLAD"},
        {"SUMASKLAD('A*', -1)", "Błędna wart.arg.2 funkcji SUMASKLAD"},
        {"SUMASKLDTW(.T., 0)", "Błędny argument 1 funkcji SUMASKLDTW"},
        {"SUMASKLDTW({1}, 0)", "Błędny element arg.1  SUMASKLDTW"},
        {"SUMASKLDTW('A*')", "Błędny argument 2 funkcji SUMASKLDTW"},
        {"SUMASKLDTW('A*', -2)", "Błędna wart.arg.2 funkcji SUMASKLDTW"},
        {"SUMABIEZ(1)", "Błędny argument funkcji SUMABIEZ()"},
        {"SUMABIEZ('QQQQ')", "Błędny argument \"QQQQ\""},
        {"SXSKLNP(1)", "Błędny argument funkcji SXSKLNP"},
        {"SKLBIEZPES(1)", "Błędny argument funkcji SKLBIEZPES()"},
        {"SKLBIEZPES('QQ')", "Błędny argument \"QQ\""},
        {"SUMAPES(1)", "Błędny argument 1 funkcji SUMAPES"},
        {"SUMAPES(' ')", "Błędny argument 1 funkcji SUMAPES"},
        {"STATUS(1)", "Błędny argument funkcji STATUS()"},
        {"STATUS('')", "Błędny argument funkcji STATUS()"},
        {"STATUS('ZASAX')", "Błędny argument funkcji STATUS()"},
        {"DATALST()", "Błędny argument funkcji DATALST()"},
        {"DATALST('  ')", "Błędny argument funkcji DATALST()"},
        {"ZUSLIMIT(1)", "Błędny argument 1 funkcji ZUSLIMIT"},
        {"ZUSLIMIT2(1)", "Błędny argument 1 funkcji ZUSLIMIT2"},
        {"SUMALIMIT(1)", "Błędny argument funkcji SUMALIMIT()"},
    };
    for (const auto& k : cases) EXPECT_EQ(Eval(r.host, k.formula), k.message) << k.formula;
    // Undefined arguments are neutral.
    for (const char* f : {"SUMASKLAD()", "SUMABIEZ()", "SXSKLNP()", "SKLBIEZPES()", "SUMAPES()",
                          "STATUS()", "ZUSLIMIT()", "SUMALIMIT()"})
        EXPECT_EQ(Eval(r.host, f), "0.00") << f;
}

}  // namespace
}  // namespace kestrel::payroll
