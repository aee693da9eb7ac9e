// QRMWSZMP: the history of one field of the employee record (F11 in the
// update), and the employee's change log (F4 there).
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_update.h"

namespace kestrel::registry {

/// The window " Historia zmian pola: " + `field` (a PKPRAC field name; the
/// scrambled ones by their stored names NAZWX_, IMIEX_, PESELX_): the value
/// before the update and after it ("Przed korektą:", "Po korekcie:"), or
/// "Bież.wartość:" when it did not change. For a field without history
/// "Historia zmian wartości tego pola" / "NIE podlega ewidencji"; otherwise
/// the remembered values (date "DO" and value, scrambled fields in clear):
/// Enter changes an entry, Insert adds one, Delete removes one. F4 opens
/// the change log. The screen is restored afterwards.
void FieldHistoryWindow(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas,
                        const EmployeeRecord& before, const EmployeeRecord& now,
                        const std::string& field);

/// The orders of the change log: by table, field, date and sequence (F5),
/// or by table, record, field and date (F6).
enum class LogOrder { kByField, kByRecord };
void SortLog(std::vector<LoggedChange>* log, LogOrder order);

/// " Wykaz korekt ": the change log of employee `number`, F5/F6 sorts, F1
/// the full old and new value of an entry, Esc leaves.
void ChangeLogWindow(common::Runtime& rt, dbf::WorkArea& ekprc, const std::string& number);

/// A remembered or logged value as the operator reads it: a scrambled
/// field's value in clear.
std::string ClearValue(const std::string& field, const std::string& stored);

}  // namespace kestrel::registry
