// The insurance titles of one employee in a month: which four-character
// title codes the transfer declares him under, and the six-character title
// each record carries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/dates.h"

namespace kestrel::insurance {

/// One title of the employee with its period; an empty date is open (no
/// start, no end).
struct TitlePeriod {
    std::string code;  // TYTUL_PODM, four characters
    base::Date from;
    base::Date to;
};

/// What the titles of an employee are made of: the main title of the
/// register (TYTUL_PODM, valid from DATA_ZATR to the day after DATA_ZWOLN
/// when that is set) and the rows of PKKTYUB in their order.
struct EmployeeTitles {
    std::string main;  // TYTUL_PODM, four characters (blank when none)
    base::Date hired;
    base::Date dismissed;
    std::vector<TitlePeriod> extra;
};

/// The four-character codes the transfer handles for `titles` in month
/// `first_day` (its first day): the main title first, then the additional
/// ones in their order, each code once; an additional title whose end date
/// plus 31 days lies before `first_day` is dropped; four blanks (no title)
/// last, always. False when one code is given twice with overlapping
/// periods ("Zdublowany tytuł ubezpieczenia").
bool ResolveTitles(const EmployeeTitles& titles, const base::Date& first_day,
                   std::vector<std::string>* codes);

/// The six-character title of a record: the code, then TYTUL_EMER and
/// TYTUL_STNP of the employee; six blanks for the blank code. An employee
/// who left before the month (`left_before`) is declared under titles of
/// groups "01" and "04" as "3000" followed by the two characters (the
/// algorithms and checks stay those of the code's own group).
std::string InsuranceTitle(std::string_view code, char pension, char disability, bool left_before);

/// Whether TYTUL_EMER and TYTUL_STNP are of the codes a title group allows
/// ("012" and "0123").
bool AllowedCodes(char pension, char disability);

}  // namespace kestrel::insurance
