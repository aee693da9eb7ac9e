// QRM24 "2.4. Aktualizacja zawartych informacji": the update of an
// employee record page by page, with the snapshot it can go back to, the
// change log and the remembered earlier values written when it is
// committed.
//
// The record stays locked from the moment the operator agrees to update it
// until the update ends, whichever way it ends: commit, undo, Esc, or an
// abandon or error thrown from inside (UpdateSession releases the lock when
// it goes away).
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_update.h"

namespace kestrel::registry {

/// The menu entry: rights mask 17, the register opened, the dialog.
void Qrm24(common::Runtime& rt);

/// The dialog over the register opened in `tables` (OpenRegister): asks
/// numbers until F10.
void UpdateEmployees(common::Runtime& rt, common::Tables& tables);

/// One update of one employee: the lock, the snapshot and the working
/// record, and the ways the update can end.
class UpdateSession {
  public:
    /// Locks PKPRAC record `recno` (retrying; "n" to the lock question
    /// abandons) and takes the snapshot read under the lock. Throws
    /// common::Abandon with "Brak pracownika o tym numerze" when the record
    /// was struck off meanwhile.
    UpdateSession(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas,
                  uint32_t recno);
    /// An update that did not end (an abandon or error thrown through it)
    /// is undone to the snapshot; the lock is released in every case.
    ~UpdateSession();
    UpdateSession(const UpdateSession&) = delete;
    UpdateSession& operator=(const UpdateSession&) = delete;

    const Snapshot& before() const { return before_; }
    /// The record as the pages have it.
    EmployeeRecord& record() { return record_; }
    uint32_t recno() const { return before_.recno; }
    bool locked() const { return locked_; }

    /// Writes the working record over the locked record.
    void Save();
    /// The record and its companions as they are now in the tables.
    Snapshot Now();
    /// QRMUNDO: whether anything differs from the snapshot.
    bool Differs();
    /// Brings back the snapshot (fields, additional titles, allowances,
    /// extended values; rows added since deleted again).
    void Undo();

    enum class Outcome { kUnchanged, kRejected, kConfirmed };
    /// QRMZAKT: the end of the update by its last page. Nothing changed:
    /// "Koniec aktualizacji". Otherwise "Zatwierdzić zmiany ?": no undoes
    /// ("Poprawki odrzucone"), yes confirms.
    Outcome Commit();
    /// Keeps the changes: releases the lock, writes the change log (QRMZPEK)
    /// and shows "Korekty zatwierdzone"; when fields of the record itself
    /// changed, the offer to remember their earlier values (QRMZAPH).
    void Confirm();
    /// Releases the lock.
    void Release();

  private:
    common::Runtime& rt_;
    common::Tables& tables_;
    RegisterAreas areas_;
    Snapshot before_;
    EmployeeRecord record_;
    bool locked_ = false;
};

/// QRMZAPH: the window that offers to remember the earlier values of the
/// changed `fields` (already without the exempt ones) as valid until a date
/// the operator types (default `cut_off`, "YYYYMMDD"). Returns true when
/// they were written, false when the operator skipped the step with Esc.
bool OfferHistory(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& zmprc,
                  const EmployeeRecord& before, const std::vector<std::string>& fields,
                  const std::string& cut_off);

}  // namespace kestrel::registry
