#include "worktime/data/monthly_schedule.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::worktime {
namespace {

using registry::testing::TestCompany;

Segment S(int fh, int fm, int th, int tm, std::string type = "  ") {
    return Segment{fh, fm, th, tm, std::move(type)};
}

std::string Shown(const SegmentRecord& r) {
    std::string out;
    for (size_t i = 0; i < 3; ++i) {
        if (!r.used[i]) continue;
        const Segment& s = r.segments[i];
        char text[32];
        std::snprintf(text, sizeof text, "%s%02d:%02d-%02d:%02d[%s]", out.empty() ? "" : " ",
                      s.from_hour, s.from_minute, s.to_hour, s.to_minute, s.type.c_str());
        out += text;
    }
    return out;
}

struct Company : TestCompany {
    Company() {
        Make("PKGRUPY",
             {{{"GRUPA_", "01"}, {"ZMIENNY_CZ", "F"}}, {{"GRUPA_", "02"}, {"ZMIENNY_CZ", "T"}}});
        Make("PKKALEN",
             {{{"ROK_", "2026"}, {"GRUPA_", "01"}, {"MC_02", "NW     NW     NW     NW     X"}}});
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
        Make("PKHARZM");
        Make("PKINGPR");
    }
};

TEST(MonthlySchedule, GroupsCalendarsAndTemplateShifts) {
    Company c;
    ScheduleTables t(c.tables);
    ASSERT_TRUE(FindGroup(t, "01"));
    EXPECT_FALSE(FindGroup(t, "01")->variable_time);
    EXPECT_TRUE(FindGroup(t, "02")->variable_time);
    EXPECT_FALSE(FindGroup(t, "03"));

    // February 2026 has 28 days: what the field holds past them is not a day.
    EXPECT_EQ(CalendarDays(t, 2026, "01", 2), "NW     NW     NW     NW     ");
    EXPECT_EQ(CalendarDays(t, 2026, "01", 3), std::string(31, ' '));
    EXPECT_FALSE(CalendarDays(t, 2027, "01", 2));
    EXPECT_FALSE(CalendarDays(t, 2026, "02", 2));

    EXPECT_EQ(Shown(*TemplateShift(t, "01", ' ')), "07:00-15:00[  ]");
    EXPECT_EQ(Shown(*TemplateShift(t, "02", 'B')), "14:00-22:00[  ] 22:00-23:30[01]");
    EXPECT_FALSE(TemplateShift(t, "02", 'A'));
    EXPECT_FALSE(TemplateShift(t, "01", 'B'));
}

TEST(MonthlySchedule, ShiftLettersOfDays) {
    Company c;
    {
        ScheduleTables t(c.tables);
        EXPECT_EQ(ShiftOf(t, "000001", "20260203"), ' ');
        SetShift(t, "000001", "20260203", "02", 'A');
        SetShift(t, "000001", "20260204", "02", 'B');
        SetShift(t, "000002", "20260203", "02", 'C');
        SetShift(t, "000001", "20260203", "02", 'B');  // changed, not added
        EXPECT_EQ(ShiftOf(t, "000001", "20260203"), 'B');
        EXPECT_EQ(ShiftOf(t, "000002", "20260203"), 'C');
        SetShift(t, "000001", "20260204", "02", ' ');  // back to none
        EXPECT_EQ(ShiftOf(t, "000001", "20260204"), ' ');
        SetShift(t, "000001", "20260204", "02", 'A');  // reuses the deleted record
    }
    EXPECT_EQ(c.Records("PKHARZM", "ZMIANA_"), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(c.Records("PKHARZM", "GRUPA_"), (std::vector<std::string>{"02", "02", "02"}));
    EXPECT_EQ(c.Records("PKHARZM", "DATA_"),
              (std::vector<std::string>{"20260203", "20260204", "20260203"}));
}

TEST(MonthlySchedule, IndividualDaysWrittenReadAndDeleted) {
    Company c;
    ScheduleTables t(c.tables);
    EXPECT_FALSE(ReadIndividualDay(t, "000001", "20260203"));

    IndividualDay two;
    two.segments.segments = {S(6, 0, 10, 30), S(11, 0, 14, 15, "01"), S(1, 2, 3, 4, "02")};
    two.segments.used = {true, true, false};
    WriteIndividualDay(t, "000001", "20260203", two);
    IndividualDay free;
    free.free = true;
    WriteIndividualDay(t, "000001", "20260204", free);
    WriteIndividualDay(t, "000002", "20260203", two);
    WriteIndividualDay(t, "000001", "20260301", two);

    const auto read = ReadIndividualDay(t, "000001", "20260203");
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->free);
    // The third segment was not in use: nothing of it is stored.
    EXPECT_EQ(Shown(read->segments), "06:00-10:30[  ] 11:00-14:15[01]");
    EXPECT_EQ(read->segments.segments[2].from_hour, 0);
    EXPECT_TRUE(ReadIndividualDay(t, "000001", "20260204")->free);

    // Rewriting the day changes its record.
    IndividualDay one;
    one.segments.segments[0] = S(8, 0, 16, 0);
    WriteIndividualDay(t, "000001", "20260203", one);
    EXPECT_EQ(Shown(ReadIndividualDay(t, "000001", "20260203")->segments), "08:00-16:00[  ]");
    EXPECT_EQ(c.Records("PKINGPR", "NR_PRAC").size(), 4u);

    EXPECT_TRUE(DeleteIndividualDay(t, "000001", "20260204"));
    EXPECT_FALSE(DeleteIndividualDay(t, "000001", "20260204"));
    EXPECT_FALSE(ReadIndividualDay(t, "000001", "20260204"));

    // The month of one employee goes; the other employee and month stay.
    WriteIndividualDay(t, "000001", "20260228", free);
    EXPECT_EQ(DeleteIndividualMonth(t, "000001", 2026, 2), 2);
    EXPECT_FALSE(ReadIndividualDay(t, "000001", "20260203"));
    EXPECT_FALSE(ReadIndividualDay(t, "000001", "20260228"));
    EXPECT_TRUE(ReadIndividualDay(t, "000002", "20260203"));
    EXPECT_TRUE(ReadIndividualDay(t, "000001", "20260301"));
    EXPECT_EQ(DeleteIndividualMonth(t, "000001", 2026, 2), 0);
    // A day written again reuses its deleted record.
    WriteIndividualDay(t, "000001", "20260228", two);
    EXPECT_EQ(
        c.Records("PKINGPR", "DATA_"),
        (std::vector<std::string>{"20260203*", "20260204*", "20260203", "20260301", "20260228"}));
}

}  // namespace
}  // namespace kestrel::worktime
