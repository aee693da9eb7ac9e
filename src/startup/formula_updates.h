// The offer of the payroll formula updates (QRMKNWALG) that follows a
// structure upgrade of the company's tables.
//
// The table layer cannot reach payroll; the program installs the offer in
// the runtime (Runtime::set_after_upgrade) and the opener runs it after it
// upgraded the structure of a table of the company directory. The offer:
//   - nothing while the tables are being re-indexed or reorganised
//     (NAGLIIN), in a company without payroll components (no PKSPL.DBF),
//     or when no update step is due (payroll::DueUpdateSteps);
//   - otherwise "Aktualizacja algorytmów płacowych" on the message line and
//     the question "Wykonać?": t or T applies the steps due
//     (payroll::ApplyFormulaUpdates, the code kestrel-tool formulas runs);
//     any other answer abandons the upgrade (common::Abandon, no message),
//     and the next upgrade asks again.
// The updater's own opens of PKFUNC and PKSPL may upgrade those tables in
// turn; the offer does not start again inside itself.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::startup {

/// Makes `rt`'s after-upgrade step the offer below.
void InstallFormulaUpdates(common::Runtime& rt);

/// The offer itself (see above). Throws common::Abandon when the operator
/// declines, or with the updater's message when the update fails.
void OfferFormulaUpdates(common::Runtime& rt);

}  // namespace kestrel::startup
