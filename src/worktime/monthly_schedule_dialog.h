// 3.A: the monthly schedule of working time of an employee.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// "3.A. Miesięczny harmonogram czasu pracy" over the tables opened through
/// `tables`: "Rok.mc:", "Pracownik:", then the days of the month in a list
/// beside the box of the current day. Keys of the list: Enter edits the
/// day (the shift letter of a variable-time group's template day, the
/// hours of an individual day); F1 gives the day individual hours
/// (starting from the template's) or returns it to the template; F8 makes
/// a working day an individual free day, and a free day (by the calendar or
/// individually) a working day with the hours read; Ctrl+Del asks
/// "Kasować własny harmonogram?" and removes the individual hours of the
/// month; F11 or Esc another employee; F12 another month.
void MonthlySchedule(common::Runtime& rt, common::Tables& tables);

/// QRM3A: the dialog with tables of its own, when NAGLHARMON is set;
/// otherwise "Harmonogramy nie są prowadzone" and back.
void Qrm3A(common::Runtime& rt);

}  // namespace kestrel::worktime
