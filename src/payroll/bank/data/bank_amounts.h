// What a payment of the bank files pays: the lists paid together and the
// employees' amounts on them, read once for a run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/bank/data/bank_parameters.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll::bank {

/// The amount in grosze, rounded half away from zero.
int64_t Grosze(double amount);

/// `list` and every other list of its year, month and payment date
/// (PKLISTY5, deleted records skipped), in that index's order; `list` first
/// when the table lacks it.
std::vector<PayrollList> ListsPaidWith(common::Tables& tables, const PayrollList& list);

/// The employees' amounts of the banks' components: one sum in grosze per
/// list (in the order of the lists), by employee and component.
struct Amounts {
    std::unordered_map<std::string, std::vector<int64_t>> by_key;  // employee + component
    /// The amounts of `employee` (6 characters) and `component` (4); empty
    /// when he has none.
    const std::vector<int64_t>& Of(std::string_view employee, std::string_view component) const;
};

/// Reads the visible positions of `lists` of the components of `banks`.
Amounts ReadAmounts(common::Runtime& rt, common::Tables& tables,
                    const std::vector<PayrollList>& lists,
                    const std::vector<BankParameters>& banks);

}  // namespace kestrel::payroll::bank
