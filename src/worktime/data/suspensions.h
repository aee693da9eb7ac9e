// Suspended employees: the periods of PKZAW in which a staff employee's
// contract is suspended, one record per suspension.
//
// PKZAW1 orders the records by employee and, within an employee, by the
// last day in descending sort form (qrmsdata), where the empty last day is
// eight blanks: the open suspension of an employee is the one keyed by his
// number followed by blanks. An employee has at most one open suspension.
//
// A suspension is entered on a reserved record (appended and marked
// deleted, or one of the employee's deleted records reused) and recalled
// only when the operator confirms it, so that an abandoned entry leaves no
// visible record and repeated entries do not grow the table:
//
//   Suspensions zaw(rt, tables);
//   if (!zaw.Reserve(number)) { /* already suspended */ }
//   ... ask the dates ...
//   if (confirmed) zaw.Confirm(s); else zaw.Release();
//
// Every write locks the record through the table layer; a write that fails
// abandons with "Błąd zapisu: PKZAW".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/base/dates.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

struct Suspension {
    std::string number;      // NR_PRAC
    base::Date start;        // DATA_ZAW: the first day
    std::string reason;      // PRZYCZ_ZAW as stored (two characters)
    base::Date planned_end;  // TERMIN_POW, may be empty
    base::Date last_day;     // DATA_POWR: empty while the suspension lasts
    uint32_t recno = 0;

    bool open() const { return last_day.empty(); }
};

/// What is wrong with the dates of a suspension.
enum class PeriodFault {
    kNone,
    kNoStart,             // the first day is empty
    kPlannedBeforeStart,  // the planned end lies before the first day
    kNoLastDay,           // the last day is empty where it is required
    kLastDayBeforeStart,  // the last day lies before the first day
};

/// The first day must be given; the planned end may be empty or any day
/// from the first day on; a last day, when given, likewise (a suspension of
/// one day ends on its first day).
PeriodFault CheckPeriod(const Suspension& s);

/// The last day recorded for `s`: not empty, not before the first day.
PeriodFault CheckLastDay(const Suspension& s, const base::Date& last_day);

/// The message (UTF-8) of a fault; "" for kNone.
std::string_view PeriodFaultMessage(PeriodFault fault);

/// Whether `d` lies in the settlement month (the screens warn when not).
bool InMonth(const base::Date& d, const SettlementMonth& month);

/// How an entry or a change ended.
enum class SuspendResult {
    kDone,
    kAlreadySuspended,  // the employee has an open suspension (another one)
    kNotSuspended,      // the record is gone or no longer open
    kBadPeriod,         // the dates fail CheckPeriod or CheckLastDay
};

class Suspensions {
  public:
    /// Opens PKZAW with PKZAW1 through `tables` (or takes it open there).
    Suspensions(common::Runtime& rt, common::Tables& tables);

    dbf::WorkArea& area() { return zaw_; }

    /// The employee's open suspension.
    std::optional<Suspension> OpenOf(std::string_view number);
    /// The visible suspensions in the order of PKZAW1 (by employee, the open
    /// one first, then the later last days first); only the open ones when
    /// `open_only`.
    std::vector<Suspension> All(bool open_only = false);
    /// The visible suspension of record `recno`.
    std::optional<Suspension> At(uint32_t recno);

    /// Reserves a record for a new suspension of the employee: false (and
    /// nothing reserved) when he has an open suspension. Otherwise PKZAW
    /// stands on a locked record marked deleted that holds only his number.
    bool Reserve(std::string_view number);
    /// Writes `s` (its number must be the reserved one) into the reserved
    /// record and recalls it. Refused, with the record left deleted and
    /// unlocked, when the period is faulty or the employee got an open
    /// suspension meanwhile (another workstation).
    SuspendResult Confirm(const Suspension& s);
    /// Leaves the reserved record deleted and unlocks it.
    void Release();

    /// Deletes suspension `recno` (the record stays for reuse); false when
    /// it is not there.
    bool Cancel(uint32_t recno);
    /// Writes the first day, reason, planned end and last day of `s` into
    /// its record (s.recno). A suspension made open again (its last day
    /// cleared) is refused while the employee has another open one.
    SuspendResult Correct(const Suspension& s);
    /// Records the last day of the open suspension `recno`.
    SuspendResult End(uint32_t recno, const base::Date& last_day);

  private:
    Suspension Current();
    void Store(const Suspension& s);
    bool LockVisible(uint32_t recno);
    [[noreturn]] void WriteFailed();

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& zaw_;
    int f_number_, f_start_, f_reason_, f_planned_, f_last_;
    uint32_t reserved_ = 0;
};

}  // namespace kestrel::worktime
