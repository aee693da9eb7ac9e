// 7.4 "Przeglądanie kartoteki": the browse of the income records (PKDOCH)
// in three orders, with the seek by the fields of the order in force and
// the month's totals per income kind.
#pragma once

#include "common/session/runtime.h"

namespace kestrel::tax {

/// QRM74: needs right 36 (kind 3 or 6). The browse opens in the order by
/// month on the first record of the system month (PKSTER), else on the
/// last record. Keys: Esc leaves; F2 seeks ("Brak klucza - koniec
/// zbioru" leaves the browse where it stood, "Brak klucza - następny
/// rekord" stands on the next record); F3 shows the totals of the payment
/// month of the current record (of the system month when there is none);
/// F5, F6, F7 change the order, staying on the record.
void Qrm74(common::Runtime& rt);

}  // namespace kestrel::tax
