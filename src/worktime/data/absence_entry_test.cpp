#include "worktime/data/absence_entry.h"

#include <gtest/gtest.h>

#include "worktime/data/calendar_table.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

using testing::Row;
using testing::WorkCompany;
using V = std::vector<std::string>;

// Employees of group 01 with the preset calendar of 2026 (March 2026: 22
// working days), the absence codes of the usual types, a reason of
// suspension generating ZAWU and one naming a code of another type.
struct Absences : WorkCompany {
    Absences() : WorkCompany({"PKNIEOB", "PKZAW", "PKSPZAW"}) {
        Add("PKGRUPY", {{"GRUPA_", "01"}, {"NAZWA_", "Podstawowa"}});
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "01"));
        Employee("000001", "A");
        Employee("000002", "B");
        Code("UW", "U");
        Code("UB", "B", {{"CZY_IL_2", "T"}});
        Code("NG", "P", {{"GODZ_DNI", "T"}});
        Code("ZAWU", "G");
        Add("PKSPZAW", {{"PRZYCZ_ZAW", "01"}, {"NAZWA_", "Areszt"}, {"KOD_NIEOB", "ZAWU"}});
        Add("PKSPZAW", {{"PRZYCZ_ZAW", "02"}, {"NAZWA_", "Inna"}, {"KOD_NIEOB", "UW"}});
    }
    void Code(const std::string& code, const std::string& type, Row more = {}) {
        Row row = {{"KOD_NIEOB", code}, {"NAZWA_", "Kod " + code}, {"TYP_", type}};
        row.insert(row.end(), more.begin(), more.end());
        Add("PKRNB", row);
    }
    void Computed(const std::string& code, int order, const std::string& formula) {
        Code(code, "A", {{"SEKW_OBL", std::to_string(order)}, {"ALGORYTM_", formula}});
    }
    void Suspension(const std::string& number, const std::string& from, const std::string& last,
                    const std::string& reason = "01") {
        Add("PKZAW",
            {{"NR_PRAC", number}, {"DATA_ZAW", from}, {"PRZYCZ_ZAW", reason}, {"DATA_POWR", last}});
    }
    void Absence(const std::string& number, int line, const std::string& code, int from, int to,
                 double quantity, SettlementMonth entered = {2026, 3}) {
        Add("PKNIEOB", {{"ROK_", std::to_string(entered.year)},
                        {"MIESIAC_", std::to_string(entered.month)},
                        {"LP_", std::to_string(line)},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"ROK_KAL", "2026"},
                        {"MC_KAL", "3"},
                        {"DZ_ROZP", std::to_string(from)},
                        {"DZ_ZAK", std::to_string(to)},
                        {"ILOSC_", std::to_string(quantity)}});
    }

    /// The visible lines of the employee in `m` as "lp code cal from-to qty qty2".
    V Shown(AbsenceEntry& entry, const std::string& number, SettlementMonth m = {2026, 3}) {
        V out;
        for (const AbsenceLine& l : entry.LinesOf(number, m)) {
            char t[96];
            std::snprintf(t, sizeof t, "%d %s %d.%d %d-%d %g %g", l.line, l.code.c_str(),
                          l.cal_year, l.cal_month, l.from, l.to, l.quantity, l.quantity2);
            out.push_back(t);
        }
        return out;
    }
    EntryEmployee Who(const std::string& number, SettlementMonth m = {2026, 3}) {
        return *ReadEntryEmployee(h.rt, tables, number, m);
    }
};

struct Prepared {
    FormulaHost host;
    std::unique_ptr<AbsenceEntry> entry;
    explicit Prepared(Absences& c) : host(c.h.rt, c.tables) {
        host.Prepare();
        entry = std::make_unique<AbsenceEntry>(host, c.tables);
    }
};

