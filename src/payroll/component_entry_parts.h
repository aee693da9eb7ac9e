// The windows of the component entry (4.4) that open over its screen: the
// pick lists of employees and components, the analysis of a formula, and
// how an amount is shown.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/data/component_analysis.h"
#include "payroll/data/position_entry.h"

namespace kestrel::payroll {

/// The picture of amounts: the component's MASKA_ for an auxiliary amount
/// that has one, else "@E 99,999,999.99".
std::string AmountPicture(const Component& c);
/// `amount` through AmountPicture(c), right-aligned in 13 columns (a wider
/// mask is cut at 15). CP852.
std::string AmountText(const Component& c, double amount);

/// F4/F5 of the employee field: the employees the list concerns (F5
/// without the dismissed, titled " Bez pracowników zwolnionych "); Enter
/// types the number into the field. The screen is restored.
void PickListEmployee(common::Runtime& rt, common::Tables& tables, PositionEntry& entry,
                      bool without_dismissed);

/// F3 to F6 of the symbol field: the component list `which`; Enter types
/// the symbol into the field. The screen is restored.
void PickComponent(common::Runtime& rt, common::Tables& tables, PositionEntry& entry,
                   ComponentList which);

/// F12: "Analizowany składnik:", the formula ("Wzór:") and its value
/// ("Wartość:") of the current employee, Up and Down to the previous and
/// next formula, " <Esc>-Koniec "; "Kwota do wypłaty:" of his positions.
/// The screen is restored.
void AnalyseComponents(common::Runtime& rt, PositionEntry& entry, ComponentAnalysis& analysis);

}  // namespace kestrel::payroll
