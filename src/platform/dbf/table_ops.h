// Whole-table operations: packing and copying records between tables.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/dbf/table.h"

namespace kestrel::dbf {

/// Which records a pack keeps besides dropping deleted ones; empty = all.
using KeepFunction = std::function<bool(const Record& rec)>;

/// Packs the table at `path`: opens it exclusively (Busy while anyone has it
/// open), copies the live records that `keep` accepts into a work copy
/// ("NAME@.DBF"), and only when the copy is complete renames it over the
/// table. Memo fields keep their blocks in the table's own DBT, which is not
/// replaced (one rename: a crash never mixes records and memo files).
/// The table is closed afterwards; its indexes must be rebuilt. The new
/// header's date comes from `clock` (nullptr: the system clock).
Status PackTable(const std::string& path, const KeepFunction& keep = nullptr,
                 uint32_t* kept = nullptr, FileSystem* fs = nullptr,
                 const base::Clock* clock = nullptr);

/// Appends the records of `from` to `to`, field by field where the names and
/// types agree (memo texts are copied into `to`'s memo file); fields of `to`
/// without a counterpart stay blank. Deleted records are copied (and stay
/// deleted) only with `with_deleted`. Returns the number copied in *copied.
/// A number too wide for its new field gives InvalidArgument naming the record.
Status CopyRecords(Table* from, Table* to, bool with_deleted, uint32_t* copied);

}  // namespace kestrel::dbf