TEST(AbsenceEntryData, SuspensionsGenerateTheirDaysInEachMonthTheyTouch) {
    Absences c;
    c.Suspension("000001", "20260320", "20260410");
    c.Suspension("000002", "20260210", "20260305");
    c.Suspension("000002", "20260325", "", "02");  // the reason's code is not generated
    c.Absence("000001", 1, "UW", 2, 3, 2);
    c.Absence("000001", 2, "ZAWU", 1, 1, 1);  // an old generated line goes
    // The index files made now, before the entry writes.
    c.tables.Open("PKNIEOB", {"PKNIEOB1", "PKNIEOB2", "PKNIEOB3", "PKNIEOB4", "PKNIEOB5",
                              "PKNIEOB6", "PKNIEOB7", "PKNIEOB8"});
    c.tables.CloseAll();
    Prepared p(c);
    EXPECT_EQ(p.entry->Regenerate(c.Who("000001"), {2026, 3}), "");
    EXPECT_EQ(c.Shown(*p.entry, "000001"), (V{"1 UW 2026.3 2-3 2 0", "2 ZAWU 2026.3 20-31 12 96"}));
    EXPECT_EQ(p.entry->Regenerate(c.Who("000001", {2026, 4}), {2026, 4}), "");
    EXPECT_EQ(c.Shown(*p.entry, "000001", {2026, 4}), (V{"1 ZAWU 2026.4 1-10 10 80"}));
    EXPECT_EQ(p.entry->Regenerate(c.Who("000002"), {2026, 3}), "");
    EXPECT_EQ(c.Shown(*p.entry, "000002"), (V{"1 ZAWU 2026.3 1-5 5 40"}));
    // Again: the same lines, in the records deleted before.
    const size_t records = c.Records("PKNIEOB", "NR_PRAC").size();
    EXPECT_EQ(p.entry->Regenerate(c.Who("000001"), {2026, 3}), "");
    EXPECT_EQ(c.Shown(*p.entry, "000001"), (V{"1 UW 2026.3 2-3 2 0", "2 ZAWU 2026.3 20-31 12 96"}));
    EXPECT_EQ(c.Records("PKNIEOB", "NR_PRAC").size(), records);
    // Every index finds the generated lines, the one by reporting month too.
    p.entry.reset();
    c.tables.CloseAll();
    dbf::WorkArea& by_zus = c.tables.Open("PKNIEOB", {"PKNIEOB7"});
    ASSERT_TRUE(by_zus.Seek("202604000001ZAWU").ok());
    EXPECT_TRUE(by_zus.found());
}

TEST(AbsenceEntryData, GeneratedHoursFollowTheWorkingTimeFractionAndTheReportingMonth) {
    Absences c;
    c.Add("PKPRAC", {{"NR_PRAC", "000003"},
                     {"GRUPA_KAL", "01"},
                     {"ETAT_L", "1"},
                     {"ETAT_M", "2"},
                     {"NB_ZUS_NMC", "T"}});
    c.Add("PKPRAC", {{"NR_PRAC", "000004"}, {"GRUPA_KAL", "01"}, {"ETAT_L", "0"}, {"ETAT_M", "0"}});
    c.Suspension("000003", "20260302", "20260303");
    c.Suspension("000004", "20260302", "20260303");
    Prepared p(c);
    EXPECT_EQ(p.entry->Regenerate(c.Who("000003"), {2026, 3}), "");
    EXPECT_EQ(p.entry->Regenerate(c.Who("000004"), {2026, 3}), "");
    EXPECT_EQ(c.Shown(*p.entry, "000003"), (V{"1 ZAWU 2026.3 2-3 2 8"}));
    EXPECT_EQ(c.Shown(*p.entry, "000004"), (V{"1 ZAWU 2026.3 2-3 2 16"}));  // 0/0 counts as 1/1
    const std::vector<AbsenceLine> lines = p.entry->LinesOf("000003", {2026, 3});
    EXPECT_EQ(lines[0].zus_month, 4);  // reported the month after
}

TEST(AbsenceEntryData, GeneratedLinesStopAtLine99) {
    Absences c;
    c.Absence("000001", 99, "UW", 2, 3, 2);
    c.Suspension("000001", "20260320", "");
    Prepared p(c);
    EXPECT_EQ(p.entry->Regenerate(c.Who("000001"), {2026, 3}), "Nr pozycji > 99");
    EXPECT_EQ(c.Shown(*p.entry, "000001"), (V{"99 UW 2026.3 2-3 2 0"}));
}

TEST(AbsenceEntryData, ComputedCodesWriteNumbersAndListsInTheirOrder) {
    Absences c;
    c.Absence("000001", 1, "UW", 2, 3, 2);
    c.Computed("A2", 2, "A1 + UW");  // sees A1 computed before it
    c.Computed("A1", 1, R"({{2, 3, 4, 80, "S01"}, {1, 10, 10, 0, "", 2026, 2, 7.5}})");
    c.Computed("A0", 3, "0");  // zero writes nothing
    Prepared p(c);
    EXPECT_EQ(p.entry->Regenerate(c.Who("000001"), {2026, 3}), "");
    EXPECT_EQ(c.Shown(*p.entry, "000001"), (V{"1 UW 2026.3 2-3 2 0", "2 A1 2026.3 3-4 2 0",
                                              "3 A1 2026.2 10-10 1 7.5", "4 A2 2026.3 0-0 5 0"}));
    const std::vector<AbsenceLine> lines = p.entry->LinesOf("000001", {2026, 3});
    EXPECT_EQ(lines[1].percentage, 80);
    EXPECT_EQ(base::TrimRight(lines[1].statistical), "S01");
}

