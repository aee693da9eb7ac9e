// The rules of an absence line that need no table: the line number
// proposed, the overlap of days, the collision text, the reporting month
// accepted for the insurance office, the bounds of the quantities and
// whether a computed entry fits a line of PKNIEOB.
#pragma once

#include <string>

#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

/// The line number proposed after `last` (the highest so far, 0 for none):
/// one more, 100 wrapping to 1.
int ProposedLineNumber(int last);

/// Whether days `from`-`to` and `other_from`-`other_to` of one month
/// overlap: the other's first or last day lies inside the range, or the
/// other's range contains it.
bool DaysOverlap(int from, int to, int other_from, int other_to);

/// A line of PKNIEOB named by its entry month and number.
struct LineRef {
    int year = 0, month = 0;  // ROK_, MIESIAC_
    int line = 0;             // LP_
};

/// The warning for a collision with `other` while entering lines of
/// `entry`: "Od-Do sprzeczne z poz.:" + the line number when `other` was
/// entered in that month, else "Od-Do sprzeczne z: " + its year "." month
/// + "  poz.:" + the line number (numbers two wide).
std::string CollisionText(const LineRef& other, const SettlementMonth& entry);

/// The configuration that widens the reporting months accepted.
struct ReportingRules {
    bool previous = false;   // NAGLWPPM: the month before the settlement month
    bool two_ahead = false;  // NAGLMCWYP2: two months after it
};

/// Whether `year`.`month` may be the reporting month ("Rok.m-c ZUS:") of a
/// line entered in `settlement`: the same month or the next, two months
/// later with `two_ahead`, the month before with `previous`, across year
/// ends alike; never a month outside 1-12.
bool ReportingMonthAccepted(const SettlementMonth& settlement, int year, int month,
                            const ReportingRules& rules);

/// The month after `m` (the reporting month of an employee reported the
/// month after).
SettlementMonth NextMonth(const SettlementMonth& m);

/// What the operator may type as quantities of a line of a calendar month
/// of `days` days: days from 0 to `days` (whole unless `fractional`), or
/// hours (`in_hours`) from 0 to `days` x `hours_per_day`; the second
/// quantity from 0 to `days` x `hours_per_day`.
struct QuantityBounds {
    double max_quantity = 0, max_quantity2 = 0;
    bool whole = true;

    QuantityBounds(bool in_hours, bool fractional, int days, double hours_per_day);
    bool QuantityFits(double q) const;
    bool Quantity2Fits(double q) const;
};

/// Whether a computed entry can be written as a line: both quantities fit
/// N7.3 (-99.999 to 999.999), the days are 0-0 or lie within 1-`days`
/// with the first not after the last, the percentage lies in 0-999.
bool FitsLine(double quantity, double quantity2, int from, int to, int days, double percentage);

}  // namespace kestrel::worktime
