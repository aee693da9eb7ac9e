// Which components apply to an employee on a list: the one rule the
// recalculation and the component entry both follow. A component that does
// not apply gets no position (the recalculation deletes one, even an entered
// amount).
#pragma once

#include <string>
#include <string_view>

#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// What the rule needs of the employee (register fields).
struct EmployeeFacts {
    char group = ' ';   // GRUPA_ALG
    std::string hired;  // DATA_ZATR "YYYYMMDD", "" when empty
};

/// What the rule needs of the list: its symbol's record and its month.
struct ListFacts {
    ListSymbol symbol;
    std::string year;   // ROK_LST "YYYY"
    std::string month;  // MC_LST "01".."12"
};

/// Whether TYP_LISTY `list_kinds` (comma-separated tokens of one or two
/// characters) names the list symbol `symbol` (2 characters): blank names
/// every symbol; a token is trimmed and padded with a blank to two
/// characters before it is compared, so "A" names "A ".
bool NamesListSymbol(std::string_view list_kinds, std::string_view symbol);

/// Which condition of the rule a component fails, the first in this order.
enum class Misfit {
    kNone,
    kListSymbol,  // TYP_LISTY does not name the list's symbol
    kListKind,    // OS_PRAWNA / BEZOSOB_FP against the list symbol's
    kGroup,       // GRUPA_ALG against the employee's group
    kHired,       // the employee hired after the list's month
};

/// The rule, condition by condition; kNone when component `c` applies to
/// employee `e` on list `l`:
/// - kListSymbol: TYP_LISTY blank or naming the list's symbol, or the
///   component of kind "I";
/// - kListKind: on a list for legal persons the component has OS_PRAWNA; on
///   any other list it lacks OS_PRAWNA and its BEZOSOB_FP equals the
///   symbol's;
/// - kGroup: GRUPA_ALG blank or the employee's group, or the component for
///   legal persons (OS_PRAWNA), or of kind "I";
/// - kHired: the employee hired in or before the list's month (an empty
///   hire date is before every month).
Misfit MisfitOf(const Component& c, const ListFacts& l, const EmployeeFacts& e);

/// Whether component `c` applies to employee `e` on list `l`: no condition
/// of MisfitOf() fails.
bool Applies(const Component& c, const ListFacts& l, const EmployeeFacts& e);

}  // namespace kestrel::payroll
