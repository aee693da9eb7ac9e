#include "worktime/data/absence_functions.h"

#include <gtest/gtest.h>

#include "platform/formula/number_format.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/formula_host.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

using formula::Value;
using testing::WorkCompany;

struct Absences : WorkCompany {
    Absences() : WorkCompany({"PKNIEOB", "PKKALEN"}) {
        month = {2026, 5};
        Add("PKRNB", {{"KOD_NIEOB", "CHOR"}, {"NAZWA_", "Choroba"}, {"TYP_", "Z"}});
        Add("PKRNB", {{"KOD_NIEOB", "ZAS"}, {"NAZWA_", "Zasiłek chorobowy"}, {"TYP_", "Z"}});
        Add("PKRNB", {{"KOD_NIEOB", "UW"}, {"NAZWA_", "Urlop wypoczynkowy"}, {"TYP_", "U"}});
        Employee("000001", "Nowak");
        Employee("000002", "Kowal");
        dbf::WorkArea& kalen = OpenCalendars(tables);
        WriteCalendar(tables, kalen, PresetCalendar(2026, "01"));
    }

    /// A line entered in `entered` (year, month) for calendar month
    /// (cal_year, cal_month), days from-to.
    void Absence(const std::string& number, const std::string& code, SettlementMonth entered,
                 SettlementMonth cal, int from, int to, double qty = -1, double qty2 = 0,
                 int lp = 1) {
        Add("PKNIEOB", {{"ROK_", std::to_string(entered.year)},
                        {"MIESIAC_", std::to_string(entered.month)},
                        {"LP_", std::to_string(lp)},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"GRUPA_", "01"},
                        {"ROK_KAL", std::to_string(cal.year)},
                        {"MC_KAL", std::to_string(cal.month)},
                        {"DZ_ROZP", std::to_string(from)},
                        {"DZ_ZAK", std::to_string(to)},
                        {"ILOSC_", std::to_string(qty < 0 ? to - from + 1 : qty)},
                        {"ILOSC_2", std::to_string(qty2)},
                        {"PROC_ZAS", "80"},
                        {"NR_STATYST", "A12"}});
    }
    /// The same month entered and covered.
    void Absence(const std::string& number, const std::string& code, SettlementMonth m, int from,
                 int to, double qty = -1, double qty2 = 0, int lp = 1) {
        Absence(number, code, m, m, from, to, qty, qty2, lp);
    }
};

// Evaluates `text` for `employee` in `month`: the value in canonical form
// or the error's message (UTF-8).
std::string Eval(FormulaHost& host, const std::string& employee, const SettlementMonth& month,
                 const std::string& text) {
    host.LoadEmployee(employee, month);
    formula::Program p;
    formula::Error e;
    Value v;
    if (!host.engine().Compile(codepage::FromUtf8(text), &p, &e) ||
        !host.engine().Evaluate(p, &v, &e))
        return codepage::ToUtf8(e.Message());
    return codepage::ToUtf8(formula::Canonical(v));
}

struct Host {
    explicit Host(Absences& c) : host(c.h.rt, c.tables) { host.Prepare(); }
    FormulaHost host;
};

// A sickness from 10 March to 20 May, evaluated in May: R = 20 and
// P = 22 + 30 = 52.
struct MarchToMay : Absences {
    MarchToMay() {
        Absence("000001", "CHOR", {2026, 3}, 10, 31);
        Absence("000001", "ZAS", {2026, 4}, 1, 30);
        Absence("000001", "ZAS", {2026, 5}, 1, 20);
        // Another employee's sickness in April must not fill the gap of
        // employee 2, who was absent in March and May only.
        Absence("000002", "CHOR", {2026, 3}, 1, 31);
        Absence("000002", "ZAS", {2026, 5}, 1, 20);
    }
};

TEST(Ildcnb, TheMarchToMaySicknessAfterThresholds33And60And80) {
    MarchToMay c;
    Host h(c);
    const struct {
        int threshold;
        const char* result;
    } cases[] = {{33, "20"}, {60, "12"}, {80, "0"}, {52, "20"}, {70, "2"}};
    for (const auto& t : cases)
        EXPECT_EQ(Eval(h.host, "000001", c.month,
                       "ILDCNB('CHOR,ZAS', " + std::to_string(t.threshold) + ")"),
                  t.result)
            << t.threshold;
    // Without April the absence does not run on: nothing before May counts.
    EXPECT_EQ(Eval(h.host, "000002", c.month, "ILDCNB('CHOR,ZAS', 30)"), "0");
    // Only the codes named count.
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILDCNB('CHOR', 30)"), "0");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILDCNB('ZAS', 30)"), "20");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILDCNB('ZAS', 31)"), "19");
}

