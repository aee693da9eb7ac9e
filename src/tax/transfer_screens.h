// 7.2, the transfer of the month's payroll lists to the income records, and
// 7.7, its emergency undo.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::tax {

/// "7.2. Automatyczne przepisanie danych z modułu płace".
void Qrm72(common::Runtime& rt);

/// "7.7. Awaryjne zerowanie aktualizacji".
void Qrm77(common::Runtime& rt);

}  // namespace kestrel::tax
