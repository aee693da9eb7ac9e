// The employment periods of one employee and title in a month (PKOKRES):
// each day of the month gets the working-time fraction in force that day,
// and runs of days with the same value become periods.
#pragma once

#include <vector>

#include "platform/base/dates.h"

namespace kestrel::insurance {

/// An old value of ETAT_L or ETAT_M from the change history (PKZMPRC): in
/// force on the days up to and including `until` (DATA_DO).
struct FractionChange {
    bool numerator = true;  // ETAT_L, else ETAT_M
    base::Date until;
    double value = 0;
};

/// A run of absence days (DZ_ROZP .. DZ_ZAK) of a code that interrupts
/// employment (LISTA_NB).
struct AbsenceDays {
    int first = 0;
    int last = 0;
};

struct PeriodFacts {
    int year = 0;
    int month = 0;
    base::Date hired;      // DATA_ZATR; empty: employed from the start
    base::Date dismissed;  // DATA_ZWOLN; empty: not dismissed
    double numerator = 0;  // ETAT_L of the register
    double denominator = 0;
    std::vector<FractionChange> changes;  // only those dated in the month count
    std::vector<AbsenceDays> absences;
};

struct EmploymentPeriod {
    base::Date from;
    base::Date to;
    int value = 0;  // WYMIAR_L; WYMIAR_M is 100

    bool operator==(const EmploymentPeriod&) const = default;
};

/// The day's value is YROUND(L / M, 2) * 100 for the L and M in force (a
/// zero M gives 0); a day before the hire date, after the dismissal date or
/// on an interrupting absence, and a value not above 0 or above 999, is not
/// employed. The periods are the runs of consecutive employed days with
/// one value, in date order.
std::vector<EmploymentPeriod> EmploymentPeriods(const PeriodFacts& facts);

}  // namespace kestrel::insurance
