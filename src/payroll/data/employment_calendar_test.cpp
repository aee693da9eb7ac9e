// The calendar functions, the absences back in time and the months since
// the working-time fraction changed, over a company in March 2026 (1 March
// a Sunday; 22 working days, February 20).
#include <gtest/gtest.h>

#include <string>

#include "payroll/data/employment_support.h"
#include "payroll_company.h"
#include "worktime/data/calendar_table.h"

namespace kestrel::payroll {
namespace {

using testing::Eval;
using testing::PayCompany;
using worktime::OpenCalendars;
using worktime::PresetCalendar;
using worktime::WriteCalendar;

struct CalendarCompany : PayCompany {
    CalendarCompany() {
        for (const char* t : {"PKNIEOB", "PKWYNAG"}) Make(t);
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "01"));
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2024, "01"));
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2025, "01"));
        list = List("2026", "A", 1, "03", "20260310");
    }
    // An employee with more fields of the register record.
    void Person(const std::string& number, const registry::testing::Row& more) {
        registry::testing::Row row{{"NR_PRAC", number}, {"GRUPA_KAL", "01"}};
        row.insert(row.end(), more.begin(), more.end());
        Add("PKPRAC", row);
    }
    // The system month of PKSTER.
    void SetMonth(int year, int month) {
        dbf::WorkArea& ster = tables.Open("PKSTER");
        ASSERT_TRUE(ster.GoTop().ok());
        tables.RLock(ster);
        ASSERT_TRUE(ster.record().SetNumber(ster.FieldIndex("ROK_"), year).ok());
        ASSERT_TRUE(ster.record().SetNumber(ster.FieldIndex("MC_"), month).ok());
        ASSERT_TRUE(ster.Commit().ok());
        ster.Unlock();
    }
    // An absence line entered in `entry` for calendar month `cal`.
    void AbsenceAt(worktime::SettlementMonth entry, const std::string& number,
                   const std::string& code, worktime::SettlementMonth cal) {
        Add("PKNIEOB", {{"ROK_", std::to_string(entry.year)},
                        {"MIESIAC_", std::to_string(entry.month)},
                        {"LP_", "1"},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"ROK_KAL", std::to_string(cal.year)},
                        {"MC_KAL", std::to_string(cal.month)},
                        {"DZ_ROZP", "1"},
                        {"DZ_ZAK", "2"},
                        {"ILOSC_", "2"}});
    }
    PayrollList list;
};

struct Employee {
    explicit Employee(CalendarCompany& c) : host(c.h.rt, c.tables) {
        host.PrepareRun();
        host.SetList(c.list);
    }
    std::string Of(const std::string& number, const std::string& formula) {
        host.LoadEmployee(number);
        return Eval(host, formula);
    }
    PayrollHost host;
};

std::string DayNumbers() {
    std::string s = "{";
    for (int d = 1; d <= 31; ++d) s += (d > 1 ? "," : "") + std::to_string(d);
    return s + "}";
}

TEST(Dnipracy, WithoutSchedulesTheCalendarDaysAndTheirWeights) {
    CalendarCompany c;
    Employee run(c);
    const struct {
        std::string formula;
        const char* result;
    } cases[] = {
        {"DNIPRACY()", "22"},
        {"DNIPRACY(1)", "20"},
        {"DNIPRACY(0, 10, 20)", "9"},  // Tue 10 - Fri 20
        {"DNIPRACY(0, 28, 99)", "2"},  // the end cut to the month
        // February 2024 has 29 days (divisible by 4), February 2025 28.
        {"DNIPRACY(25, 29, 29)", "1"},
        {"DNIPRACY(13)", "20"},
        {"DNIPRACY(13, 29, 31)", "0"},
        {"DNIPRACY(27)", "0"},  // December 2023: no calendar
        {"DNIPRACY(0, 1, 31, {0, 8, 8, 8, 8, 8, 0})", "176"},
        {"DNIPRACY(0, 1, 31, {0, 8, 8, 8, 8, 8, 0}, {{'20260302', 4}, {'20260301', 9}})",
         "172"},                                              // 1 March is no working day
        {"DNIPRACY(0, 1, 31, " + DayNumbers() + ")", "351"},  // 2-6, 9-13 ... 30, 31
        {"DNIPRACY(0, 1, 31, {1, 2})", "Błędny argument 4 funkcji DNIPRACY()"},
        {"DNIPRACY(0, 1, 31, {1, 2, 3, 4, 5, 6, 'x'})", "Błędny argument 4 funkcji DNIPRACY()"},
        {"DNIPRACY(0, 1, 31, 'abc')", "Błędny argument 4 funkcji DNIPRACY()"},
        {"DNIPRACY('a')", "Błędny argument funkcji DNIPRACY()"},
        {"DNIPRACY(-1)", "Błędny zakres argumentu DNIPRACY()"},
    };
    for (const auto& t : cases) EXPECT_EQ(run.Of("000001", t.formula), t.result) << t.formula;
}

