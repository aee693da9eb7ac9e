// The list "Dodatkowe tytuły ubezpieczenia" under the insurance title page
// of the employee record: the main title of the record first, then the
// additional titles of PKKTYUB line by line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "register/data/employee_companions.h"
#include "register/employee_pages.h"

namespace kestrel::registry {

/// The main title of the record as the first entry of the list: valid from
/// DATA_ZATR to DATA_ZWOLN (one day later when a dismissal date exists;
/// open when empty). Its line is 0.
InsuranceTitle MainTitle(const EmployeeRecord& employee);

/// Entry of the list, line by line from line 1, each line proposing the
/// stored title of its number. A line takes the title (four digits, checked
/// against PKTYTUB) and its period (start not empty, end empty or not
/// before it); a title equal to a listed one with an overlapping period
/// gives "Zdublowany tytuł ubezpieczenia" and the line is asked again. Each
/// accepted line is written at once (its record number added to
/// `*written`). An empty title ends the list and deletes that line and every
/// later one. Returns false when the operator pressed Esc (the lines
/// written so far stay written; the caller gives the record up).
bool EnterTitles(PageContext& ctx, dbf::WorkArea& ktyub, const EmployeeRecord& employee,
                 std::vector<uint32_t>* written);

/// The list read-only (rows 14-20), as many lines as fit.
void ShowTitles(PageContext& ctx, dbf::WorkArea& ktyub, const EmployeeRecord& employee);

}  // namespace kestrel::registry