TEST(AbsenceEntryData, AComputedResultThatDoesNotFitIsRefusedWhole) {
    struct Case {
        const char* formula;
        const char* message;
    };
    const Case cases[] = {
        {"1000", "Błędna wartość: AX"},                                      // beyond N7.3
        {R"({{1, 1, 2, 0, ""}, {2, 1, 32, 0, ""}})", "Błędna wartość: AX"},  // day 32
        {R"({{1, 1, 2, 1000, ""}})", "Błędna wartość: AX"},                  // percentage
        {R"({{1, 1, 2, 0, "", 2026, 13}})", "Błędna wartość: AX"},           // month 13
        {R"({{1, 1, 2, 0, ""}, {1, 2}})", "Błędna wartość2: AX"},            // shape
        {R"({{1, 1, 2, 0, 5}})", "Błędna wartość1: AX"},                     // not a text
        {R"("x")", "Błędna wartość: AX"},                                    // not a number
    };
    for (const Case& k : cases) {
        Absences c;
        c.Computed("AX", 1, k.formula);
        Prepared p(c);
        EXPECT_EQ(codepage::ToUtf8(p.entry->Regenerate(c.Who("000001"), {2026, 3})), k.message)
            << k.formula;
        EXPECT_EQ(c.Shown(*p.entry, "000001"), V{}) << k.formula;
    }
}

TEST(AbsenceEntryData, CollisionsAreFoundOverEveryEntryMonthButTheLineItself) {
    Absences c;
    c.Absence("000001", 1, "UW", 10, 14, 3);
    c.Absence("000001", 4, "UW", 20, 22, 3, {2026, 2});  // entered in February for March
    c.Absence("000002", 1, "UW", 1, 31, 22);
    Prepared p(c);
    auto found = [&](int from, int to, LineRef except = {}) {
        const std::optional<LineRef> r =
            p.entry->FindCollision("000001", 2026, 3, from, to, except);
        return r ? CollisionText(*r, {2026, 3}) : std::string();
    };
    EXPECT_EQ(found(10, 14), "Od-Do sprzeczne z poz.: 1");
    EXPECT_EQ(found(14, 16), "Od-Do sprzeczne z poz.: 1");
    EXPECT_EQ(found(21, 21), "Od-Do sprzeczne z: 2026.02  poz.: 4");
    EXPECT_EQ(found(15, 19), "");
    EXPECT_EQ(found(10, 14, {2026, 3, 1}), "");  // the line being corrected
    EXPECT_FALSE(p.entry->FindCollision("000001", 2026, 4, 10, 14, {}));
}

TEST(AbsenceEntryData, QuantityProposedByTheCalendarOrByCalendarDays) {
    Absences c;
    c.Add("PKPRAC", {{"NR_PRAC", "000003"}, {"GRUPA_KAL", "01"}, {"ETAT_L", "1"}, {"ETAT_M", "2"}});
    Prepared p(c);
    const AbsenceEntry& e = *p.entry;
    auto propose = [&](const char* code, const char* number, int from, int to) {
        const QuantityProposal q =
            p.entry->Propose(*e.codes().Find(code), c.Who(number), 2026, 3, from, to);
        char t[64];
        std::snprintf(t, sizeof t, "%g %g%s", q.quantity, q.quantity2,
                      q.error.empty() ? "" : (" " + codepage::ToUtf8(q.error)).c_str());
        return std::string(t);
    };
    EXPECT_EQ(propose("UW", "000001", 6, 10), "3 0");   // Friday to Tuesday: 3 working days
    EXPECT_EQ(propose("UB", "000001", 6, 10), "5 40");  // unpaid: calendar days, hours beside
    EXPECT_EQ(propose("UB", "000003", 6, 10), "5 20");  // half time
    EXPECT_EQ(propose("NG", "000001", 2, 6), "40 0");   // a code in hours
    c.Add("PKPRAC", {{"NR_PRAC", "000005"}, {"GRUPA_KAL", "09"}});
    EXPECT_EQ(propose("UW", "000005", 2, 6), "0 0 Brak kalendarza");
}

