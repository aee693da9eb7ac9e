#include "worktime/absence_entry_dialog.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "worktime/data/calendar_table.h"
#include "worktime/time_entry_dialog.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using testing::Row;
using testing::WorkCompany;
using V = std::vector<std::string>;

// Employee 1 suspended from 20 February to 5 March 2026 (the settlement
// month), the preset calendar of 2026, leave with a yearly limit of 3 days,
// a benefit reported to the insurance office and a computed code.
struct Entry : WorkCompany {
    std::vector<std::string> seen;  // rows 9-22 each time F11 is pressed

    explicit Entry(bool computed = true) : WorkCompany({"PKNIEOB", "PKZAW", "PKSPZAW"}) {
        Add("PKGRUPY", {{"GRUPA_", "01"}, {"NAZWA_", "Podstawowa"}});
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "01"));
        Employee("000001", "A");
        Employee("000002", "B");
        Code("UW", "U", {{"LIMIT_NB", "3"}});
        Code("ZC", "Z", {{"DEKL_ZUS", "T"}});
        Code("EW", "E");
        Code("ZAWU", "G");
        if (computed) Code("ASUM", "A", {{"SEKW_OBL", "1"}, {"ALGORYTM_", "UW + ZC"}});
        Add("PKSPZAW", {{"PRZYCZ_ZAW", "01"}, {"NAZWA_", "Areszt"}, {"KOD_NIEOB", "ZAWU"}});
        Add("PKZAW", {{"NR_PRAC", "000001"},
                      {"DATA_ZAW", "20260220"},
                      {"PRZYCZ_ZAW", "01"},
                      {"DATA_POWR", "20260305"}});
        dbf::WorkArea& ster = tables.Open("PKSTER");
        tables.RLock(ster);
        ster.record().SetLogical(ster.FieldIndex("AKT_ZUS"), true);
        ster.Commit();
        ster.Unlock();
        tables.CloseAll();
        h.con.keyboard().Bind(key::F(11), [this] {
            std::string rows;
            for (int r = 9; r <= 22; ++r) rows += h.Row(r) + "\n";
            seen.push_back(rows);
        });
    }
    void Code(const std::string& code, const std::string& type, Row more = {}) {
        Row row = {{"KOD_NIEOB", code}, {"NAZWA_", "Kod " + code}, {"TYP_", type}};
        row.insert(row.end(), more.begin(), more.end());
        Add("PKRNB", row);
    }
    /// PKNIEOB as "lp code cal from-to qty zus", "*" after a deleted one.
    V Lines() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKNIEOB.DBF"), {}, &t).ok());
        V out;
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            auto n = [&](const char* f) { return r.GetNumber(t->FieldIndex(f)); };
            char s[128];
            std::snprintf(s, sizeof s, "%g %s %g.%g %g-%g %g %g.%g%s", n("LP_"),
                          base::TrimRight(r.GetString(t->FieldIndex("KOD_NIEOB"))).c_str(),
                          n("ROK_KAL"), n("MC_KAL"), n("DZ_ROZP"), n("DZ_ZAK"), n("ILOSC_"),
                          n("ROK_ZUS"), n("MC_ZUS"), r.deleted() ? "*" : "");
            out.push_back(s);
            return base::Status::Ok();
        });
        return out;
    }
    void Run() { EnterAbsences(h.rt, tables); }
    /// Line 99 of employee 2 in March: leave on day 2.
    void Line99() {
        Add("PKNIEOB", {{"ROK_", "2026"},
                        {"MIESIAC_", "3"},
                        {"LP_", "99"},
                        {"NR_PRAC", "000002"},
                        {"KOD_NIEOB", "UW"},
                        {"ROK_KAL", "2026"},
                        {"MC_KAL", "3"},
                        {"DZ_ROZP", "2"},
                        {"DZ_ZAK", "2"},
                        {"ILOSC_", "1"}});
        tables.CloseAll();
    }
};