TEST(Ildcnb, AMonthNotBeginningWithTheAbsenceGivesZero) {
    Absences c;
    c.Absence("000001", "CHOR", {2026, 4}, 1, 30);
    c.Absence("000001", "CHOR", c.month, 2, 20);
    Host h(c);
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILDCNB('CHOR', 30)"), "0");
}

TEST(Ildcnb, ArgumentsAndDaysThatCannotBeCounted) {
    Absences c;
    c.Absence("000001", "CHOR", c.month, 1, 10, -1, 0, 1);
    c.Absence("000001", "CHOR", c.month, 10, 12, -1, 0, 2);  // day 10 twice
    c.Absence("000002", "CHOR", c.month, 1, 31);
    c.Absence("000002", "CHOR", {2026, 4}, 0, 30);  // day 0
    Host h(c);
    const struct {
        const char* employee;
        const char* formula;
        const char* error;
    } cases[] = {
        {"000001", "ILDCNB(1, 30)", "Błędny argument funkcji ILDCNB()"},
        {"000001", "ILDCNB('CHOR')", "Błędny argument 2 funkcji ILDCNB()"},
        {"000001", "ILDCNB('CHOR', 29)", "Błędny argument 2 funkcji ILDCNB()"},
        {"000001", "ILDCNB('CHOR', '30')", "Błędny argument 2 funkcji ILDCNB()"},
        {"000001", "ILDCNB('CHOR', 30)", "Błędne daty nieobecności"},
        {"000002", "ILDCNB('CHOR', 30)", "Błędne daty nieobecności (2026-04)"},
    };
    for (const auto& t : cases)
        EXPECT_EQ(Eval(h.host, t.employee, c.month, t.formula), t.error) << t.formula;
}

TEST(HoursPerDay, DisabilityAndTheAllowancesInForce) {
    const struct {
        const char* degree;
        const char* allowance;
        double value;
        bool timed;
        int from, to;  // months of 2026
        double hours;
    } cases[] = {
        {"2", "", 0, false, 0, 0, 7},
        {"3", "", 0, false, 0, 0, 7},
        {"2", "ORZ", 100, false, 0, 0, 8},
        {"2", "ORZ", 0, false, 0, 0, 7},    // a zero value is not in force
        {"2", "ORZ", 100, true, 1, 4, 7},   // ended before May
        {"3", "ORZ", 100, true, 5, 12, 8},  // from May
        {"2", "AGP", 100, false, 0, 0, 7},  // "AGP " is not for the disabled
        {"", "", 0, false, 0, 0, 8},
        {"1", "ORZ", 100, false, 0, 0, 8},
        {"", "AGP", 50, false, 0, 0, 7.5833333333},
        {"", "AGP", 50, true, 6, 12, 8},
    };
    for (const auto& t : cases) {
        Absences c;
        c.Add("PKPRAC", {{"NR_PRAC", "000010"}, {"TYTUL_STNP", t.degree}});
        if (*t.allowance != '\0')
            c.Add("PKDOD", {{"NR_PRAC", "000010"},
                            {"LP_", "1"},
                            {"RODZAJ_DOD", t.allowance},
                            {"WARTOSC_", std::to_string(t.value)},
                            {"CZASOWY_", t.timed ? "T" : "F"},
                            {"OD_ROK", "2026"},
                            {"OD_MC", std::to_string(t.from)},
                            {"ROK_DO", "2026"},
                            {"MC_DO", std::to_string(t.to)}});
        EXPECT_DOUBLE_EQ(HoursPerDay(c.h.rt, c.tables, "000010", c.month), t.hours)
            << "degree " << t.degree << " " << t.allowance << " " << t.from;
    }
}

TEST(WorkingFraction, AZeroPartCountsAsFullTime) {
    EXPECT_DOUBLE_EQ(WorkingFraction(1, 2), 0.5);
    EXPECT_DOUBLE_EQ(WorkingFraction(3, 4), 0.75);
    EXPECT_DOUBLE_EQ(WorkingFraction(0, 0), 1);
    EXPECT_DOUBLE_EQ(WorkingFraction(0, 2), 1);
    EXPECT_DOUBLE_EQ(WorkingFraction(1, 0), 1);
}

