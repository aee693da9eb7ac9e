// The data side of updating and striking off an employee: the snapshot an
// update starts from, undoing to it, the change log and the field history
// written when it is committed, the leading-record marks, and striking a
// record off the register.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_registration.h"

namespace kestrel::registry {

/// An employee as an update found it: the record and its companion rows.
struct Snapshot {
    uint32_t recno = 0;  // of the PKPRAC record
    EmployeeRecord record;
    std::vector<InsuranceTitle> titles;
    std::vector<Allowance> allowances;
    std::vector<ExtendedValue> extended;
};

/// The current record of areas.prac with its companion rows.
Snapshot TakeSnapshot(const RegisterAreas& areas);

/// QRMUNDO's comparison: any field but the number differs, or a companion
/// row (in key order, line numbers included) differs, or their counts do.
bool SnapshotDiffers(const Snapshot& before, const Snapshot& now);

/// Undo: writes the snapshot's field values over the PKPRAC record (which
/// the caller holds locked), rewrites and recalls the companion rows of the
/// snapshot, and deletes rows added since.
void RestoreSnapshot(common::Tables& tables, const RegisterAreas& areas, const Snapshot& before);

/// QRMZPEK: one PKEKPRC entry per changed value between the snapshot and
/// now: the record's fields, then the items of the additional titles, the
/// allowances and the extended values (a new row logs its non-empty items
/// against empty values, a removed one the other way round).
void LogUpdate(common::Tables& tables, const RegisterAreas& areas, const Snapshot& before,
               const Snapshot& now, std::string_view day, std::string_view ident);

/// The changed fields that take part in the field history: all but the
/// exempt ones (birth data, identity numbers, employment and dismissal
/// data, the kind flags).
std::vector<std::string> HistoryFields(const std::vector<std::string>& changed);
/// Whether a field's earlier values are remembered at all.
bool HasHistory(std::string_view field);
/// The changed fields as the history window names them: joined by commas,
/// a list longer than 43 characters cut to 43 and followed by "...".
std::string ChangedFieldsLine(const std::vector<std::string>& fields);
/// The default last day of the "old" values: the day before the first day of
/// the settlement month of PKSTER, or the day before `today` when PKSTER is
/// not given or empty ("YYYYMMDD").
std::string HistoryCutOff(dbf::WorkArea* ster, std::string_view today);
/// QRMZAPH: remembers the values `fields` had in `before` as valid until
/// `until`. Every field of PKPRAC has a type that can be remembered.
void RememberOldValues(common::Tables& tables, dbf::WorkArea& zmprc, const EmployeeRecord& before,
                       const std::vector<std::string>& fields, std::string_view until);

/// The leading-record window's writing: marks `leading` (an employee number,
/// "" for none) as MASTER_ among the records of `records` and clears the
/// others, writing only the marks that differ. Returns how many were written.
int WriteLeadingMarks(common::Tables& tables, dbf::WorkArea& prac,
                      const std::vector<PeselRecord>& records, std::string_view leading);

/// The tax records of an employee (PKDOCH, its index PKDOCH3 controlling):
/// whether some were paid in `year` and whether some in other years, with
/// the record numbers of all.
struct TaxRecords {
    bool this_year = false;
    bool other_years = false;
    std::vector<uint32_t> recnos;
};
TaxRecords TaxRecordsOf(dbf::WorkArea& doch, std::string_view number, int year);

/// Striking off: logs "NR_PRAC" (number → "") and deletes the PKPRAC record
/// `recno`. The companion rows of the number stay.
void StrikeOff(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas,
               uint32_t recno);

}  // namespace kestrel::registry
