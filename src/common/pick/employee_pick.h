// The employee pick window of PKPRAC: the register sorted by number or by
// surname, opened from an employee-number field.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"

namespace kestrel::common {

/// The "NIE DOTYCZY" column of the calling list for the current employee
/// of `prac` (up to 11 characters, CP852); none leaves the column blank.
using EmployeeMarker = std::function<std::string(dbf::WorkArea& prac)>;

/// The employee pick window. `typed` (what the number field holds) is
/// trimmed and padded on the left with "0" to six characters and sought
/// softly by number; the window opens with that employee current and the
/// one before it above. PKPRAC is opened through `tables` with PKPRAC1 and
/// PKPRAC2 unless it is open there already (then it must have both index
/// files). Keys: Esc leaves; Enter types the number into the calling field
/// (see TypeIntoField); F1 shows the employee's main data; F2 seeks a
/// number or a surname prefix; F5 and F6 sort by number and by surname.
/// F3, F4, F10, the screen, the colour and the selected work area with its
/// order are restored afterwards, and PKPRAC is left in number order.
/// Returns true when a number was given. `legend` replaces the hints row
/// of the window (UTF-8) for a caller whose Enter means more than taking
/// the number; empty gives the usual row.
bool PickEmployee(Runtime& rt, Tables& tables, std::string_view typed,
                  const EmployeeMarker& marker = nullptr, std::string_view legend = {});

/// The surname and first names of the current employee, unscrambled, as
/// "SURNAME FIRST NAMES" (trimmed, one blank between).
std::string EmployeeName(dbf::WorkArea& prac);

/// A read-only screen of the main data of the current employee of `prac`,
/// until a key is pressed; the screen is restored afterwards.
void ShowEmployeeSummary(Runtime& rt, dbf::WorkArea& prac);

}  // namespace kestrel::common
