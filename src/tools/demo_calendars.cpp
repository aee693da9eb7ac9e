#include "tools/demo_calendars.h"

#include "common/session/abandon.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/codepage/cp852.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"
#include "worktime/data/calendar_table.h"

namespace kestrel::tools {

base::Status AddDemoCalendars(const std::string& dir, const base::Clock& clock) {
    console::HeadlessBackend backend;
    console::Console con(backend);
    common::Runtime rt(con, clock);
    rt.set_data_dir(dir.empty() || dir.back() == '/' ? dir : dir + "/");
    try {
        common::Tables tables(rt);
        dbf::WorkArea& kalen = worktime::OpenCalendars(tables);
        for (int year : kDemoCalendarYears) {
            if (worktime::SeekCalendar(kalen, year, "01")) continue;
            worktime::WriteCalendar(tables, kalen, worktime::PresetCalendar(year, "01"));
        }
    } catch (const common::Abandon& a) {
        return base::Status::IOError(codepage::ToUtf8(a.message()));
    }
    return base::Status::Ok();
}

}  // namespace kestrel::tools
