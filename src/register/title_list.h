// The list "Dodatkowe tytuły ubezpieczenia" under the insurance title of an
// employee, shared by the registration (screen 5) and the update (page 5).
//
// The list opens with the record's main title (TYTUL_PODM), valid from the
// employment date to the dismissal date (one day later; open without one).
// Lines 1, 2, … follow, each offering the stored PKKTYUB line of that number
// as its default. An empty title ends the list and deletes that line and
// every later one of the employee; a title already listed with an
// overlapping period is "Zdublowany tytuł ubezpieczenia" and the line is
// asked again. Every accepted line is stored at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/runtime.h"
#include "common/table_layer.h"
#include "register/employee_companions.h"
#include "register/employee_record.h"

namespace kestrel::registry {

/// How a list dialog ended.
enum class ListEnd { kDone, kEscape };

/// The main title of `employee` as the first line of the list (line 0).
InsuranceTitle MainTitleOf(const EmployeeRecord& employee);

/// Runs the list for `employee` over `ktyub` (PKKTYUB open with its indexes,
/// PKKTYUB1 controlling). The list's rows scroll between `top_row` (16, or
/// 19 when the page above needs the room) and row 20; the headings stand on
/// the row above. `written` is told the record number of every line stored.
/// Esc ends the list at once with kEscape; lines stored so far stay.
ListEnd EditTitles(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& ktyub,
                   const EmployeeRecord& employee, int top_row,
                   const std::function<void(uint32_t recno)>& written = nullptr);

}  // namespace kestrel::registry