TEST(Ilnbnar, TheCodesQuantitiesOfTheYearUpToTheMonth) {
    Absences c;
    c.Absence("000001", "UW", {2026, 1}, 5, 6, 2, 16);
    c.Absence("000001", "UW", {2026, 3}, 2, 4, 3, 24);
    c.Absence("000001", "UW", {2026, 5}, {2026, 4}, 7, 7, 1, 8);  // April entered in May
    c.Absence("000001", "UW", {2026, 6}, {2026, 6}, 1, 1, 1, 8);  // after the month
    c.Absence("000001", "UW", {2025, 12}, 1, 1, 1, 8);            // the year before
    c.Absence("000001", "CHOR", {2026, 2}, 1, 5);                 // another code
    c.Absence("000002", "UW", {2026, 2}, 1, 9);                   // another employee
    Host h(c);
    EXPECT_EQ(Eval(h.host, "000002", c.month, "ILNBNAR('000001', 'UW')"), "6.000");
    EXPECT_EQ(Eval(h.host, "000002", c.month, "ILNBNAR('000001', 'UW', .T.)"), "48.000");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILNBNAR('000002', 'UW')"), "9.000");
    EXPECT_EQ(Eval(h.host, "000001", {2026, 3}, "ILNBNAR('000001', 'UW')"), "5.000");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILNBNAR(1, 'UW')"), "0.000");
}

TEST(Sumagodz2, SecondQuantitiesOfTheMonthOrMonthsBack) {
    Absences c;
    c.Absence("000001", "UW", c.month, 4, 5, 2, 16, 1);
    c.Absence("000001", "UW", c.month, 11, 11, 1, 8, 2);
    c.Absence("000001", "CHOR", c.month, 12, 13, 2, 16, 3);
    c.Absence("000001", "UW", {2026, 3}, 2, 2, 1, 7.5);
    c.Absence("000001", "UW", {2025, 12}, 2, 2, 1, 6);
    c.Absence("000002", "UW", c.month, 1, 1, 1, 99);
    Host h(c);
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"SUMAGODZ2('UW')", "24.000"},
        {"SUMAGODZ2('UW', 0)", "24.000"},
        {"SUMAGODZ2('UW', 2)", "7.500"},
        {"SUMAGODZ2('UW', 5)", "6.000"},
        {"SUMAGODZ2('UW', 1)", "0.000"},
        {"SUMAGODZ2()", "0.000"},
        {"SUMAGODZ2(1)", "Błędny argument 1 funkcji SUMAGODZ2()"},
        {"SUMAGODZ2('UW', '1')", "Błędny argument 2 funkcji SUMAGODZ2()"},
        {"SUMAGODZ2('UW', -1)", "Błędna wart.arg.2 funkcji SUMAGODZ2()"},
        {"SUMAGODZ2('UW', 1.5)", "Błędna wart.arg.2 funkcji SUMAGODZ2()"},
    };
    for (const auto& t : cases)
        EXPECT_EQ(Eval(h.host, "000001", c.month, t.formula), t.result) << t.formula;
}

// May 2026: Friday 1 and Sunday 3 May are holidays, 2, 9, 16 ... Saturdays;
// days 1-8 hold five working days.
TEST(Ilnbdpr, WorkingDaysOfTheCalendarAndTheDayTablesOfTheCaller) {
    Absences c;
    c.Absence("000001", "UW", c.month, 1, 8, -1, 0, 1);                 // 4 working days
    c.Absence("000001", "CHOR", c.month, {2026, 4}, 27, 30, -1, 0, 2);  // Mon-Thu: 4
    c.Absence("000001", "UW", {2026, 4}, 13, 17);                       // entered in April: 5
    c.Absence("000002", "UW", c.month, 1, 31);
    Host h(c);
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"ILNBDPR('UW')", "5.000"},
        {"ILNBDPR('UW,CHOR')", "9.000"},
        {"ILNBDPR('UW,CHOR', 0, .T.)", "5.000"},
        {"ILNBDPR('UW', 1)", "5.000"},
        {"ILNBDPR('ZAS')", "0.000"},
        // Sunday first: days 1-8 are Fri Sat Sun Mon Tue Wed Thu Fri.
        {"ILNBDPR('UW', 0, .F., {1, 2, 3, 4, 5, 6, 7})", "34.000"},
        {"ILNBDPR('UW', 0, .F., {1, 2, 3, 4, 5, 6, 7}, {{'20260504', 0.5}, {20260508, 10}})",
         "36.500"},
        {"ILNBDPR('UW', 0, .F., {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, "
         "1, 1, 1, 1, 1, 1, 1, 1, 1, 1})",
         "8.000"},
        {"ILNBDPR(1)", "Błędny argument 1 funkcji ILNBDPR()"},
        {"ILNBDPR('UW', 'x')", "Błędny argument 2 funkcji ILNBDPR()"},
        {"ILNBDPR('UW', -2)", "Błędna wart. arg. 2 funkcji ILNBDPR()"},
        {"ILNBDPR('UW', 0, 1)", "Błędny argument 3 funkcji ILNBDPR()"},
        {"ILNBDPR('UW', 0, .F., {1, 2, 3})", "Błędny argument 4 funkcji ILNBDPR()"},
        {"ILNBDPR('UW', 0, .F., 7)", "Błędny argument 4 funkcji ILNBDPR()"},
        {"ILNBDPR('UW', 0, .F., {1, 2, 3, 4, 5, 6, 'x'})", "Błędny argument 4 funkcji ILNBDPR()"},
    };
    for (const auto& t : cases)
        EXPECT_EQ(Eval(h.host, "000001", c.month, t.formula), t.result) << t.formula;
}

