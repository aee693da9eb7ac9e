// The amounts of one income record on the correction screen (7.3), rows 9
// to 20 under its key, with the checks that warn: a warning is shown on
// the hints row 21 with a tone and keeps the cursor in the field until the value is
// changed or the operator accepts it with F7 ("<F7>-Akceptacja"). Saving
// (PgDn, Enter on the last field) checks every field once more and goes
// back to the first one with a warning not accepted.
#pragma once

#include "common/session/runtime.h"
#include "tax/records/income_correction.h"

namespace kestrel::tax {

inline constexpr int kAmountsTop = 9, kHintsRow = 21;

/// What the amounts are entered with.
struct AmountsContext {
    common::Runtime& rt;
    IncomeStore& store;
    FieldRules rules;
    double limit = 0;   // LIMIT_ of the kind, 0: none
    uint32_t self = 0;  // the record being edited (left out of the year's revenue)
};

/// Shows the labels and the amounts of `r`, the amounts the rules do not
/// let it hold cleared first.
void ShowAmounts(const AmountsContext& c, IncomeRecord* r);

/// Reads the amounts into `*r`; false on Esc (then `*r` may hold part of
/// what was typed).
bool EnterAmounts(const AmountsContext& c, IncomeRecord* r);

}  // namespace kestrel::tax
