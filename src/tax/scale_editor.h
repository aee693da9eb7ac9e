// 7.8 "Tabela podatkowa": the editor of the tax scale PKTAB.
//
// A framed browse of the rows by year, months and lower bound; <Ins> asks
// a new row, <Enter> changes the field under the cursor, <Del> deletes the
// row. Every row, new or changed, must have a valid year (1994-2050) and
// months (from 1 to 12, the first not after the last), bounds of which the
// upper exceeds the lower, amounts and rates not negative, and must not
// clash with another row (tax/data/tax_scale.h, RowsClash): "Błędny
// przedział". Opening needs rights mask 36 (kind 3 or 6); without kind 3
// (mask 4) the scale is only browsed.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::tax {

/// QRM78.
void Qrm78(common::Runtime& rt);

}  // namespace kestrel::tax