TEST(Ilnbdpr, DaysOnlyPartOfALongerMonthListCountWithinTheList) {
    Absences c;
    c.Absence("000001", "UW", c.month, 27, 31);
    Host h(c);
    std::string list = "{";
    for (int i = 1; i <= 28; ++i) list += (i > 1 ? "," : "") + std::to_string(i);
    list += "}";
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILNBDPR('UW', 0, .F., " + list + ")"), "55.000");
}

TEST(Ilnbdpr, DaysCoveredTwiceOrAMissingCalendar) {
    Absences c;
    c.Absence("000001", "UW", c.month, 4, 8, -1, 0, 1);
    c.Absence("000001", "UW", c.month, 8, 9, -1, 0, 2);
    c.Absence("000002", "UW", c.month, {2025, 5}, 4, 8);
    Host h(c);
    EXPECT_EQ(Eval(h.host, "000001", c.month, "ILNBDPR('UW')"), "Błędne daty nieobecności");
    EXPECT_EQ(Eval(h.host, "000002", c.month, "ILNBDPR('UW')"), "Brak kalendarza \"2025\" \"01\"");
}

// With the schedule in use a staff employee's absent days count by their
// nominal minutes in days of eight hours at the working-time fraction.
struct Scheduled : Absences {
    Scheduled() : Absences() {
        Make("PKGRUPY",
             {{{"GRUPA_", "01"}, {"ZMIENNY_CZ", "F"}}, {{"GRUPA_", "02"}, {"ZMIENNY_CZ", "T"}}});
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "02"));
        Make("PKSZMIA", {{{"GRUPA_", "01"}, {"ZMIANA_", " "}, {"OD_GODZ", "7"}, {"GODZ_DO", "15"}},
                         {{"GRUPA_", "02"},
                          {"ZMIANA_", "B"},
                          {"OD_GODZ", "14"},
                          {"GODZ_DO", "22"},
                          {"ZAKRES_2", "T"},
                          {"OD_GODZ_2", "22"},
                          {"GODZ_DO_2", "23"},
                          {"MIN_DO_2", "30"},
                          {"TYP_PRACY2", "01"}}});
        Make("PKINGPR",
             {{{"NR_PRAC", "000003"}, {"DATA_", "20260505"}, {"WOLNE_", "T"}},
              {{"NR_PRAC", "000003"}, {"DATA_", "20260506"}, {"OD_GODZ", "7"}, {"GODZ_DO", "11"}},
              {{"NR_PRAC", "000003"}, {"DATA_", "20260509"}, {"OD_GODZ", "8"}, {"GODZ_DO", "12"}}});
        Make("PKHARZM", {{{"NR_PRAC", "000004"}, {"DATA_", "20260504"}, {"ZMIANA_", "B"}},
                         {{"NR_PRAC", "000005"}, {"DATA_", "20260504"}, {"ZMIANA_", "C"}},
                         {{"NR_PRAC", "000006"}, {"DATA_", "20260504"}, {"ZMIANA_", "B"}}});
        Staff("000003", "01", "1", "2");
        Staff("000004", "02", "1", "1");
        Staff("000005", "02", "1", "1");
        Staff("000006", "02", "1", "1");
        Add("PKPRAC", {{"NR_PRAC", "000007"}, {"GRUPA_KAL", "01"}, {"NIE_PRAC", "T"}});
        Staff("000008", "01", "0", "0");
        Absence("000003", "UW", month, 4, 9);  // Mon 4 - Sat 9
        Absence("000004", "UW", month, 4, 5);
        Absence("000005", "UW", month, 4, 4);
        Absence("000006", "UW", month, 4, 4);
        Absence("000007", "UW", month, 4, 9);
        Absence("000008", "UW", month, 4, 8);
        h.rt.config().Set("NAGLHARMON", memfile::MemValue::Logical(true));
    }
    void Staff(const std::string& number, const std::string& group, const std::string& l,
               const std::string& m) {
        Add("PKPRAC", {{"NR_PRAC", number}, {"GRUPA_KAL", group}, {"ETAT_L", l}, {"ETAT_M", m}});
    }
};

