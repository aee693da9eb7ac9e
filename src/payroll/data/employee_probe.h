// One employee on one list as a recalculation sees him before his first
// component is computed: what `kestrel-tool eval --company` evaluates
// formulas over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "payroll/data/payroll_host.h"

namespace kestrel::payroll {

/// The list of `key` in PKLISTY: the year (4 characters), the symbol and the
/// number, with or without the blanks of the stored key ("2024A    1",
/// "2024A 1", "2024LP12"); an empty key means the first open list. False
/// when there is no such list.
bool FindProbeList(common::Tables& tables, std::string_view key, PayrollList* out);

/// Prepares `host` for a run (PrepareRun(); its messages go to `messages`),
/// finds the list of `key` (FindProbeList) and makes it PKLISTY's current record,
/// and loads employee `number` of the register for it: his record of PKPRAC
/// current, the context A0. False with the reason in `message` (CP852):
/// "Brak aktywnej listy plac" when no list is open and none was named,
/// "no list " + the key when the named one does not exist, "no employee "
/// + the number when the register has no such employee.
bool LoadForProbe(PayrollHost& host, std::string_view number, std::string_view key,
                  std::vector<std::string>* messages, std::string* message);

}  // namespace kestrel::payroll
