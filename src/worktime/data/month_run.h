// The computed codes of the settlement month for one employee or for all:
// what F10 of the working-time entry does for one employee, run over the
// register without a screen (kestrel-tool, bulk recomputation).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"

namespace kestrel::worktime {

struct MonthRunResult {
    int employees = 0;  // employees computed
    int failed = 0;     // of them, stopped by a message
};

/// Computes the codes of the settlement month of PKSTER for employee
/// `number`, or for every employee of PKPRAC but legal persons when it is
/// empty. `report` receives each message that stopped an employee (the
/// number and the CP852 text, user-function messages with an empty
/// number); the employees after it are still computed. Abandons as the
/// formula host does on a symbol that cannot be a variable.
MonthRunResult ComputeMonth(
    common::Runtime& rt, common::Tables& tables, std::string_view number,
    const std::function<void(const std::string& number, const std::string& message)>& report);

}  // namespace kestrel::worktime
