// Values of register fields in the past, from the remembered earlier values
// of PKZMPRC: the formula functions HSTWRT (the value on a date) and HSTTAB
// (the values by period).
//
// Both work on the current record of the PKPRAC area of a workspace and read
// PKZMPRC (open there with PKZMPRC1) and PKSTER (when open: its settlement
// month limits the dates; otherwise today does). They leave every area's
// order and record as they found them.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/dbf/work_area.h"
#include "platform/formula/runtime.h"
#include "platform/formula/value.h"

namespace kestrel::registry {

/// The last day of the settlement month of PKSTER, or `today` when PKSTER
/// is not open or empty (Julian days).
int32_t HistoryLimit(dbf::Workspace& ws, int32_t today);

/// HSTWRT: the value of `field` of the current employee on `date` (0: now);
/// NIL when PKPRAC has no such field.
formula::Value ValueOnDate(dbf::Workspace& ws, std::string_view field, int32_t date, int32_t today);

/// HSTTAB: {first day, last day, value} per period from `start` (0: the
/// employment date) to `end` (0: open); an empty array when PKPRAC has no
/// such field. The arrays are made on `arrays` (the formula Runtime's).
formula::Value ValuesByPeriod(formula::ArrayPool& arrays, dbf::Workspace& ws,
                              std::string_view field, int32_t start, int32_t end, int32_t today);

/// Registers HSTWRT(name [, date]) and HSTTAB(name [, start [, end]]).
/// A name that is not text gives NIL (HSTWRT) or an empty array (HSTTAB).
/// The functions keep a reference to `ws`, which must outlive their use.
void RegisterHistoryFunctions(formula::Runtime& rt, dbf::Workspace& ws);

}  // namespace kestrel::registry
