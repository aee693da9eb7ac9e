#include "worktime/data/suspensions.h"

#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {
namespace {

constexpr size_t kNumberWidth = 6;
constexpr size_t kDateKeyWidth = 8;

int Julian(const base::Date& d) {
    return base::JulianDay(d);
}

std::string Number(std::string_view number) {
    std::string n(number.substr(0, std::min(number.size(), kNumberWidth)));
    n.resize(kNumberWidth, ' ');
    return n;
}

// The key of an employee's open suspension in PKZAW1.
std::string OpenKey(std::string_view number) {
    return Number(number) + std::string(kDateKeyWidth, ' ');
}

}  // namespace

PeriodFault CheckPeriod(const Suspension& s) {
    if (s.start.empty()) return PeriodFault::kNoStart;
    if (!s.planned_end.empty() && Julian(s.planned_end) < Julian(s.start))
        return PeriodFault::kPlannedBeforeStart;
    if (!s.last_day.empty() && Julian(s.last_day) < Julian(s.start))
        return PeriodFault::kLastDayBeforeStart;
    return PeriodFault::kNone;
}

PeriodFault CheckLastDay(const Suspension& s, const base::Date& last_day) {
    if (last_day.empty()) return PeriodFault::kNoLastDay;
    if (Julian(last_day) < Julian(s.start)) return PeriodFault::kLastDayBeforeStart;
    return PeriodFault::kNone;
}

std::string_view PeriodFaultMessage(PeriodFault fault) {
    switch (fault) {
        case PeriodFault::kNone:
            return "";
        case PeriodFault::kNoStart:
        case PeriodFault::kNoLastDay:
            return "Brak daty";
        case PeriodFault::kPlannedBeforeStart:
        case PeriodFault::kLastDayBeforeStart:
            return "Data przed datą zawieszenia";
    }
    return "";
}

bool InMonth(const base::Date& d, const SettlementMonth& month) {
    return d.year == month.year && d.month == month.month;
}

Suspensions::Suspensions(common::Runtime& rt, common::Tables& tables)
    : rt_(rt),
      tables_(tables),
      zaw_(OpenOnce(tables, "PKZAW", {"PKZAW1"})),
      f_number_(zaw_.FieldIndex("NR_PRAC")),
      f_start_(zaw_.FieldIndex("DATA_ZAW")),
      f_reason_(zaw_.FieldIndex("PRZYCZ_ZAW")),
      f_planned_(zaw_.FieldIndex("TERMIN_POW")),
      f_last_(zaw_.FieldIndex("DATA_POWR")) {}

Suspension Suspensions::Current() {
    const dbf::Record& r = zaw_.record();
    Suspension s;
    s.number = r.GetString(f_number_);
    s.start = base::DateOfDbfText(r.GetDate(f_start_));
    s.reason = r.GetString(f_reason_);
    s.planned_end = base::DateOfDbfText(r.GetDate(f_planned_));
    s.last_day = base::DateOfDbfText(r.GetDate(f_last_));
    s.recno = zaw_.recno();
    return s;
}

void Suspensions::Store(const Suspension& s) {
    dbf::Record& r = zaw_.record();
    std::string reason = s.reason.substr(0, std::min<size_t>(s.reason.size(), 2));
    reason.resize(2, ' ');
    if (!r.SetString(f_number_, Number(s.number)).ok() ||
        !r.SetDate(f_start_, base::DbfDateText(s.start)).ok() ||
        !r.SetString(f_reason_, reason).ok() ||
        !r.SetDate(f_planned_, base::DbfDateText(s.planned_end)).ok() ||
        !r.SetDate(f_last_, base::DbfDateText(s.last_day)).ok())
        WriteFailed();
}

void Suspensions::WriteFailed() {
    zaw_.Unlock();
    throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: ") + zaw_.alias()));
}

std::optional<Suspension> Suspensions::OpenOf(std::string_view number) {
    OrderBy(zaw_, "PKZAW1");
    if (!zaw_.Seek(OpenKey(number)).ok() || !zaw_.found()) return std::nullopt;
    return Current();
}

