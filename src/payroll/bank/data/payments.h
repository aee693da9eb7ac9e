// The payments of the banks for the printed transfer orders and the
// summary statement (4.A.4, 4.A.6, 4.A.7): who gets how much through which
// bank, by the same rules as the bank files (bank_run.h): the lists paid
// together, the employees in name order, every variable of the namespace
// empty but the bank's component when its condition is evaluated, only
// amounts above 0, one payment per list when NAGLSLROR is off.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/bank/data/bank_parameters.h"
#include "payroll/bank/data/bank_run.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll::bank {

struct Payment {
    std::string number;   // NR_PRAC
    std::string name;     // surname and first names (a legal person's name), CP852
    std::string account;  // NR_KONT, trailing blanks cut
    int64_t grosze = 0;
};

struct BankPayments {
    BankParameters bank;
    std::vector<Payment> payments;
    int64_t total = 0;  // grosze
};

struct PaymentsOutcome {
    std::string message;  // CP852: what stopped it ("" when complete)
    bool interrupted = false;
    std::vector<BankPayments> banks;  // in the order of `banks`
};

/// The payments of `banks` for the payment of `list`. A bank whose
/// component is not one of PKSPL gives "Błędny składnik "<code>" w
/// PKWROR" before anything is read; a condition that is not logical
/// "Błędna wartość warunku " + the bank's name; a formula's error its text.
/// `observer` (may be nullptr) sees the employees and may interrupt.
PaymentsOutcome CollectPayments(common::Runtime& rt, common::Tables& tables,
                                const PayrollList& list, const std::vector<BankParameters>& banks,
                                BankObserver* observer);

}  // namespace kestrel::payroll::bank