TEST(AbsenceEntryData, TheYearlyLimitCountsTheYearUpToTheMonth) {
    Absences c;
    c.Code("UZ", "U", {{"LIMIT_NB", "4"}});
    c.Code("UX", "U", {{"LIMIT_NB", "\"x\""}});
    c.Code("UL", "U", {{"LIMIT_", "2"}});
    c.Absence("000001", 1, "UZ", 2, 3, 2);
    c.Absence("000001", 2, "UZ", 5, 7, 3);
    c.Absence("000001", 3, "UL", 9, 9, 1);
    Prepared p(c);
    p.host.LoadEmployee("000001", {2026, 3});
    const LimitState uz = p.entry->Limit(*p.entry->codes().Find("UZ"), "000001", {2026, 3});
    EXPECT_TRUE(uz.shown);
    EXPECT_TRUE(uz.exceeded);
    EXPECT_EQ(uz.Text(), "Narast.: 5.000   Limit: 4");
    const LimitState ul = p.entry->Limit(*p.entry->codes().Find("UL"), "000001", {2026, 3});
    EXPECT_TRUE(ul.shown);
    EXPECT_FALSE(ul.exceeded);
    EXPECT_EQ(
        codepage::ToUtf8(p.entry->Limit(*p.entry->codes().Find("UX"), "000001", {2026, 3}).error),
        "Błędny limit: UX");
    EXPECT_FALSE(p.entry->Limit(*p.entry->codes().Find("UW"), "000001", {2026, 3}).shown);
}

TEST(AbsenceEntryData, ALineIsReservedDeletedAndRecalledWithAQuantity) {
    Absences c;
    Prepared p(c);
    AbsenceLine l;
    EXPECT_EQ(p.entry->Reserve(c.Who("000001"), {2026, 3}, 1, &l), LineState::kNew);
    p.entry->Release();
    EXPECT_EQ(c.Records("PKNIEOB", "LP_"), (V{" 1*"}));
    EXPECT_EQ(p.entry->Reserve(c.Who("000001"), {2026, 3}, 1, &l), LineState::kDeleted);
    l.code = "UW";
    l.quantity = 2;
    p.entry->Accept(l);
    EXPECT_EQ(c.Records("PKNIEOB", "KOD_NIEOB"), (V{"UW"}));
    EXPECT_EQ(p.entry->Reserve(c.Who("000001"), {2026, 3}, 1, &l), LineState::kExisting);
    l.quantity = 0;
    p.entry->Accept(l);
    EXPECT_EQ(c.Records("PKNIEOB", "KOD_NIEOB"), (V{"UW*"}));
}

TEST(AbsenceEntryData, TheInsuranceFlagOfTheMonthIsCleared) {
    Absences c;
    dbf::WorkArea& ster = c.tables.Open("PKSTER");
    c.tables.RLock(ster);
    ster.record().SetLogical(ster.FieldIndex("AKT_ZUS"), true);
    ASSERT_TRUE(ster.Commit().ok());
    ster.Unlock();
    Prepared p(c);
    p.entry->ClearInsuranceFlag();
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (V{"F"}));
}

TEST(AbsenceEntryData, TheMonthIsRegeneratedForEveryEmployeeOrOne) {
    Absences c;
    c.Suspension("000001", "20260320", "");
    c.Suspension("000002", "20260301", "20260302");
    c.Computed("AX", 1, "1000");                                   // refused for each employee
    c.Add("PKPRAC", {{"NR_PRAC", "000009"}, {"OS_PRAWNA", "T"}});  // not an employee
    V reports;
    auto report = [&](const std::string& nr, const std::string& m) {
        reports.push_back(nr + " " + codepage::ToUtf8(m));
    };
    EXPECT_EQ(RegenerateMonth(c.h.rt, c.tables, "000002", report), 1);
    EXPECT_EQ(RegenerateMonth(c.h.rt, c.tables, "", report), 2);
    EXPECT_EQ(reports, (V{"000002 Błędna wartość: AX", "000001 Błędna wartość: AX",
                          "000002 Błędna wartość: AX"}));
    FormulaHost host(c.h.rt, c.tables);
    host.Prepare();
    AbsenceEntry entry(host, c.tables);
    EXPECT_EQ(c.Shown(entry, "000001"), (V{"1 ZAWU 2026.3 20-31 12 96"}));
    EXPECT_EQ(c.Shown(entry, "000002"), (V{"1 ZAWU 2026.3 1-2 2 16"}));
}

}  // namespace
}  // namespace kestrel::worktime
