// The code dictionaries of the insurance module, kept in the common
// dictionary dialog: 6.4.4 the benefit and break codes (PKSSWPR) and 6.5.4
// the remuneration component codes (PKSWYN). Both are entered with rights
// kind 3 or 6 and changed with kind 3, like the module's records.
#pragma once

#include "common/dictionary/dictionary.h"
#include "common/session/runtime.h"

namespace kestrel::insurance {

common::Dictionary BenefitCodes();
common::Dictionary RemunerationCodes();

/// Runs the dialog of one of them.
void RunInsuranceDictionary(common::Runtime& rt, const common::Dictionary& d);

}  // namespace kestrel::insurance
