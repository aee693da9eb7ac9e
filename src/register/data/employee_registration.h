// Opening the register with its companions, proposing a free number and
// reserving a record under construction for a registration.
//
// A registration reserves its record before the operator fills it: the
// record carries the number and is marked deleted, so that no other reader
// sees it, and stays locked until it is confirmed or given up. Reservations
// of several workstations are serialised by the reservation lock (a lock on
// the file PKPRAC.REZ in the company directory, held only while a number is
// looked up and its record appended), so two workstations never reserve one
// number; the proposal skips numbers whose record another workstation holds
// under construction.
#pragma once

#include <functional>

#include <set>
#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_companions.h"
#include "register/data/employee_record.h"

namespace kestrel::registry {

/// The register and its companions, open for writing with all their index
/// files, each in the order of its first index.
struct RegisterAreas {
    dbf::WorkArea* prac = nullptr;   // PKPRAC, 14 indexes, order 1
    dbf::WorkArea* ktyub = nullptr;  // PKKTYUB
    dbf::WorkArea* dod = nullptr;    // PKDOD
    dbf::WorkArea* zmprc = nullptr;  // PKZMPRC
    dbf::WorkArea* ekprc = nullptr;  // PKEKPRC
    dbf::WorkArea* uprc = nullptr;   // PKUPRC
};
RegisterAreas OpenRegister(common::Tables& tables);

/// The live record of `number` (active employees only): the area stands on
/// it and true is returned; false leaves the area at the end.
bool SeekEmployee(dbf::WorkArea& prac, std::string_view number);

/// Next free number: the last number of the kind's index (staff PKPRACB,
/// non-staff PKPRACC, legal persons PKPRAC1) plus one, "999999" wrapping to
/// "000000"; when that number is taken, the first free one after it
/// (stopping at "000000"). A number is taken by a live record or by a
/// record another workstation holds under construction. "000000" means the
/// operator must type a number. `searching`, when given, is called once
/// before the walk past a taken number begins.
std::string ProposeNumber(dbf::WorkArea& prac, EmployeeKind kind,
                          const std::function<void()>& searching = nullptr);

enum class ReserveResult {
    kReserved,  // the record is reserved: current, locked, marked deleted
    kExists,    // "Istnieje pracownik o tym numerze"
};

/// Step 5 of the registration: the defaults of a new record of `kind`
/// (the kind's flags, the tax relief and tax by the scale, the under-26
/// relief for a person, the compulsory insurances of a staff employee).
void ApplyRegistrationDefaults(EmployeeKind kind, EmployeeRecord* record);

/// One registration: reserve, fill, then confirm or give up.
class Registration {
  public:
    Registration(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    /// Reserves `number` (six digits). A deleted record of the number is
    /// reused with its values as defaults (the dismissal emptied); one that
    /// another workstation holds is waited for with the lock's retry
    /// question ("n" abandons). Otherwise a new record is appended.
    ReserveResult Reserve(std::string_view number);
    /// ProposeNumber and Reserve in one, skipping numbers that others take
    /// meanwhile; "" when no free number is left.
    std::string ReserveNext(EmployeeKind kind);

    bool reserved() const { return recno_ != 0; }
    uint32_t recno() const { return recno_; }
    /// The record under construction.
    EmployeeRecord& record() { return record_; }

    /// ApplyRegistrationDefaults on the record under construction.
    void ApplyDefaults(EmployeeKind kind);
    /// Copies every field of `model` but the number, the dismissal date and
    /// reason and the leading-record flag; returns the model's kind, which
    /// the card type follows.
    EmployeeKind CopyTemplate(const EmployeeRecord& model);

    /// Rows of the companion tables that this registration showed or wrote
    /// (record numbers); the others of the number go at confirmation.
    void KeepTitle(uint32_t recno) { kept_titles_.insert(recno); }
    void KeepAllowance(uint32_t recno) { kept_allowances_.insert(recno); }
    void KeepExtended(uint32_t recno) { kept_extended_.insert(recno); }

    /// Writes the record as it stands, still deleted (the clear identity
    /// scrambled into it).
    void Save();
    /// Confirmation: saves, deletes the remembered values of the number and
    /// the companion rows this registration did not keep (an earlier holder
    /// of the number), logs "NR_PRAC" ("" → number), recalls, commits and
    /// unlocks.
    void Confirm();
    /// Gives up: saves what was entered and unlocks; the record stays
    /// deleted, its values the defaults of the next registration of the
    /// number.
    void GiveUp();

  private:
    void Release();

    common::Runtime& rt_;
    common::Tables& tables_;
    RegisterAreas areas_;
    EmployeeRecord record_;
    uint32_t recno_ = 0;
    std::set<uint32_t> kept_titles_, kept_allowances_, kept_extended_;
};

/// Today's working date as "YYYYMMDD".
std::string WorkingDay(const common::Runtime& rt);

}  // namespace kestrel::registry
