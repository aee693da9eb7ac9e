// The schedule time functions of the formula language: CZASPR379,
// CZASNOMIN, CZASNADLI and CZASPOZOS, over the current record of PKSZMIA or
// PKINGPR.
#pragma once

#include "platform/dbf/work_area.h"
#include "platform/formula/runtime.h"

namespace kestrel::worktime {

/// The work area the schedule functions read: the current work area when
/// it is open as PKSZMIA or PKINGPR, else the area open under the alias
/// PKSZMIA, else the one open as PKINGPR; nullptr when none is open. Its
/// current record is the record of the functions; at the end of file (an
/// empty table, a failed seek) there is none.
dbf::WorkArea* ScheduleArea(dbf::Workspace& ws);

/// Registers the four functions with `rt`; they read the areas of `ws`
/// (the workspace of the runtime's TableHost), which must outlive every
/// evaluation. None takes arguments (extra ones are ignored):
///   CZASPR379()  the total as text "HH:MM"; "     " (five blanks) without
///                a record; "BŁĄD!" when a time is out of range or two
///                segments in use overlap.
///   CZASNOMIN()  minutes of the segments with a blank type of work;
///   CZASNADLI()  minutes of the segments of type "01";
///   CZASPOZOS()  minutes of the segments of any other type;
///                each -1 on such an error or without a record.
void RegisterScheduleFunctions(formula::Runtime& rt, dbf::Workspace& ws);

}  // namespace kestrel::worktime
