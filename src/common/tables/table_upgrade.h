// Structure upgrades: rebuilding a table whose stored layout is older than
// the catalogue, and the safe replacement of a table's files.
//
// A replacement never leaves a moment without one complete copy:
//   1. the new copy NAME@.DBF (and NAME@.DBT) is written completely while
//      the old table is held exclusively;
//   2. the old files are renamed aside to NAME~.DBT, then NAME~.DBF;
//   3. the new copy is renamed into place, NAME@.DBT, then NAME@.DBF;
//   4. the old files are deleted, and the index files (rebuilt on next open).
// RecoverReplacement, run before a table is opened, finishes or undoes a
// replacement that a crash cut short; it never deletes a copy that may be
// the only complete one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/tables/table_catalogue.h"
#include "platform/base/status.h"
#include "platform/dbf/table.h"

namespace kestrel::common {

/// Finishes or undoes an interrupted replacement of table `name` (upper
/// case, no extension) in `dir`. *recovered tells whether there was one.
/// Files of a replacement still running elsewhere (held open) are left alone.
base::Status RecoverReplacement(const std::string& dir, const std::string& name,
                                bool* recovered = nullptr);

/// True when the stored layout lacks a field of the catalogue's layout or
/// holds it with another type (the table must be upgraded).
bool IsOldLayout(const TableLayout& layout, const std::vector<dbf::Field>& stored);

/// Changes a record of the new layout after its fields were copied by name.
using RecordFix = std::function<void(const dbf::Record& old_rec, dbf::Record* new_rec)>;

/// What a replacement of a table's files writes into the new copy.
struct Replacement {
    std::vector<dbf::FieldSpec> layout;  // of the new copy
    bool keep_deleted = false;           // copy records marked deleted (and keep the mark)
    std::function<bool(const dbf::Record& old_rec)> keep;  // further records left out
    RecordFix fix;                                         // applied to every new record
    std::vector<std::string> index_files;          // names without extension, deleted afterwards
    std::function<void(uint32_t recno)> progress;  // told every record as it is read
};

/// Replaces table `old` (open exclusively; consumed and closed) by a new copy
/// as described above: fields are copied by name (text cut or padded,
/// numbers rewritten in their new width, memo texts copied into the new memo
/// file). A field whose type changed is converted where its value has a
/// counterpart (a number or memo to text, text holding a number to a number,
/// T/F/Y/N text or a number to a logical, YYYYMMDD text to a date, text or
/// a number to a memo) and left blank otherwise. A number too wide for its
/// new field of the same type fails the replacement. On failure the old
/// table stays as it was. The new header's date comes from `old`'s clock.
base::Status ReplaceTable(std::unique_ptr<dbf::Table> old, const Replacement& how,
                          uint32_t* copied = nullptr);

/// Rebuilds table `old` (open exclusively; consumed and closed) with the
/// catalogue layout of `layout`: every record, deleted ones included, is
/// copied field by field as ReplaceTable does, then passed to `fix`.
/// The files are replaced as described above and the table's index files
/// deleted. On failure the old table stays as it was. *copied counts records.
base::Status UpgradeTable(std::unique_ptr<dbf::Table> old, const TableLayout& layout,
                          const RecordFix& fix = nullptr, uint32_t* copied = nullptr);

/// The conversion an upgrade of `table` makes beyond copying by name, for a
/// table stored with the fields `stored` (nullptr when there is none):
/// the scrambled personal fields (IMIEX_, NAZWX_, NAZWX_U, PESELX_,
/// PESELX_U) are stored again for their new width, plain text found there
/// scrambled; code fields that older layouts held as numbers get their
/// leading zeros back (the tax office code KOD_URZEDU of PKURZ, 4 digits;
/// the commune code KOD_GMINY of PKDZIAL, 7 digits).
RecordFix UpgradeConversion(std::string_view table, const std::vector<dbf::Field>& stored);

/// File names of a replacement beside `dbf_path` ("DIR/PKSTER.DBF"):
/// the new copy ("DIR/PKSTER@.DBF") and the old set aside ("DIR/PKSTER~.DBF").
std::string NewCopyName(const std::string& dbf_path);
std::string AsideName(const std::string& dbf_path);

}  // namespace kestrel::common
