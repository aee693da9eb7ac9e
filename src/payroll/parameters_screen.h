// 4.9 "Parametry systemu": the payroll parameters of the control record
// PKSTER and the valorisation table PKWALOR.
#pragma once

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// Shows the parameters of the control record in two columns (the benefit
/// and free fields under the labels the record itself holds in OPIS_Z1..5,
/// OPIS_P1..11 and OPIS_P7A); with `can_change` "Zmieniasz parametry?"
/// lets the operator edit them (labels included; the system month only
/// moves by closing the month). Then the valorisation table, "Waloryz. z
/// tytułu mies. wzrostu płac": Enter changes a percentage, Ins adds a
/// month, Del deletes one (all with `can_change`), Esc leaves. An outdated
/// index of PKWALOR gives "Błędny indeks PKWALOR" and leaves the table
/// alone.
void EditParameters(common::Runtime& rt, common::Tables& tables, bool can_change);

/// Menu entry 4.9: changes need rights kind 3.
void Qrm49(common::Runtime& rt);

}  // namespace kestrel::payroll
