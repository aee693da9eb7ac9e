// The cash denominations of PKNOM: banknote and coin values greater than 0,
// kept in descending order, which the list of denominations of a
// payroll list takes them in.
#pragma once

#include <cstdint>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// The values of the live records of PKNOM in grosze, in record order;
/// none for a company without the table.
std::vector<int64_t> ReadDenominations(common::Tables& tables);

/// Puts the live records of PKNOM in descending order of value by writing
/// the values again over the same records (each record under its lock);
/// returns true when the table was out of order. A company without the
/// table has nothing to sort.
bool SortDenominations(common::Tables& tables);

/// Appends a denomination (a valid value) and sorts the table; the table is
/// made when the company lacks it.
void AddDenomination(common::Tables& tables, int64_t grosze);
/// Gives the current record of PKNOM's area (opened by the functions here)
/// the value `grosze` and sorts the table.
void ChangeDenomination(common::Tables& tables, int64_t grosze);
/// Deletes the current record of PKNOM's area.
void DeleteDenomination(common::Tables& tables);
/// PKNOM's work area (opened when it is not), for the editor's browse.
dbf::WorkArea& DenominationsArea(common::Tables& tables);

/// Whether `grosze` may be a denomination: greater than 0 and within
/// NOMINAL_ (N10.2).
bool ValidDenomination(int64_t grosze);

}  // namespace kestrel::payroll