// With the schedule the nominal minutes of each day in days of the daily
// norm at the working-time fraction.
struct Scheduled : CalendarCompany {
    Scheduled() {
        Make("PKGRUPY", {{{"GRUPA_", "01"}, {"ZMIENNY_CZ", "F"}},
                         {{"GRUPA_", "02"}, {"ZMIENNY_CZ", "T"}},
                         {{"GRUPA_", "03"}, {"ZMIENNY_CZ", "F"}}});
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "02"));
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "03"));
        Make("PKSZMIA", {{{"GRUPA_", "01"}, {"ZMIANA_", " "}, {"OD_GODZ", "7"}, {"GODZ_DO", "15"}},
                         {{"GRUPA_", "03"}, {"ZMIANA_", " "}, {"OD_GODZ", "7"}, {"GODZ_DO", "24"}},
                         {{"GRUPA_", "02"},
                          {"ZMIANA_", "B"},
                          {"OD_GODZ", "14"},
                          {"GODZ_DO", "22"},
                          {"ZAKRES_2", "T"},
                          {"OD_GODZ_2", "22"},
                          {"GODZ_DO_2", "23"},
                          {"TYP_PRACY2", "01"}}});
        Make("PKINGPR",
             {{{"NR_PRAC", "000003"}, {"DATA_", "20260302"}, {"WOLNE_", "T"}},
              {{"NR_PRAC", "000003"}, {"DATA_", "20260303"}, {"OD_GODZ", "7"}, {"GODZ_DO", "11"}},
              {{"NR_PRAC", "000003"}, {"DATA_", "20260310"}, {"OD_GODZ", "25"}, {"GODZ_DO", "3"}}});
        Make("PKHARZM", {{{"NR_PRAC", "000004"}, {"DATA_", "20260302"}, {"ZMIANA_", "B"}},
                         {{"NR_PRAC", "000005"}, {"DATA_", "20260302"}, {"ZMIANA_", "C"}}});
        Person("000003", {{"ETAT_L", "1"}, {"ETAT_M", "2"}});
        Person("000004", {{"GRUPA_KAL", "02"}, {"ETAT_L", "1"}, {"ETAT_M", "1"}});
        Person("000005", {{"GRUPA_KAL", "02"}, {"ETAT_L", "1"}, {"ETAT_M", "1"}});
        Person("000006", {{"OS_PRAWNA", "T"}});
        Person("000007", {{"GRUPA_KAL", "09"}, {"ETAT_L", "1"}, {"ETAT_M", "1"}});
        Person("000008", {{"ETAT_L", "0"}, {"ETAT_M", "0"}});
        Person("000009", {{"GRUPA_KAL", "03"}, {"ETAT_L", "1"}, {"ETAT_M", "1"}});
        h.rt.config().Set("NAGLHARMON", memfile::MemValue::Logical(true));
    }
};

