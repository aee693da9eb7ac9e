#include "worktime/data/calendar_table.h"

#include <gtest/gtest.h>

#include "test_company.h"
#include "worktime/data/calendar_hours_line.h"

namespace kestrel::worktime {
namespace {

using registry::testing::Row;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

// The raw field of the first record of PKKALEN with `year`.
std::string StoredMonth(TestCompany& c, int year, const char* field) {
    std::unique_ptr<dbf::Table> t;
    EXPECT_TRUE(dbf::Table::Open(c.dir.File("PKKALEN.DBF"), {}, &t).ok());
    std::string out = "?";
    t->Scan(1, [&](uint32_t, const dbf::Record& r) {
        if (!r.deleted() && static_cast<int>(r.GetNumber(t->FieldIndex("ROK_"))) == year)
            out = r.GetString(t->FieldIndex(field));
        return base::Status::Ok();
    });
    return out;
}

TEST(CalendarTable, AWrittenCalendarIsFoundByYearAndGroupAndReadBackWhole) {
    TestCompany c;
    c.Make("PKKALEN");
    dbf::WorkArea& kalen = OpenCalendars(c.tables);
    Calendar cal = PresetCalendar(2025, "01");
    cal.SetDay(5, 2, kFreeDay);
    WriteCalendar(c.tables, kalen, cal);
    WriteCalendar(c.tables, kalen, PresetCalendar(2025, "02"));
    WriteCalendar(c.tables, kalen, PresetCalendar(2024, "01"));

    ASSERT_TRUE(SeekCalendar(kalen, 2025, "01"));
    EXPECT_EQ(ReadCalendar(kalen), cal);
    EXPECT_FALSE(SeekCalendar(kalen, 2026, "01"));
    EXPECT_FALSE(SeekCalendar(kalen, 2025, "1"));

    // February of a common year stores 28 characters and a blank; of a leap
    // year 29.
    EXPECT_EQ(StoredMonth(c, 2025, "MC_02"), PresetCalendar(2025, "01").months[1] + " ");
    EXPECT_EQ(StoredMonth(c, 2024, "MC_02").size(), 29u);
    EXPECT_EQ(StoredMonth(c, 2024, "MC_02"), PresetCalendar(2024, "01").months[1]);
    EXPECT_EQ(StoredMonth(c, 2025, "MC_04").size(), 30u);
}

TEST(CalendarTable, RewritingChangesTheOneRecordAndDeletingReusesItLater) {
    TestCompany c;
    c.Make("PKKALEN");
    dbf::WorkArea& kalen = OpenCalendars(c.tables);
    Calendar cal = PresetCalendar(2026, "01");
    WriteCalendar(c.tables, kalen, cal);
    cal.SetDay(1, 2, kFreeDay);
    WriteCalendar(c.tables, kalen, cal);
    EXPECT_EQ(c.Records("PKKALEN", "GRUPA_"), V{"01"});
    EXPECT_EQ(StoredMonth(c, 2026, "MC_01")[1], 'W');

    EXPECT_TRUE(DeleteCalendar(c.tables, kalen, 2026, "01"));
    EXPECT_FALSE(DeleteCalendar(c.tables, kalen, 2026, "01"));
    EXPECT_FALSE(SeekCalendar(kalen, 2026, "01"));
    EXPECT_EQ(c.Records("PKKALEN", "GRUPA_"), V{"01*"});

    WriteCalendar(c.tables, kalen, PresetCalendar(2026, "01"));
    EXPECT_EQ(c.Records("PKKALEN", "GRUPA_"), V{"01"});  // the deleted one again
    ASSERT_TRUE(SeekCalendar(kalen, 2026, "01"));
    EXPECT_EQ(ReadCalendar(kalen), PresetCalendar(2026, "01"));
}

TEST(CalendarTable, GroupsAreLookedUpWithTheirKindOfWorkingTime) {
    TestCompany c;
    c.Make("PKGRUPY", {{{"GRUPA_", "01"}, {"NAZWA_", "Podstawowa"}, {"ZMIENNY_CZ", "F"}},
                       {{"GRUPA_", "Z"}, {"NAZWA_", "Zmianowa"}, {"ZMIENNY_CZ", "T"}}});
    const std::optional<CalendarGroup> basic = FindCalendarGroup(c.tables, "01");
    ASSERT_TRUE(basic);
    EXPECT_EQ(base::TrimRight(basic->name), "Podstawowa");
    EXPECT_FALSE(basic->variable_time);
    const std::optional<CalendarGroup> shifts = FindCalendarGroup(c.tables, "Z");
    ASSERT_TRUE(shifts);
    EXPECT_EQ(shifts->code, "Z ");
    EXPECT_TRUE(shifts->variable_time);
    EXPECT_FALSE(FindCalendarGroup(c.tables, "02"));
    EXPECT_FALSE(FindCalendarGroup(c.tables, "0"));
}

Row Shift(const char* group, const char* letter, const char* from, const char* to,
          const char* type = "") {
    return {{"GRUPA_", group},
            {"ZMIANA_", letter},
            {"OD_GODZ", std::string(from).substr(0, 2)},
            {"OD_MIN", std::string(from).substr(3, 2)},
            {"GODZ_DO", std::string(to).substr(0, 2)},
            {"MIN_DO", std::string(to).substr(3, 2)},
            {"TYP_PRACY", type}};
}

TEST(CalendarHoursLine, FixedTimeShowsTheBlankShiftAndVariableTimeEveryShift) {
    TestCompany c;
    Row two = Shift("01", "", "07:00", "15:00");
    two.insert(two.end(), {{"ZAKRES_2", "T"},
                           {"OD_GODZ_2", "15"},
                           {"OD_MIN_2", "30"},
                           {"GODZ_DO_2", "17"},
                           {"MIN_DO_2", "05"},
                           {"TYP_PRACY2", "01"}});
    // Segment 3 is filled but not in use.
    two.insert(two.end(), {{"OD_GODZ_3", "20"}, {"GODZ_DO_3", "21"}});
    c.Make("PKSZMIA", {Shift("02", "B", "14:00", "22:00"), two, Shift("01", "A", "06:00", "14:00"),
                       Shift("02", "", "08:00", "16:00"), Shift("02", "A", "06:00", "14:00"),
                       Shift("03", "A", "22:00", "06:00", "02")});
    const struct {
        const char* group;
        bool variable;
        const char* line;
    } cases[] = {
        {"01", false, " Czas pracy: 07.00-15.00, 15.30-17.05 01"},
        {"02", false, " Czas pracy: 08.00-16.00"},
        {"03", false, " Czas pracy: "},  // no blank shift
        {"04", false, " Czas pracy: "},
        {"02", true, " : 08.00-16.00, A: 06.00-14.00, B: 14.00-22.00"},
        {"03", true, "A: 22.00-06.00 02"},
        {"04", true, ""},
    };
    for (const auto& k : cases) {
        CalendarGroup g{k.group, "", k.variable};
        EXPECT_EQ(HoursLine(g, ReadGroupShifts(c.tables, k.group)), k.line) << k.group;
    }
}

}  // namespace
}  // namespace kestrel::worktime
