#include "tools/demo_calendars.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"
#include "register/data/employee.h"
#include "tools/demo_company.h"
#include "worktime/data/calendar_hours_line.h"
#include "worktime/data/calendar_table.h"

namespace kestrel::tools {
namespace {

TEST(DemoCalendars, GroupOneWithItsHoursAndCalendarsOfThreeYearsForTheStaff) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_demo_calendars_" + std::to_string(::getpid()));
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 0, 0});
    ASSERT_TRUE(CreateDemoCompany(root.string(), clock).ok());
    const std::string dir = (root / "DEMO.PK").string();
    // A second run writes nothing twice.
    ASSERT_TRUE(AddDemoCalendars(dir, clock).ok());

    console::HeadlessBackend backend;
    console::Console con(backend);
    common::Runtime rt(con, clock);
    rt.set_data_dir(dir + "/");
    {
        common::Tables tables(rt);
        const std::optional<worktime::CalendarGroup> group =
            worktime::FindCalendarGroup(tables, "01");
        ASSERT_TRUE(group);
        EXPECT_EQ(codepage::ToUtf8(base::TrimRight(group->name)), "Podstawowa");
        EXPECT_FALSE(group->variable_time);
        EXPECT_EQ(worktime::HoursLine(*group, worktime::ReadGroupShifts(tables, "01")),
                  " Czas pracy: 07.00-15.00");

        dbf::WorkArea& kalen = worktime::OpenCalendars(tables);
        EXPECT_EQ(kalen.table().record_count(), 3u);
        for (int year : {2024, 2025, 2026, 2027, 2028}) {
            SCOPED_TRACE(year);
            const bool demo = year >= 2025 && year <= 2027;
            ASSERT_EQ(worktime::SeekCalendar(kalen, year, "01"), demo);
            if (demo) {
                EXPECT_EQ(worktime::ReadCalendar(kalen), worktime::PresetCalendar(year, "01"));
            }
        }
        ASSERT_TRUE(worktime::SeekCalendar(kalen, 2025, "01"));
        EXPECT_EQ(worktime::WorkingDays(worktime::ReadCalendar(kalen).months[11]), 20);

        // Every staff employee works by group 01, nobody else by a group.
        const registry::RegisterAreas areas = registry::OpenRegister(tables);
        dbf::WorkArea& prac = *areas.prac;
        int staff = 0;
        for (base::Status s = prac.GoTop(); s.ok() && !prac.eof(); s = prac.Skip(1)) {
            const registry::EmployeeRecord e = registry::ReadEmployee(prac);
            SCOPED_TRACE(e.number());
            const bool is_staff = e.kind() == registry::EmployeeKind::kStaff;
            staff += is_staff;
            EXPECT_EQ(e.Text("GRUPA_KAL"), is_staff ? "01" : "  ");
        }
        EXPECT_GE(staff, 10);
    }
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kestrel::tools