TEST(Dnipracy, WithSchedulesTheOwnDayTheShiftOrTheGroupPattern) {
    Scheduled c;
    Employee run(c);
    const struct {
        const char* employee;
        const char* formula;
        const char* result;
    } cases[] = {
        // 2 March free, 3 March four hours of the own schedule, 4-6 the
        // group's shift: 1680 minutes, 3.5 days of 8 hours, at half time 7.
        {"000003", "DNIPRACY(0, 2, 6)", "7.000"},
        {"000003", "GODZHARM(0, 2, 6)", "28.00"},
        {"000003", "DNIPRACY(0, 10, 10)", "2026.03.10 Błędny czas pracy (PKINGPR)"},
        {"000004", "DNIPRACY(0, 2, 2)", "1.000"},  // shift B; its overtime does not count
        {"000004", "DNIPRACY(0, 2, 3)", "2026.03.03 Brak zdefiniowanej \"zmiany\" (PKHARZM)"},
        {"000004", "DNIPRACY(3)", "Brak kalendarza \"2025(02)\""},
        {"000005", "DNIPRACY(0, 2, 2)", "2026.03.02 Brak wzorca czasu pracy (PKSZMIA)"},
        {"000006", "DNIPRACY()", "22"},  // a legal person: 1 a working day
        {"000006", "DNIPRACY(0, 1, 31, {0, 8, 8, 8, 8, 8, 0})", "22"},
        {"000006", "GODZHARM()", "0"},
        {"000007", "DNIPRACY()", "Błędna grupa kalendarzowa: \"09\""},
        {"000008", "DNIPRACY(0, 4, 6)", "0.000"},  // no fraction: nothing to divide by
        {"000003", "GODZHARM(-1)", "Błędny zakres argumentu GODZHARM()"},
        {"000009", "GODZHARM(0, 2, 2)", "2026.03.02 Błędny czas pracy (PKSZMIA)"},
    };
    for (const auto& t : cases)
        EXPECT_EQ(run.Of(t.employee, t.formula), t.result) << t.employee << " " << t.formula;
}

TEST(Godzharm, NothingWithoutSchedules) {
    CalendarCompany c;
    Employee run(c);
    EXPECT_EQ(run.Of("000001", "GODZHARM()"), "0");
}

TEST(Mczatr, MonthsOfEmploymentCountTheHireMonthWhenNoWorkingDayWasMissed) {
    CalendarCompany c;
    const struct {
        const char* number;
        const char* hired;
        const char* months;
        const char* dnompr;
    } cases[] = {
        {"000011", "20250301", "13", "22"}, {"000012", "20260301", "1", "22"},
        {"000013", "20260302", "1", "22"},  // 1 March is a Sunday
        {"000014", "20260303", "0", "21"},  // 2 March was a working day
        {"000015", "20260401", "0", "0"},   {"000016", "20260115", "2", "22"},
    };
    for (const auto& t : cases) c.Person(t.number, {{"DATA_ZATR", t.hired}});
    c.Person("000017", {{"DATA_ZATR", "20200101"}, {"DATA_ZWOLN", "20260320"}});
    c.Person("000018", {{"DATA_ZATR", "20200101"}, {"DATA_ZWOLN", "20260227"}});
    Employee run(c);
    for (const auto& t : cases) {
        EXPECT_EQ(run.Of(t.number, "MCZATR()"), t.months) << t.number;
        EXPECT_EQ(run.Of(t.number, "DNOMPR()"), t.dnompr) << t.number;
    }
    EXPECT_EQ(run.Of("000017", "DNOMPR()"), "15");  // 1-20 March
    EXPECT_EQ(run.Of("000017", "DNOMPR({0, 8, 8, 8, 8, 8, 0})"), "120");
    EXPECT_EQ(run.Of("000018", "DNOMPR()"), "0");
}

TEST(Dnrok, WorkingDaysOfTheSystemYear) {
    CalendarCompany c;
    Employee run(c);
    EXPECT_EQ(run.Of("000001", "DNROK()"), "253");
    c.Person("000019", {{"GRUPA_KAL", "07"}});
    EXPECT_EQ(run.Of("000019", "DNROK()"), "0");
}

