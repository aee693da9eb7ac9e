// The cash denominations of PKNOM and the split of net pay into banknotes
// and coins ("Specyfikacja nominałów"). Everything is counted in grosze, as
// integers: a split in floating point loses a coin on amounts such as 0.30
// in 0.10 coins.
#pragma once

#include <cstdint>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/printouts/data/denominations.h"
#include "printing/data/print_output.h"

namespace kestrel::payroll {

/// An amount of money (two decimals) in grosze, rounded half away from
/// zero.
int64_t ToGrosze(double amount);

/// The denominations of PKNOM in grosze, above 0, highest first (whatever
/// the order of the table); none when the company has no PKNOM.
std::vector<int64_t> DenominationsHighestFirst(common::Tables& tables);

/// The counts of a denomination list, one per denomination.
struct DenominationCounts {
    std::vector<int64_t> denominations;  // grosze, highest first
    std::vector<int64_t> counts;         // as denominations

    explicit DenominationCounts(std::vector<int64_t> d)
        : denominations(std::move(d)), counts(denominations.size(), 0) {}

    /// Splits one employee's net pay greedily: each denomination, highest
    /// first, takes the whole part of what remains divided by it. A net pay
    /// of 0 or less takes nothing. What no denomination covers is left.
    void Add(int64_t grosze);
};

/// "Specyfikacja nominałów do listy płac: " with the list's caption, then
/// one line per denomination used with "Nominał", "Ilość", "Wartość", and
/// the total, from row `row` of the page (CP852 through the output).
void PrintDenominations(common::Runtime& rt, printing::PrintOutput& out, int row,
                        const std::string& caption, const DenominationCounts& counts);

}  // namespace kestrel::payroll
