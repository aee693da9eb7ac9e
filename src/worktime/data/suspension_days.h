// The days of a month that a suspension of the contract covers: the days
// for which the absence entry generates the line of the reason's code.
#pragma once

#include <optional>

#include "platform/base/dates.h"

namespace kestrel::worktime {

/// First and last day of the covered part of a month.
struct DayRange {
    int from = 0, to = 0;
    bool operator==(const DayRange&) const = default;
};

/// The days of `month` of `year` covered by a suspension from `start` to
/// `last` (empty while it lasts): from day 1, or the start day when it
/// began in the month, to the month's last day, or the last day of the
/// suspension when it ends in the month. Nothing when the suspension
/// began after the month, ended before it, has no start, or its last day
/// lies before its start.
std::optional<DayRange> SuspendedDays(const base::Date& start, const base::Date& last, int year,
                                      int month);

}  // namespace kestrel::worktime
