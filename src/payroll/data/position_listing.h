// The positions of a payroll list as comma-separated lines, for the
// administrator's tool: one line per visible position of PKPLACE.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// "list,employee,component,name,amount,POTRAC_,NIE_ALG,POZA_LISTA,AKT_DOCH".
std::string PositionsHeader();

/// The list key as the operator writes it: "YYYY/S/N" (the symbol without
/// its padding, the number without leading blanks).
std::string ListKeyText(const PayrollList& list);

/// The visible positions of `list` (only those of `employee`, six
/// characters, when not empty) by employee and component: the list as
/// ListKeyText, the employee, the component, its name from `components`
/// (quoted when it holds a comma or a quote), the amount with two decimals
/// and a point, and the four flags as T or F. Text stays CP852.
std::vector<std::string> PositionLines(common::Runtime& rt, common::Tables& tables,
                                       const PayrollList& list, std::string_view employee,
                                       const std::vector<Component>& components);

}  // namespace kestrel::payroll
