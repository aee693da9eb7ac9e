#include "worktime/data/schedule_functions.h"

#include "worktime/data/schedule_record.h"
#include "worktime/data/segments.h"

namespace kestrel::worktime {
namespace {

using formula::Call;
using formula::Value;

bool IsScheduleAlias(const dbf::WorkArea& area) {
    return area.alias() == "PKSZMIA" || area.alias() == "PKINGPR";
}

// The time of the functions' record; false when there is no record.
bool MeasureCurrent(dbf::Workspace& ws, SegmentTime* time) {
    dbf::WorkArea* area = ScheduleArea(ws);
    if (area == nullptr || area->eof()) return false;
    *time = MeasureSegments(ReadSegmentRecord(area->record()));
    return true;
}

// A minutes function: the part of the time it counts, -1 on error or
// without a record.
template <int SegmentTime::*part>
void RegisterMinutes(formula::Runtime& rt, dbf::Workspace& ws, const char* name) {
    rt.RegisterFunction(name, [&ws](Call& c) {
        SegmentTime time;
        const bool have = MeasureCurrent(ws, &time);
        c.result = Value::Number(have && time.valid ? time.*part : -1);
        return true;
    });
}

}  // namespace

dbf::WorkArea* ScheduleArea(dbf::Workspace& ws) {
    dbf::WorkArea* current = ws.current();
    if (current != nullptr && IsScheduleAlias(*current)) return current;
    if (dbf::WorkArea* szmia = ws.Find("PKSZMIA")) return szmia;
    return ws.Find("PKINGPR");
}

void RegisterScheduleFunctions(formula::Runtime& rt, dbf::Workspace& ws) {
    const std::string blank(5, ' ');
    rt.RegisterFunction("CZASPR379", [&ws, blank](Call& c) {
        SegmentTime time;
        c.result = Value::String(MeasureCurrent(ws, &time) ? TotalText(time) : blank);
        return true;
    });
    RegisterMinutes<&SegmentTime::nominal>(rt, ws, "CZASNOMIN");
    RegisterMinutes<&SegmentTime::overtime>(rt, ws, "CZASNADLI");
    RegisterMinutes<&SegmentTime::other>(rt, ws, "CZASPOZOS");
}

}  // namespace kestrel::worktime
