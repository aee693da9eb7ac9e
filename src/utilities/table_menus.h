// The table maintenance functions of menu 9: re-indexing (QRM94, "9.4.
// Indeksowanie zbiorów") and reorganisation (QRM952, "9.5.2. Reorganizacja
// zbiorów").
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_catalogue.h"

namespace kestrel::common {

/// The company tables the grid offers, in catalogue order: the loan-fund
/// tables only with NAGLKWP, the PFRON tables only with NAGLXSDML, the PPK
/// tables only with NAGLPPK20, the PIT correction tables only with
/// NAGLKORPIT and `with_pit`.
std::vector<const TableLayout*> OfferedTables(const Runtime& rt, bool with_pit);

/// Rebuilds every index file of `table` in directory `dir` (the table opened
/// exclusively), with the table's mark in that directory's PKETYK set
/// meanwhile. Every table, with index files or without, is opened with the
/// opener's checks, so an old layout is upgraded after the question.
void ReindexTable(Runtime& rt, const std::string& dir, const std::string& table);

/// QRM94: the grid of tables; Enter re-indexes the chosen table, F12 all
/// of them, ">>ARCHIWUM<<" the tables of an annual archive.
void Qrm94(Runtime& rt);

/// QRM952: the grid of tables; Enter packs the chosen table with all its
/// index files.
void Qrm952(Runtime& rt);

}  // namespace kestrel::common
