#include "worktime/printouts/data/month_report.h"

#include <gtest/gtest.h>

#include "worktime/printouts/data/report_test_support.h"

namespace kestrel::worktime {
namespace {

using testing::ReportCompany;

std::vector<std::string> Numbers(const MonthReport& r) {
    std::vector<std::string> out;
    for (const ReportEmployee& e : r.employees) out.push_back(e.number);
    return out;
}

TEST(MonthReport, StaffEmployedInTheMonthWithinTheRangeAndDepartment) {
    ReportCompany c;
    struct Case {
        const char *from, *to, *department;
        std::vector<std::string> want;
    };
    // 000003 is not on the staff, 000004 left before March, 000005 comes in
    // April, 000007 is a legal person; 000006 leaves in the middle of March.
    const Case cases[] = {
        {"000001", "999999", "", {"000001", "000002", "000006"}},
        {"000001", "999999", "PROD", {"000001"}},
        {"000001", "999999", "ADM ", {"000002", "000006"}},
        {"000002", "000006", "", {"000002", "000006"}},
        {"000003", "000005", "", {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.from) + "-" + k.to + " " + k.department);
        ReportOptions o = ReportCompany::March();
        o.from = k.from;
        o.to = k.to;
        o.department = k.department;
        EXPECT_EQ(Numbers(c.Read(o)), k.want);
    }
}

TEST(MonthReport, AnEmployeeWithTheCalendarLinesAndTheAbsencesCoveringTheMonth) {
    ReportCompany c;
    const MonthReport r = c.Read(ReportCompany::March());
    ASSERT_FALSE(r.employees.empty());
    const ReportEmployee& e = r.employees[0];
    EXPECT_EQ(codepage::ToUtf8(e.name), "Żółkiewski Stanisław");
    EXPECT_EQ(e.department_name, "Produkcja");
    EXPECT_EQ(r.days_in_month, 31);
    EXPECT_EQ(e.days, PresetCalendar(2026, "01").months[2]);
    ASSERT_EQ(e.lines.size(), 3u);
    // The lines of March, whichever month they were entered in, by code.
    ASSERT_EQ(e.absences.size(), 2u);
    EXPECT_EQ(e.absences[0].code, "CH");
    EXPECT_EQ(e.absences[1].code, "UW");
    EXPECT_EQ(MonthReport::AbsenceOn(e, 1), "");
    EXPECT_EQ(MonthReport::AbsenceOn(e, 3), "UW");
    EXPECT_EQ(MonthReport::AbsenceOn(e, 16), "CH");
    EXPECT_EQ(MonthReport::AbsenceOn(e, 20), "CH");
    EXPECT_EQ(MonthReport::AbsenceOn(e, 21), "");
    EXPECT_EQ(MonthReport::AbsenceOn(e, 9), "");  // the February line
    EXPECT_TRUE(r.absence.at("NG").in_hours);
    EXPECT_EQ(r.work.at("N50").type, 'N');
}

TEST(MonthReport, AGroupWithoutACalendarOfTheYearHasNoDays) {
    ReportCompany c;
    ReportOptions o = ReportCompany::March();
    o.year = 2027;
    const MonthReport r = c.Read(o);
    ASSERT_FALSE(r.employees.empty());
    EXPECT_TRUE(r.employees[0].days.empty());
    EXPECT_TRUE(r.employees[0].lines.empty());
}

}  // namespace
}  // namespace kestrel::worktime