TEST(Ilnbdpr, WithTheScheduleTheNominalMinutesOfEachAbsentDay) {
    Scheduled c;
    Host h(c);
    const struct {
        const char* employee;
        const char* result;
    } cases[] = {
        // 4, 7, 8 May by the shift (3 x 480), 5 May free, 6 and 9 May four
        // hours of the own schedule: 1920 minutes, 4 days, at half time 8.
        {"000003", "8.000"},
        {"000004", "2026.05.05 Brak zdefiniowanej \"zmiany\" (PKHARZM)"},
        {"000005", "2026.05.04 Brak wzorca czasu pracy (PKSZMIA)"},
        {"000006", "1.000"},  // the overtime segment of shift B does not count
        {"000007", "5.000"},  // a non-staff person: the working days
        {"000008", "5.000"},  // no working-time fraction counts as full time
    };
    for (const auto& t : cases)
        EXPECT_EQ(Eval(h.host, t.employee, c.month, "ILNBDPR('UW')"), t.result) << t.employee;
}

TEST(Naznieob, TheNameOfTheCodeOrEmpty) {
    Absences c;
    Host h(c);
    EXPECT_EQ(Eval(h.host, "000001", c.month, "trim(NAZNIEOB('ZAS'))"), "\"Zasiłek chorobowy\"");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "trim(NAZNIEOB('zas '))"), "\"Zasiłek chorobowy\"");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "NAZNIEOB('XX')"), "\"\"");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "NAZNIEOB(12)"), "\"\"");
    dbf::Workspace& ws = c.tables.workspace();
    ASSERT_NE(ws.Find("PKRNB"), nullptr);
    ASSERT_TRUE(ws.Close(ws.Find("PKRNB")->number()).ok());
    EXPECT_EQ(Eval(h.host, "000001", c.month, "NAZNIEOB('ZAS')"), "\"\"");
}

TEST(FormulaHost, EachAbsenceCodeAndItsListHoldTheEmployeesLinesOfTheMonth) {
    Absences c;
    c.Absence("000001", "UW", c.month, 4, 5, 2, 16, 1);
    c.Absence("000001", "UW", c.month, {2026, 4}, 27, 28, 1.5, 12, 2);
    c.Absence("000001", "CHOR", {2026, 4}, 1, 3);  // another month
    c.Absence("000002", "CHOR", c.month, 1, 3);    // another employee
    Host h(c);
    EXPECT_EQ(Eval(h.host, "000001", c.month, "UW"), "3.500");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "CHOR"), "0");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "len(YTBUW)*10+len(YTBCHOR)"), "20");
    EXPECT_EQ(Eval(h.host, "000001", c.month, "YTBUW[2]"),
              "{1.500, 27, 28, 80, \"A12\", 2026, 4, 12.000}");
    EXPECT_EQ(Eval(h.host, "000002", c.month, "CHOR*10+len(YTBCHOR)+UW+len(YTBUW)"), "31.000");
}

TEST(FormulaHost, AChangedEntryOfAnAbsenceListIsGoneAfterReset) {
    Absences c;
    c.Absence("000001", "UW", c.month, 4, 5, 2, 16, 1);
    Host h(c);
    EXPECT_EQ(Eval(h.host, "000001", c.month, "YTBUW[1][1] := 99, YTBUW[1][1]"), "99");
    formula::Program p;
    formula::Error e;
    Value v;
    ASSERT_TRUE(h.host.engine().Compile("YTBUW[1][1] := YTBUW[1][1] + 1", &p, &e));
    for (int run = 0; run < 2; ++run) {
        h.host.Reset();
        ASSERT_TRUE(h.host.engine().Evaluate(p, &v, &e));
        EXPECT_EQ(v.number(), 3) << run;
    }
}

}  // namespace
}  // namespace kestrel::worktime
