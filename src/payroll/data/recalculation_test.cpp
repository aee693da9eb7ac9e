#include "payroll/data/recalculation.h"

#include <gtest/gtest.h>

#include "recalc_company.h"

namespace kestrel::payroll {
namespace {

using testing::RecalcCompany;
using testing::Watch;
using V = std::vector<std::string>;

// A zero result leaves no position and removes the one an earlier run
// stored; a blocked position keeps its amount through reruns and is what
// later components see; a memory-only component is seen by later
// components but never stored, and an old position of it goes.
TEST(Recalculation, ZeroBlockedAndMemoryOnlyPositions) {
    RecalcCompany c;
    c.Comp("ZASA", "A", 10, "1000");
    c.Comp("PREM", "A", 20, "200");
    c.Comp("POMO", "A", 30, "ZASA * 2", {{"TYLKO_MEM", "T"}, {"POZA_LISTA", "T"}});
    c.Comp("BRUT", "A", 40, "ZASA + PREM + POMO");
    c.Comp("ZERO", "A", 50, "BRUT - BRUT");
    c.Position(c.list, "000001", "PREM", 555, /*blocked=*/true);
    c.Position(c.list, "000001", "POMO", 7);
    c.Position(c.list, "000001", "ZERO", 9);
    for (int run = 0; run < 3; ++run) {
        const RecalcOutcome out = c.Recalc();
        ASSERT_TRUE(out.message.empty()) << c.refusal;
        EXPECT_EQ(out.employees, 2);
        EXPECT_EQ(c.Placed(),
                  (V{"000001 PREM 555.00 B", "000001 ZASA 1000.00", "000001 BRUT 3555.00",
                     "000002 ZASA 1000.00", "000002 PREM 200.00", "000002 BRUT 3200.00"}))
            << "run " << run;
    }
}

// Reruns reuse the records of their keys: the table does not grow.
TEST(Recalculation, RerunsDoNotGrowTheTables) {
    RecalcCompany c;
    c.Comp("ZASA", "A", 10, "if(pkprac->nr_prac = '000001', 100, 0)");
    c.Comp("BRUT", "A", 20, "ZASA + 1");
    c.Code("NADG", "A", 1, "2.5");
    c.Recalc();
    const size_t places = c.RecordCount("PKPLACE");
    const size_t lines = c.RecordCount("PKCZAS");
    for (int run = 0; run < 3; ++run) c.Recalc();
    EXPECT_EQ(c.RecordCount("PKPLACE"), places);
    EXPECT_EQ(c.RecordCount("PKCZAS"), lines);
    EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00", "000001 BRUT 101.00", "000002 BRUT 1.00"}));
}

// An employee hired after the list month gets nothing on the list, not
// even the amount entered for him.
TEST(Recalculation, AnEmployeeHiredAfterTheListMonthLosesEveryPosition) {
    RecalcCompany c;
    c.Comp("PREM", "K", 10, "");
    c.Comp("ZASA", "A", 20, "100");
    c.Worker("000002", {{"DATA_ZATR", "20260401"}});
    c.Worker("000001", {{"DATA_ZATR", "20260331"}});
    c.Position(c.list, "000002", "PREM", 50);
    c.Position(c.list, "000002", "ZASA", 100);
    c.Position(c.list, "000001", "PREM", 70);
    ASSERT_TRUE(c.Recalc().message.empty()) << c.refusal;
    EXPECT_EQ(c.Placed(), (V{"000001 PREM 70.00", "000001 ZASA 100.00"}));
}

// On a list whose symbol names an algorithm group an employee of another
// group is not computed: a whole-list run deletes his positions, a run by
// department or by set leaves them alone.
TEST(Recalculation, TheListsAlgorithmGroupDeletesOnlyOnTheWholeList) {
    for (RecalcScope scope : {RecalcScope::kWhole, RecalcScope::kDepartment, RecalcScope::kSet}) {
        RecalcCompany c;
        c.Symbol("G", {{"GRUPA_ALG", "1"}});
        const PayrollList g = c.List("2026", "G", 2, "03", "20260310");
        c.Comp("ZASA", "A", 10, "100");
        c.Add("PKDZIAL", {{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}});
        c.Add("PKZEST", {{"ZESTAW_", "WSZY"}, {"WZOR_", ".T."}});
        c.Worker("000001", {{"GRUPA_ALG", "1"}, {"DZIAL_", "ADM"}});
        c.Worker("000002", {{"GRUPA_ALG", "2"}, {"DZIAL_", "ADM"}});
        c.Position(g, "000002", "ZASA", 40);
        RecalcRequest r;
        r.scope = scope;
        r.department = "ADM";
        r.set = "wszy";
        const RecalcOutcome out = c.Recalc(r, nullptr, &g);
        ASSERT_TRUE(out.message.empty()) << c.refusal;
        EXPECT_EQ(out.employees, 1);
        if (scope == RecalcScope::kWhole)
            EXPECT_EQ(c.Placed(&g), (V{"000001 ZASA 100.00"}));
        else
            EXPECT_EQ(c.Placed(&g), (V{"000002 ZASA 40.00", "000001 ZASA 100.00"}))
                << static_cast<int>(scope);
    }
}

// The employed are computed first, then the dismissed; by department in
// the department's order with the names shown; a set computes only whom
// its formula chooses.
TEST(Recalculation, TheOrderAndTheScopes) {
    RecalcCompany c;
    c.Comp("ZASA", "A", 10, "100");
    c.Worker("000001", {{"DATA_ZWOLN", "20260315"}, {"PRZYCZ_ZW", "01"}, {"DZIAL_", "ADM"}});
    c.Worker("000002", {{"DZIAL_", "ADM"}});
    c.Worker("000003", {{"DZIAL_", "HAND"}});
    c.Worker("000004", {{"OS_PRAWNA", "T"}, {"DZIAL_", "ADM"}});  // not on this list
    c.Add("PKDZIAL", {{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}});
    c.Add("PKDZIAL", {{"DZIAL_", "HAND"}, {"NAZWA_", "Handel"}});
    c.Add("PKDZIAL", {{"DZIAL_", "PUST"}, {"NAZWA_", "Pusty"}});
    c.Add("PKZEST", {{"ZESTAW_", "TRZY"}, {"WZOR_", "pkprac->nr_prac >= '000003'"}});
    c.Add("PKZEST", {{"ZESTAW_", "ZLY"}, {"WZOR_", "5"}});
    {
        Watch w;
        ASSERT_TRUE(c.Recalc({}, &w).message.empty()) << c.refusal;
        EXPECT_EQ(w.employees, (V{"000002", "000003", "000001"}));
    }
    {
        Watch w;
        RecalcRequest r{RecalcScope::kDepartment, "ADM", ""};
        ASSERT_TRUE(c.Recalc(r, &w).message.empty()) << c.refusal;
        EXPECT_EQ(w.employees, (V{"Kowal", "Nowak"}));
    }
    {
        Watch w;
        RecalcRequest r{RecalcScope::kSet, "", "trzy"};
        ASSERT_TRUE(c.Recalc(r, &w).message.empty()) << c.refusal;
        EXPECT_EQ(w.employees, (V{"000003"}));
    }
    struct Refusal {
        RecalcRequest request;
        const char* message;
    };
    for (const Refusal& t : std::vector<Refusal>{
             {{RecalcScope::kDepartment, "XX", ""}, "Błędny dział"},
             {{RecalcScope::kDepartment, "PUST", ""}, "Brak pracowników w tym dziale"},
             {{RecalcScope::kSet, "", "BRAK"}, "Błędny zestaw"},
             {{RecalcScope::kSet, "", "ZLY"}, "Błędna wartość algorytmu"}}) {
        c.Recalc(t.request);
        EXPECT_EQ(c.refusal, t.message);
    }
}

// The whole-list sweep removes what belongs to nobody in the register and
// nothing of the employees of the list kind: the entered and blocked
// positions of a dismissed employee (computed in the second pass) stay,
// and so does what the first pass computed.
TEST(Recalculation, TheSweepSparesEveryEmployeeOfTheListKind) {
    RecalcCompany c;
    c.Comp("PREM", "K", 10, "");
    c.Comp("ZASA", "A", 20, "100");
    c.Comp("DODA", "A", 30, "0");
    c.Worker("000002", {{"DATA_ZWOLN", "20260310"}, {"PRZYCZ_ZW", "01"}});
    c.Worker("000005", {});
    c.Worker("000009", {{"OS_PRAWNA", "T"}});
    c.Position(c.list, "000000", "ZASA", 1);  // no register record
    c.Position(c.list, "000002", "PREM", 300);
    c.Position(c.list, "000002", "DODA", 20, /*blocked=*/true);
    c.Position(c.list, "000003", "PREM", 5);  // no register record, between two employees
    c.Position(c.list, "000009", "PREM", 9);  // a legal person on a list for employees
    c.Position(c.list, "000010", "PREM", 9);  // after the last employee
    c.Hours(2026, 3, "000003", "NORM", 8);    // nobody's
    c.Hours(2026, 3, "000002", "NORM", 160);  // the dismissed employee's
    c.Hours(2026, 2, "000003", "NORM", 8);    // another month
    c.Code("NORM", "E", 1);
    const RecalcOutcome out = c.Recalc();
    ASSERT_TRUE(out.message.empty()) << c.refusal;
    EXPECT_EQ(c.Placed(), (V{"000002 PREM 300.00", "000002 DODA 20.00 B", "000001 ZASA 100.00",
                             "000005 ZASA 100.00", "000002 ZASA 100.00"}));
    EXPECT_EQ(c.Lines(), (V{"000003 NORM 8.00*", "000002 NORM 160.00", "000003 NORM 8.00"}));
    EXPECT_EQ(out.positions_deleted, 4);
}

// The computed attendance components are stored in PKCZAS with the
// employee's calendar group, seen by the payroll components, and a zero
// removes the record.
TEST(Recalculation, ComputedAttendanceComponentsAreStored) {
    RecalcCompany c;
    c.Code("NORM", "E", 1);
    c.Code("NADG", "A", 2, "if(NORM > 160, NORM - 160, 0)");
    c.Code("POLO", "A", 3, "NADG / 2");
    c.Comp("WYNN", "A", 10, "NADG * 30 + POLO");
    c.Worker("000002", {{"GRUPA_KAL", "07"}});
    c.Line("000001", "NORM", 150);
    c.Line("000001", "NADG", 3);  // left by an earlier run
    c.Line("000002", "NORM", 170);
    Watch w;
    ASSERT_TRUE(c.Recalc({}, &w).message.empty()) << c.refusal;
    EXPECT_EQ(c.VisibleLines(), (V{"000001 NORM 150.00", "000002 NORM 170.00", "000002 NADG 10.00",
                                   "000002 POLO 5.00"}));
    EXPECT_EQ(c.Placed(), (V{"000002 WYNN 305.00"}));
    EXPECT_EQ(c.Records("PKCZAS", "GRUPA_", false), (V{"01", "01", "07", "07"}));
    EXPECT_EQ(w.attendance, (V{"NADG", "POLO", "NADG", "POLO"}));
}

// TBZK55M60 zeroes its components for a man over 60 and a woman over 55;
// TBZ26 its components for an employee under 26 with the exemption.
TEST(Recalculation, TheAgeArraysZeroTheirComponents) {
    RecalcCompany c;
    c.Comp("ZUSE", "A", 10, "100");
    c.Comp("ZALI", "A", 20, "50");
    c.Comp("BRUT", "A", 30, "ZUSE + ZALI");
    c.Function("TBZK55M60", "", "{'zuse'}");
    c.Function("TBZ26", "", "{'ZALI'}");
    c.Worker("000001", {{"PLEC_", "M"}, {"DATA_URODZ", "19650301"}});  // 61 in March 2026
    c.Worker("000002", {{"PLEC_", "K"}, {"DATA_URODZ", "20010311"}, {"PDOF_26", "T"}});
    c.Worker("000003", {{"PLEC_", "M"}, {"DATA_URODZ", "20010311"}});  // no exemption
    c.Worker("000004", {{"PLEC_", "K"}, {"DATA_URODZ", "19710401"}});  // 55 in April
    ASSERT_TRUE(c.Recalc().message.empty()) << c.refusal;
    EXPECT_EQ(c.Placed(), (V{"000001 ZALI 50.00", "000001 BRUT 50.00", "000002 ZUSE 100.00",
                             "000002 BRUT 100.00", "000003 ZUSE 100.00", "000003 ZALI 50.00",
                             "000003 BRUT 150.00", "000004 ZUSE 100.00", "000004 ZALI 50.00",
                             "000004 BRUT 150.00"}));
}

TEST(AgeRules, OverRetirementAgeCountsFromTheDayBeforeTheBirthDate) {
    struct Case {
        char sex;
        const char* birth;
        int year, month;
        bool over;
    };
    for (const Case& t : std::vector<Case>{
             {'M', "19500815", 2010, 8, false},
             {'M', "19500815", 2010, 9, true},
             {'M', "19500801", 2010, 7, false},
             {'M', "19500801", 2010, 8, true},
             {'M', "19500101", 2010, 1, true},  // the day before is in 1949
             {'K', "19550815", 2010, 8, false},
             {'K', "19550815", 2010, 9, true},
             {'K', "19500815", 2010, 1, true},
             {'M', "19550815", 2010, 12, false},
             {'X', "19000101", 2010, 1, false},
             {'M', "", 2010, 1, false},
         })
        EXPECT_EQ(OverRetirementAge(t.sex, t.birth, t.year, t.month), t.over)
            << t.sex << " " << t.birth << " " << t.year << "/" << t.month;
}

TEST(AgeRules, UnderTwentySixUntilTheDayBeforeTheBirthday) {
    struct Case {
        const char* birth;
        base::Date d;
        bool under;
    };
    for (const Case& t : std::vector<Case>{
             {"19980510", {2024, 5, 9}, true},
             {"19980510", {2024, 5, 10}, false},
             {"20000229", {2026, 2, 27}, true},
             {"20000229", {2026, 2, 28}, false},  // 29 February becomes 28 February
             {"19980510", {2019, 7, 31}, false},  // before August 2019
             {"19980510", {2019, 8, 1}, true},
             {"20300101", {2051, 1, 1}, false},  // after 2050
             {"20300101", {2042, 1, 1}, false},  // born less than 13 years before
             {"20300101", {2043, 1, 1}, true},
             {"", {2024, 1, 1}, false},
         })
        EXPECT_EQ(UnderTwentySix(t.birth, t.d), t.under)
            << t.birth << " " << t.d.year << "-" << t.d.month << "-" << t.d.day;
}

// An interrupted run and a failed one leave the employees before them
// recomputed; the run repeated gives what an uninterrupted one gives.
TEST(Recalculation, InterruptedAndFailedRunsAreRerunToTheSameResult) {
    RecalcCompany c;
    c.Worker("000003", {});
    c.Comp("ZASA", "A", 10, "100");
    c.Comp("PREM", "A", 20, "ZASA / 10");
    c.Position(c.list, "000002", "ZASA", 1);
    c.Position(c.list, "000003", "ZASA", 1);
    Watch w;
    w.interrupt = [](const std::string& e) { return e == "000002"; };
    const RecalcOutcome stopped = c.Recalc({}, &w);
    EXPECT_TRUE(stopped.interrupted);
    EXPECT_TRUE(stopped.message.empty());
    EXPECT_EQ(stopped.employees, 1);
    EXPECT_EQ(c.Placed(), (V{"000002 ZASA 1.00", "000003 ZASA 1.00", "000001 ZASA 100.00",
                             "000001 PREM 10.00"}));
    const V clean{"000002 ZASA 100.00", "000003 ZASA 100.00", "000001 ZASA 100.00",
                  "000001 PREM 10.00",  "000002 PREM 10.00",  "000003 PREM 10.00"};
    ASSERT_TRUE(c.Recalc().message.empty()) << c.refusal;
    EXPECT_EQ(c.Placed(), clean);

    // A formula that fails for the second employee ends the run there.
    c.Comp("BLAD", "A", 15, "if(pkprac->nr_prac = '000002', 'x', 0)");
    const RecalcOutcome failed = c.Recalc();
    EXPECT_EQ(c.refusal, "Błędna wartość algorytmu");
    EXPECT_EQ(failed.employees, 1);
    {
        dbf::WorkArea& spl = c.tables.Open("PKSPL", {"PKSPL1"});
        ASSERT_TRUE(spl.Seek("BLAD").ok() && spl.found());
        c.tables.RLock(spl);
        ASSERT_TRUE(spl.Delete().ok());
        spl.Unlock();
        c.tables.CloseAll();
    }
    ASSERT_TRUE(c.Recalc().message.empty()) << c.refusal;
    EXPECT_EQ(c.Placed(), clean);
}

// The refusals before the run, each leaving the positions alone.
TEST(Recalculation, TheChecksRefuse) {
    struct Case {
        const char* name;
        std::function<void(RecalcCompany&)> make;
        const char* message;
    };
    for (const Case& t : std::vector<Case>{
             {"month", [](RecalcCompany& c) { c.list = c.List("2026", "A", 2, "04", "20260410"); },
              "Rok/Miesiac niezgodne z PKSTER"},
             {"scale", [](RecalcCompany& c) { c.list = c.List("2027", "A", 2, "03", "20270110"); },
              "Brak tabeli podatk. 2027/01"},
             {"symbol", [](RecalcCompany& c) { c.list = c.List("2026", "Q", 2, "03", "20260310"); },
              "Błędny symbol listy płac"},
             {"formula", [](RecalcCompany& c) { c.Comp("ZLY", "A", 1, "'tekst'"); },
              "Błędna wartość algorytmu"},
             {"variable", [](RecalcCompany& c) { c.Comp("ZLY", "A", 1, "NIEMA + 1"); },
              "Błędna zmienna: NIEMA"},
         }) {
        RecalcCompany c;
        c.Comp("ZASA", "A", 10, "100");
        c.Position(c.list, "000001", "ZASA", 5);
        const PayrollList first = c.list;
        t.make(c);
        c.Recalc();
        EXPECT_EQ(c.refusal, t.message) << t.name;
        EXPECT_EQ(c.Placed(&first), (V{"000001 ZASA 5.00"})) << t.name;
    }
}

// The duplicated codes of the namespace are warnings; the run goes on.
TEST(Recalculation, DuplicatedCodesAreWarnedAbout) {
    RecalcCompany c;
    c.Comp("ZASA", "A", 10, "100");
    c.Comp("ZASA", "A", 11, "100");
    c.Add("PKRNB", {{"KOD_NIEOB", "ZASA"}});
    c.Add("PKSRDOD", {{"RODZAJ_DOD", "CHOR"}});
    c.Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
    Watch w;
    ASSERT_TRUE(c.Recalc({}, &w).message.empty()) << c.refusal;
    EXPECT_EQ(w.warnings,
              (V{"Zdublowany symbol: \"ZASA\" w PKSPL", "Symbol: \"ZASA\" jest w PKSPL i PKRNB",
                 "Symbol: \"CHOR\" jest w PKRNB i PKSRDOD"}));
    EXPECT_EQ(w.employees.size(), 2u);
}

// A list closed by another workstation during the run stops it.
TEST(Recalculation, AListClosedMeanwhileStopsTheRun) {
    RecalcCompany c;
    c.Comp("ZASA", "A", 10, "100");
    Watch w;
    w.on_employee = [&](const std::string& e) {
        if (e != "000002") return;
        kestrel::testing::HeadlessRuntime other;
        other.rt.set_data_dir(c.dir.path() + "/");
        common::Tables t(other.rt);
        dbf::WorkArea& a = t.Open("PKLISTY", {"PKLISTY1"});
        ASSERT_TRUE(a.GoTop().ok());
        t.RLock(a);
        ASSERT_TRUE(a.record().SetLogical(a.FieldIndex("WSK_AKTYWN"), false).ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    };
    const RecalcOutcome out = c.Recalc({}, &w);
    EXPECT_EQ(c.refusal, "Błędny symbol listy płac");
    EXPECT_EQ(out.employees, 1);
    EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00"}));
}

// Two workstations on one company directory recalculate two lists at the
// same time in shared mode: each list gets all its positions.
TEST(Recalculation, TwoWorkstationsRecalculateTwoListsSharing) {
    RecalcCompany c;
    c.Symbol("B");
    const PayrollList b = c.List("2026", "B", 2, "03", "20260310");
    c.Comp("ZASA", "A", 10, "if(pklisty->typ_lst = 'A', 100, 200)");
    c.Comp("BRUT", "A", 20, "ZASA + 1");
    // A first run of its own builds the index files (a workstation builds
    // them only while it has a table alone).
    c.Recalc();
    c.Position(c.list, "000001", "ZASA", 3);
    Watch w;
    bool ran = false;
    RecalcOutcome other_out;
    std::vector<std::string> other_b;
    w.on_employee = [&](const std::string&) {
        if (ran) return;
        ran = true;
        kestrel::testing::HeadlessRuntime other;
        other.rt.set_data_dir(c.dir.path() + "/");
        common::Tables t(other.rt);
        Recalculation run(other.rt, t, b, nullptr);
        ASSERT_EQ(run.Check(), "");
        run.OpenTables(false);
        other_out = run.Run({});
    };
    ASSERT_TRUE(c.Recalc({}, &w).message.empty()) << c.refusal;
    EXPECT_TRUE(other_out.message.empty());
    EXPECT_EQ(other_out.employees, 2);
    EXPECT_EQ(c.Placed(&b), (V{"000001 ZASA 200.00", "000001 BRUT 201.00", "000002 ZASA 200.00",
                               "000002 BRUT 201.00"}));
    EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00", "000001 BRUT 101.00", "000002 ZASA 100.00",
                             "000002 BRUT 101.00"}));
}