TEST(Dnipfr, DaysEmployedBeforeTheAgeLimit) {
    CalendarCompany c;
    const struct {
        const char* number;
        registry::testing::Row fields;
        const char* dnipfr;
        const char* dnipfr2;
    } cases[] = {
        // A man with the retirement title reaches 65 on 15 March.
        {"000021",
         {{"DATA_ZATR", "20000101"},
          {"DATA_URODZ", "19610315"},
          {"PLEC_", "M"},
          {"TYTUL_EMER", "1"}},
         "14",
         "31"},
        // A woman reached 60 long ago.
        {"000022",
         {{"DATA_ZATR", "20000101"},
          {"DATA_URODZ", "19610315"},
          {"PLEC_", "K"},
          {"TYTUL_EMER", "1"}},
         "0",
         "31"},
        // Without the title the limit is 100 years.
        {"000023",
         {{"DATA_ZATR", "20000101"}, {"DATA_URODZ", "19610315"}, {"PLEC_", "K"}},
         "31",
         "31"},
        {"000024",
         {{"DATA_ZATR", "20260310"},
          {"DATA_URODZ", "19610315"},
          {"PLEC_", "M"},
          {"TYTUL_EMER", "1"}},
         "5",
         "22"},
        {"000025",
         {{"DATA_ZATR", "20260315"},
          {"DATA_URODZ", "19610315"},
          {"PLEC_", "M"},
          {"TYTUL_EMER", "1"}},
         "0",
         "17"},  // the limit on the hire day
        {"000026", {{"DATA_ZATR", "20200101"}, {"DATA_ZWOLN", "20260312"}}, "12", "12"},
        {"000027", {{"DATA_ZATR", "20260401"}}, "0", "0"},
        {"000028", {{"DATA_ZATR", "20200101"}, {"DATA_ZWOLN", "20260228"}}, "0", "0"},
        {"000029", {{"DATA_ZATR", "20260320"}, {"DATA_ZWOLN", "20260310"}}, "0", "0"},
    };
    for (const auto& t : cases) c.Person(t.number, t.fields);
    Employee run(c);
    for (const auto& t : cases) {
        EXPECT_EQ(run.Of(t.number, "DNIPFR()"), t.dnipfr) << t.number;
        EXPECT_EQ(run.Of(t.number, "DNIPFR2()"), t.dnipfr2) << t.number;
    }
}

// A man born on 29 February 1960 reaches 65 on 28 February 2025, so in
// February 2025 he counts the days up to the 27th.
TEST(Dnipfr, TheLimitOfABirthdayOn29FebruaryIs28FebruaryOfACommonYear) {
    CalendarCompany c;
    c.SetMonth(2025, 2);
    c.Person("000031", {{"DATA_ZATR", "20000101"},
                        {"DATA_URODZ", "19600229"},
                        {"PLEC_", "M"},
                        {"TYTUL_EMER", "1"}});
    Employee run(c);
    EXPECT_EQ(run.Of("000031", "DNIPFR()"), "27");
    EXPECT_EQ(run.Of("000031", "DNIPFR2()"), "28");
}

TEST(Nbdtbmc, HowFarBackTheOldestAbsenceOfTheMonthReaches) {
    CalendarCompany c;
    c.AbsenceAt({2026, 3}, "000001", "CHOR", {2026, 1});
    c.AbsenceAt({2026, 3}, "000001", "UW", {2025, 12});
    c.AbsenceAt({2026, 3}, "000001", "CHOR", {2026, 4});   // later than the month
    c.AbsenceAt({2026, 2}, "000001", "CHOR", {2025, 10});  // entered in another month
    c.AbsenceAt({2026, 3}, "000002", "CHOR", {2025, 11});  // another employee
    Employee run(c);
    EXPECT_EQ(run.Of("000001", "NBDTBMC({'CHOR'})"), "2");
    EXPECT_EQ(run.Of("000001", "NBDTBMC({'chor', 'UW'})"), "3");
    EXPECT_EQ(run.Of("000001", "NBDTBMC({'ZAS'})"), "0");
    EXPECT_EQ(run.Of("000001", "NBDTBMC('CHOR')"), "0");
}

TEST(X3mc, SicknessInTheThreeReferenceMonths) {
    CalendarCompany c;
    // R is February: February, January and December count.
    c.AbsenceAt({2026, 1}, "000041", "NZ1", {2025, 12});
    // An absence of this month in February moves R to January, so only
    // January, December and November count.
    c.AbsenceAt({2026, 3}, "000042", "NZ1", {2026, 2});
    c.AbsenceAt({2026, 3}, "000043", "NZ1", {2026, 2});
    c.AbsenceAt({2025, 11}, "000043", "NZ1", {2025, 11});
    // November lies outside February, January and December.
    c.AbsenceAt({2025, 11}, "000044", "NZ1", {2025, 11});
    c.AbsenceAt({2026, 1}, "000045", "CHOR", {2026, 1});
    Employee run(c);
    const struct {
        const char* number;
        const char* formula;
        const char* result;
    } cases[] = {
        {"000041", "X3MC()", ".T."},         {"000042", "X3MC()", ".F."},
        {"000043", "X3MC()", ".T."},         {"000044", "X3MC()", ".F."},
        {"000045", "X3MC()", ".F."},         {"000045", "X3MC({'CHOR'})", ".T."},
        {"000041", "X3MC({'CHOR'})", ".F."},
    };
    for (const auto& t : cases)
        EXPECT_EQ(run.Of(t.number, t.formula), t.result) << t.number << " " << t.formula;
}

