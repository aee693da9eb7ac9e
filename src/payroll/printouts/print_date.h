#pragma once

#include "common/session/runtime.h"

namespace kestrel::payroll {

/// "Data wydruku:" at (row, col), the working date offered: a date given
/// becomes the working date, which the printout's header prints. False on
/// Esc or an empty date.
bool AskPrintDate(common::Runtime& rt, int row, int col);

}  // namespace kestrel::payroll
