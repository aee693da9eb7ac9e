// QRM22 "2.2. Rejestracja nowego pracownika / osoby prawnej": registering a
// new employee, non-staff person or legal person.
//
// The number screen proposes the next free number of the card type (F1
// cycles E → N → P), offers the existing records as templates (F3) and
// reserves the record under construction, which stays deleted — invisible
// to every other reader — until the operator confirms it. The record is
// then filled screen by screen; Esc on any screen leaves it deleted
// ("Pracownik skasowany") and goes back to the number screen. Confirmation
// recalls it, logs the number in the change log and opens the window of
// the leading record for its PESEL.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::registry {

/// Operator right of the registration.
inline constexpr unsigned kRightsRegister = 17;

/// The menu entry: the right check, then the dialog over its own tables.
void Qrm22(common::Runtime& rt);

/// The dialog over `tables` until the operator leaves the number screen
/// (F10 or Esc).
void RunRegistration(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::registry