TEST(Ilmcwzmet, MonthsBackToTheLastChangeOfTheFraction) {
    CalendarCompany c;
    c.Person("000051", {{"ETAT_L", "1"}, {"ETAT_M", "2"}});
    c.Person("000052", {{"ETAT_L", "1"}, {"ETAT_M", "2"}});
    c.Person("000053", {{"ETAT_L", "1"}, {"ETAT_M", "2"}});
    c.Person("000054", {{"ETAT_L", "1"}, {"ETAT_M", "0"}, {"NIE_PRAC", "F"}});
    auto pay = [&](const std::string& number, int back, const std::string& etat) {
        const worktime::SettlementMonth m = employment::Back({2026, 3}, back);
        c.Add("PKWYNAG", {{"NR_PRAC", number},
                          {"ROK_", std::to_string(m.year)},
                          {"MC_", std::to_string(m.month)},
                          {"ETAT_", etat}});
    };
    pay("000051", 1, "1");  // changed in February
    for (int k = 1; k <= 13; ++k) pay("000052", k, "0.5");
    for (int k = 1; k <= 3; ++k) pay("000053", k, "0.5");  // nothing in November
    pay("000054", 1, "0");
    pay("000054", 2, "0");
    Employee run(c);
    EXPECT_EQ(run.Of("000051", "ILMCWZMET()"), "0");
    EXPECT_EQ(run.Of("000052", "ILMCWZMET()"), "-1");
    EXPECT_EQ(run.Of("000053", "ILMCWZMET()"), "3");
    EXPECT_EQ(run.Of("000054", "ILMCWZMET()"), "2");  // 1/0 is 0, as in formulas
}

}  // namespace
}  // namespace kestrel::payroll

namespace kestrel::payroll {
namespace {

// Every function leaves each area's order and record, and the selected
// area, as it found them, wherever the caller stood.
TEST(EmploymentFunctions, LeaveTheAreasAsFound) {
    Scheduled c;
    c.AbsenceAt({2026, 3}, "000003", "NZ1", {2026, 2});
    Employee run(c);
    const char* calls[] = {"DNIPRACY(0, 2, 6)", "GODZHARM()", "DNOMPR()",         "DNROK()",
                           "MCZATR()",          "DNIPFR()",   "NBDTBMC({'NZ1'})", "X3MC()",
                           "ILMCWZMET()",       "WYNAGR(1)",  "SYMPAKTLP(.T.)"};
    for (const char* f : calls) run.Of("000003", f);  // every table opened once
    dbf::Workspace& ws = c.tables.workspace();
    std::vector<std::pair<int, uint32_t>> before;
    for (int n = 1; n <= 64; ++n) {
        dbf::WorkArea* a = ws.Find(n);
        if (a == nullptr) {
            before.push_back({-1, 0});
            continue;
        }
        ASSERT_TRUE(a->SetOrder(0).ok());
        ASSERT_TRUE(a->GoTop().ok());
        before.push_back({a->order(), a->recno()});
    }
    ws.Select(3);
    for (const char* f : calls) {
        EXPECT_NE(Eval(run.host, f).substr(0, 5), "Błęd") << f;
        for (int n = 1; n <= 64; ++n) {
            dbf::WorkArea* a = ws.Find(n);
            const std::pair<int, uint32_t> now =
                a == nullptr ? std::pair<int, uint32_t>{-1, 0}
                             : std::pair<int, uint32_t>{a->order(), a->recno()};
            EXPECT_EQ(now, before[static_cast<size_t>(n - 1)])
                << f << " area " << (a ? a->alias() : "");
        }
        EXPECT_EQ(ws.current_number(), 3) << f;
    }
}

}  // namespace
}  // namespace kestrel::payroll
