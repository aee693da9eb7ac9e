// The list of standing allowances and deductions of an employee (PKDOD)
// under the record pages: entry line by line (QRMREJDOD) and the read-only
// list.
#pragma once

#include <cstdint>
#include <vector>

#include "register/data/employee_companions.h"
#include "register/employee_pages.h"

namespace kestrel::registry {

/// How the value of an allowance symbol is entered, from its PKSRDOD entry:
/// a yes/no switch stored as 1 or 0, an amount, or else a percent.
enum class AllowanceValue { kSwitch, kAmount, kPercent };
AllowanceValue ValueKindOf(common::Tables& tables, std::string_view symbol);

/// Entry of the lines: the line number (proposed one above the highest,
/// 1-99), the symbol (a letter and up to three letters or digits, checked
/// against PKSRDOD and the other lines), whether it is limited in time
/// (forced when another line has the symbol with a limit), the month range
/// (years 1991-2050; a range overlapping another line of the symbol is
/// refused) and the value, never negative. Each line is written at once.
/// F10 on the line number ends the list; F10 on the symbol goes back to the
/// line number. `registration` deletes the earlier lines of the number
/// first. Returns false on Esc (the lines written so far stay).
bool EnterAllowances(PageContext& ctx, dbf::WorkArea& dod, const EmployeeRecord& employee,
                     bool registration, std::vector<uint32_t>* written);

/// The lines read-only, as many as fit.
void ShowAllowances(PageContext& ctx, dbf::WorkArea& dod, const EmployeeRecord& employee);

}  // namespace kestrel::registry