TEST(AbsenceEntryDialog, ASessionOverSuspensionsCollisionsLimitsAndTheReportingMonth) {
    Entry c;
    c.Keys({'1', key::kEnter, key::F(11), key::kEnter});  // the generated line is shown
    // Line 2 (proposed): leave, days 10-14 of March, 4 working days proposed.
    c.Keys({key::kEnter, 'U', 'W', key::kEnter, '1', '0', '1', '4', key::kEnter, key::F(11)});
    // Line 3 over days 13-16: the collision is accepted; a benefit counts
    // calendar days and asks the reporting month, first a wrong one.
    c.Keys({key::kEnter, 'Z', 'C', key::kEnter, '1', '3', '1', '6', key::F(12), key::kEnter, 't'});
    c.Keys({key::kEnter, key::kEnter, '0', '5', key::F(12), key::kEnter, '0', '4', 'A', 'B'});
    c.Keys({key::F(11), key::F(10)});  // employee 2 next, then the end
    c.Keys({'2', key::kEnter, key::F(10), key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Od-Do sprzeczne z poz.: 2", "Błędny symbol miesiąca"}));
    EXPECT_EQ(c.Lines(), (V{"1 ZAWU 2026.3 1-5 5 2026.3", "2 UW 2026.3 10-14 4 2026.3",
                            "3 ZC 2026.3 13-16 4 2026.4", "4 ASUM 2026.3 0-0 8 2026.3"}));
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (V{"F"}));
    ASSERT_EQ(c.seen.size(), 3u);
    EXPECT_NE(c.seen[0].find("Składniki generowane i algorytmiczne"), std::string::npos);
    EXPECT_NE(
        c.seen[0].find("  1 ZAWU Kod ZAWU                        Gener. 2026.03  1  5       5"),
        std::string::npos)
        << c.seen[0];
    // The leave goes beyond its limit.
    EXPECT_NE(c.seen[1].find("Narast.: 4.000   Limit: 3"), std::string::npos) << c.seen[1];
    EXPECT_NE(c.seen[2].find("Rok.m-c ZUS: 2026  4  Kod choroby: A/B"), std::string::npos)
        << c.seen[2];
    EXPECT_EQ(c.seen[2].find("Limit"), std::string::npos) << c.seen[2];
}

TEST(AbsenceEntryDialog, ComputedLinesBeyondLine99StopTheEmployee) {
    Entry c;
    c.Line99();
    c.Keys({'2', key::kEnter, key::F(12), key::kEnter, key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Nr pozycji > 99"}));
    EXPECT_EQ(c.Lines(), (V{"99 UW 2026.3 2-2 1 0.0"}));
}

TEST(AbsenceEntryDialog, CodesRefusedAnExistingLineDeletedAndAnEarlierMonth) {
    Entry c(false);
    c.Line99();
    c.Keys({'2', key::kEnter, key::F(11)});  // line 100 is proposed as 1
    c.Keys({key::kEnter, 'Z', 'A', key::kEnter, key::F(12), key::kEnter});
    c.Keys({'Z', 'A', 'W', 'U', key::F(12), key::kEnter, key::kEsc});
    // Line 99 again: its quantity set to 0 deletes it.
    c.Keys({'9', '9', key::F(11), key::kEnter, key::kEnter, key::kEnter, key::F(11)});
    c.Keys({'0', key::kEnter, key::F(12), key::kEnter, key::F(10)});
    // February: only codes of type "E", with a quantity and no days.
    c.Keys({key::F(1), key::kEnter, '0', '2', '2', key::kEnter, key::kEnter, 'U', 'W', key::kEnter,
            key::F(12), key::kEnter, 'E', 'W', key::kEnter, '3', key::kEnter, key::F(10),
            key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Błędny kod", "BŁĄD - kod generowany z zawieszeń", "Pozycja skasowana",
                             "BŁĄD - kod musi być typu \"E\""}));
    // Line 1 of March stays a deleted record under construction (Esc).
    EXPECT_EQ(c.Lines(), (V{"99 UW 2026.3 2-2 0 0.0*", "1  2026.3 0-0 0 2026.3*",
                            "1 EW 2026.2 0-0 3 2026.2"}));
    ASSERT_EQ(c.seen.size(), 3u);
    const std::string proposed = c.seen[0].substr(11 * 81, 81);  // row 20
    EXPECT_EQ(proposed.substr(0, 4), "  1 ") << c.seen[0];
    EXPECT_NE(c.seen[1].find("Istniejący rekord"), std::string::npos) << c.seen[1];
    EXPECT_NE(
        c.seen[2].find(" 99 UW   Kod UW                          Urlop  2026.03  2  2   1.000"),
        std::string::npos)
        << c.seen[2];
}

TEST(AbsenceEntryDialog, F9OfTheWorkingTimeEntryOpensTheEmployeesAbsences) {
    Entry c;
    std::string before, after;
    c.h.con.keyboard().Bind(key::F(2), [&] { (before.empty() ? before : after) = c.h.Row(10); });
    // Employee 1, no brigade; F9 at the code, the generated line, F10 back.
    c.Keys({'1', key::kEnter, key::kEnter, key::F(2), key::F(9), key::kEnter, key::F(10)});
    c.Keys({key::F(2), key::F(10), key::F(10)});
    EnterWorkingTime(c.h.rt, c.tables);
    EXPECT_EQ(c.Lines(), (V{"1 ZAWU 2026.3 1-5 5 2026.3"}));
    EXPECT_EQ(before, after);  // the working-time screen is back
    EXPECT_NE(before.find("Kod           Nazwa"), std::string::npos) << before;
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (V{"F"}));
}

}  // namespace
}  // namespace kestrel::worktime