// One employee computed alone (the F9 of the component entry) as the run
// computes him; the month's flags are cleared.
TEST(Recalculation, OneEmployeeAlone) {
    RecalcCompany c;
    c.Comp("ZASA", "A", 10, "100");
    c.Position(c.list, "000002", "ZASA", 7);
    {
        Recalculation run(c.h.rt, c.tables, c.list, nullptr);
        const RecalcOutcome out = run.ComputeEmployee("000001");
        EXPECT_TRUE(out.message.empty());
        EXPECT_EQ(out.employees, 1);
    }
    c.tables.CloseAll();
    EXPECT_EQ(c.Placed(), (V{"000002 ZASA 7.00", "000001 ZASA 100.00"}));
}

}  // namespace
}  // namespace kestrel::payroll

namespace kestrel::payroll {
namespace {

// With NAGLBLK each employee's register record is locked while he is
// computed and released afterwards: another workstation can lock it when
// the run is over, and while it goes it cannot.
TEST(Recalculation, EmployeeRecordsAreLockedOneAtATime) {
    RecalcCompany c;
    c.h.rt.config().Set("NAGLBLK", memfile::MemValue::Logical(true));
    c.Comp("ZASA", "A", 10, "100");
    c.tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC4"});  // the index files built
    kestrel::testing::HeadlessRuntime other;
    other.rt.set_data_dir(c.dir.path() + "/");
    common::Tables t(other.rt);
    dbf::WorkArea& prac = t.Open("PKPRAC", {"PKPRAC1"});
    auto locked_elsewhere = [&](const char* number) {
        EXPECT_TRUE(prac.Seek(number).ok() && prac.found());
        const base::Status s = prac.RLock();
        prac.Unlock();
        return !s.ok();
    };
    Watch w;
    std::vector<bool> held;
    w.on_component = [&](const std::string&) {
        held.push_back(locked_elsewhere(w.employees.back() == "000001" ? "000001" : "000002"));
        held.push_back(locked_elsewhere(w.employees.back() == "000001" ? "000002" : "000001"));
    };
    ASSERT_TRUE(c.Recalc({}, &w).message.empty()) << c.refusal;
    // His own record is held while he is computed, the other one is not.
    EXPECT_EQ(held, (std::vector<bool>{true, false, true, false}));
    EXPECT_FALSE(locked_elsewhere("000002"));
    EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00", "000002 ZASA 100.00"}));
}

}  // namespace
}  // namespace kestrel::payroll
