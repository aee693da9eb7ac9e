// The statutory values of the control record that a new month brings:
// minimum wage and hourly rate, the minimum wage of the previous December,
// the annual ceiling of the pension base and the average pay of the last
// quarter of the previous year. They are shipped as data
// (data/statutory_values.txt, built into the program), one row per field,
// year and run of months.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/dates.h"

namespace kestrel::payroll {

/// One row: `field` of PKSTER takes `value` in months `first`..`last` of
/// `year`.
struct StatutoryRow {
    std::string field;
    int year = 0;
    int first = 0;
    int last = 0;
    double value = 0;
};

/// Reads rows "FIELD YEAR FIRST LAST VALUE" separated by blanks; lines that
/// are blank or begin with "#" are skipped. False, with "line N: reason" in
/// `*error`, for a malformed row (a month outside 1..12, FIRST after LAST,
/// a year outside 1900..9999, a value that is no number).
bool ParseStatutoryValues(std::string_view text, std::vector<StatutoryRow>* out,
                          std::string* error);

/// The shipped rows. A shipped table that does not parse is a build fault;
/// its test catches it, and the program then sees no rows.
std::vector<StatutoryRow> ShippedStatutoryValues();

/// The fields that `rows` set in month `m`, each with the value of the row
/// that covers it, in the order the fields first appear in `rows`; a field
/// that no row covers in `m` is left out (it keeps its value).
std::vector<std::pair<std::string, double>> StatutoryValuesFor(
    const std::vector<StatutoryRow>& rows, base::YearMonth m);

}  // namespace kestrel::payroll
