// 3.4 "Wprowadzanie nieobecności (analit. składników)": the absence lines
// of an employee's month. Opening an employee rebuilds the lines generated
// from suspensions and the lines of the computed codes; the operator then
// enters lines by number (code, calendar month, days, quantities, the
// reporting month and the sickness codes), each checked against the other
// lines' days and the code's yearly limit. Ending the employee in the
// settlement month clears the month's insurance flag and computes the
// computed codes again.
#pragma once

#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// The dialog over `tables` (rights already checked), employee after
/// employee until F10.
void EnterAbsences(common::Runtime& rt, common::Tables& tables);

/// Menu entry 3.4: requires rights mask 2.
void Qrm34(common::Runtime& rt);

/// QRMRNB: the same entry for employee `number` of the settlement month
/// only, over the tables of the caller (working-time entry, F9); the work
/// area is restored afterwards.
void QrmRnb(common::Runtime& rt, common::Tables& tables, std::string_view number);

}  // namespace kestrel::worktime
