// The seniority allowances moved on when a new month is opened: an
// employee whose seniority date (DATA_STAZ) moved forward by the step of
// the control record (KROK_DOD_S years) falls in or before the new month
// gets the date moved by the step and the allowance (DOD_STAZ) raised by
// PR_DOD_S percent.
//
// The changes are planned over the whole register first and written only
// when the plan holds no error, so a wrong date never leaves the register
// half changed. Each employee's date and percentage change in one write of
// his record: planning again after a crash finds the employees already
// changed no longer due.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/base/dates.h"

namespace kestrel::payroll {

struct SeniorityChange {
    std::string number;  // NR_PRAC
    std::string name;    // surname and first names, CP852
    base::Date date_before, date_after;
    double percent_before = 0, percent_after = 0;
    uint32_t recno = 0;  // the record of PKPRAC
};

struct SeniorityPlan {
    std::vector<SeniorityChange> changes;  // by employee number
    /// CP852; "" when the plan may be applied: "Błędna data "stażowa": " +
    /// the date (YYYY-MM-DD) of the first employee whose date moved by twice
    /// the step still falls in or before the new month.
    std::string error;
};

/// Plans the changes for `month` over PKPRAC (opened through `tables`):
/// every record that is not deleted and has a seniority date. `step` is
/// KROK_DOD_S (above 0), `percent` PR_DOD_S.
SeniorityPlan PlanSeniority(common::Runtime& rt, common::Tables& tables, base::YearMonth month,
                            int step, double percent);

/// Writes the planned changes: each record locked, DATA_STAZ and DOD_STAZ
/// set, committed. A failed write abandons with "Błąd zapisu: PKPRAC".
void ApplySeniority(common::Runtime& rt, common::Tables& tables, const SeniorityPlan& plan);

/// "Skorygowano 1 dodatek stażowy"; for 2 to 4 changes "Skorygowano " +
/// the count + " dodatki stażowe"; otherwise "Skorygowano " + the count in
/// three characters + " dodatków stażowych". CP852.
std::string SeniorityCountText(common::Runtime& rt, int count);

/// The report of the changes, one line each (CP852): number, name, the
/// date and percentage before and after.
std::vector<std::string> SeniorityReport(common::Runtime& rt, const SeniorityPlan& plan);

}  // namespace kestrel::payroll