std::vector<Suspension> Suspensions::All(bool open_only) {
    OrderBy(zaw_, "PKZAW1");
    std::vector<Suspension> out;
    for (base::Status s = zaw_.GoTop(); s.ok() && !zaw_.eof(); s = zaw_.Skip(1)) {
        Suspension one = Current();
        if (!open_only || one.open()) out.push_back(std::move(one));
    }
    return out;
}

std::optional<Suspension> Suspensions::At(uint32_t recno) {
    if (!zaw_.Goto(recno).ok() || zaw_.eof() || zaw_.deleted()) return std::nullopt;
    return Current();
}

bool Suspensions::Reserve(std::string_view number) {
    if (OpenOf(number)) return false;
    OrderBy(zaw_, "PKZAW1");
    tables_.Reserve(zaw_, Number(number));
    Suspension blank;
    blank.number = std::string(number);
    Store(blank);
    // Keyed at once, so that an entry left unconfirmed is found for reuse.
    if (!zaw_.Commit().ok()) WriteFailed();
    reserved_ = zaw_.recno();
    return true;
}

SuspendResult Suspensions::Confirm(const Suspension& s) {
    const uint32_t mine = reserved_;
    if (CheckPeriod(s) != PeriodFault::kNone) {
        Release();
        return SuspendResult::kBadPeriod;
    }
    // Another workstation may have suspended the employee meanwhile.
    const std::optional<Suspension> other = s.open() ? OpenOf(s.number) : std::nullopt;
    if (other && other->recno != mine) {
        Release();
        return SuspendResult::kAlreadySuspended;
    }
    if (!zaw_.Goto(mine).ok()) WriteFailed();
    Store(s);
    tables_.Confirm(zaw_);
    zaw_.Unlock();
    reserved_ = 0;
    return SuspendResult::kDone;
}

void Suspensions::Release() {
    if (reserved_ == 0) return;
    zaw_.Goto(reserved_);
    zaw_.Unlock();
    reserved_ = 0;
}

bool Suspensions::LockVisible(uint32_t recno) {
    if (!zaw_.Goto(recno).ok() || zaw_.eof() || zaw_.deleted()) return false;
    tables_.RLock(zaw_);
    // Read again under the lock: another workstation may have changed it.
    if (!zaw_.Goto(recno).ok() || zaw_.deleted()) {
        zaw_.Unlock();
        return false;
    }
    return true;
}

bool Suspensions::Cancel(uint32_t recno) {
    if (!LockVisible(recno)) return false;
    const base::Status s = zaw_.Delete();
    zaw_.Unlock();
    if (!s.ok()) WriteFailed();
    return true;
}

SuspendResult Suspensions::Correct(const Suspension& s) {
    if (CheckPeriod(s) != PeriodFault::kNone) return SuspendResult::kBadPeriod;
    if (s.open()) {
        const std::optional<Suspension> other = OpenOf(s.number);
        if (other && other->recno != s.recno) return SuspendResult::kAlreadySuspended;
    }
    if (!LockVisible(s.recno)) return SuspendResult::kNotSuspended;
    Store(s);
    if (!zaw_.Commit().ok()) WriteFailed();
    zaw_.Unlock();
    return SuspendResult::kDone;
}

SuspendResult Suspensions::End(uint32_t recno, const base::Date& last_day) {
    if (!LockVisible(recno)) return SuspendResult::kNotSuspended;
    Suspension s = Current();
    if (!s.open()) {
        zaw_.Unlock();
        return SuspendResult::kNotSuspended;
    }
    if (CheckLastDay(s, last_day) != PeriodFault::kNone) {
        zaw_.Unlock();
        return SuspendResult::kBadPeriod;
    }
    s.last_day = last_day;
    Store(s);
    if (!zaw_.Commit().ok()) WriteFailed();
    zaw_.Unlock();
    return SuspendResult::kDone;
}

}  // namespace kestrel::worktime
