// The browse and correction of the monthly insurance records, one screen
// for every table (insurance/data/record_files.h describes the columns).
//
// The browse opens in the first order on the first record of the system
// month. Keys: Esc leaves; F1 switches between the current tables and an
// annual archive ("Katalogi archiwalne:"), which is only browsed; F2 seeks
// by the key parts of the order in force ("Brak klucza - koniec zbioru"
// leaves the browse where it stood, "Brak klucza - następny rekord" stands
// on the next record); F3 shows the main data of the record's employee; F5,
// F6 change the order. In the correction entry Enter edits the cell under
// the cursor in place and Del deletes the record, both for records of the
// system month only ("Błędny miesiąc") and with rights kind 3; the record is
// locked while the cell is edited. Rows of records locked against the
// transfer (NIE_AKT_62) are drawn in the fifth colour pair.
#pragma once

#include "common/session/runtime.h"
#include "insurance/data/record_files.h"

namespace kestrel::insurance {

/// `title` (UTF-8) heads the screen; `correction` offers Enter and Del.
/// Needs rights kind 3 or 6 to enter.
void BrowseRecords(common::Runtime& rt, RecordKind kind, const char* title, bool correction);

}  // namespace kestrel::insurance
