#include "register/data/employee_registration.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "common/session/abandon.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/dbf/file.h"

namespace kestrel::registry {
namespace {

constexpr int kReservationWaitSteps = 1500;  // of 20 ms: half a minute
constexpr const char* kReservationFile = "PKPRAC.REZ";

[[noreturn]] void Fail(common::Runtime& rt, const std::string& what) {
    throw common::Abandon(rt.Text("Błąd zapisu: ") + what);
}

// The reservation lock: one byte of the file PKPRAC.REZ beside the register,
// held while a number is looked up and its record appended (milliseconds),
// waited for quietly.
class ReservationLock {
  public:
    ReservationLock(common::Runtime& rt, const std::string& dir) {
        const std::string path = dir + kReservationFile;
        const std::string existing = base::FindNoCase(dir, kReservationFile);
        base::Status s = dbf::File::Open(existing, false, &file_);
        if (!s.ok()) s = dbf::File::Create(path, &file_);
        if (!s.ok()) throw common::Abandon(rt.Text("Błąd otwarcia ") + kReservationFile);
        for (int i = 0; i < kReservationWaitSteps; ++i) {
            s = file_->TryLock(0, 1, dbf::LockType::kWrite);
            if (s.ok()) return;
            if (!s.IsBusy()) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        throw common::Abandon(rt.Text("Błąd blokady ") + kReservationFile);
    }
    ~ReservationLock() { (void)file_->Unlock(0, 1); }

  private:
    std::unique_ptr<dbf::File> file_;
};

// Shows deleted records while it lives.
class ShowDeleted {
  public:
    explicit ShowDeleted(dbf::WorkArea& area) : area_(area), hide_(area.hide_deleted()) {
        area.set_hide_deleted(false);
    }
    ~ShowDeleted() { area_.set_hide_deleted(hide_); }

  private:
    dbf::WorkArea& area_;
    bool hide_;
};

// Whether another workstation holds record `recno` locked. A record this
// process holds counts as free.
bool HeldByOther(dbf::WorkArea& prac, uint32_t recno) {
    dbf::Table& t = prac.table();
    if (t.CanWrite(recno)) return false;
    if (!t.LockRecord(recno).ok()) return true;
    (void)t.UnlockRecord(recno);
    return false;
}

std::string NextNumber(const std::string& number) {
    const long n = std::strtol(number.c_str(), nullptr, 10);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%06ld", n >= 999999 ? 0 : n + 1);
    return buf;
}

// How the records of `number` stand: a live one, or a deleted one and
// whether another workstation holds it. Leaves order 1.
struct NumberState {
    bool live = false;
    uint32_t deleted = 0;  // a deleted record nobody holds
    uint32_t held = 0;     // a deleted record another workstation holds
};

NumberState StateOf(dbf::WorkArea& prac, const std::string& number) {
    NumberState st;
    ShowDeleted show(prac);
    const int nr = prac.FieldIndex("NR_PRAC");
    (void)prac.SetOrder(kByNumber);
    base::Status s = prac.Seek(number);
    while (s.ok() && !prac.eof() && prac.record().Raw(nr) == number) {
        if (!prac.deleted()) {
            st.live = true;
            return st;
        }
        if (HeldByOther(prac, prac.recno())) {
            if (st.held == 0) st.held = prac.recno();
        } else if (st.deleted == 0) {
            st.deleted = prac.recno();
        }
        s = prac.Skip(1);
    }
    return st;
}

bool Taken(dbf::WorkArea& prac, const std::string& number) {
    const NumberState st = StateOf(prac, number);
    return st.live || st.held != 0;
}

}  // namespace

std::string WorkingDay(const common::Runtime& rt) {
    const base::LocalTime& d = rt.working_date();
    return base::DbfDateText({d.year, d.month, d.day});
}

RegisterAreas OpenRegister(common::Tables& tables) {
    RegisterAreas a;
    a.ktyub = &tables.Open("PKKTYUB", {"PKKTYUB1", "PKKTYUB2"});
    a.dod = &tables.Open("PKDOD", {"PKDOD1", "PKDOD2"});
    a.zmprc = &tables.Open("PKZMPRC", {"PKZMPRC1"});
    a.ekprc = &tables.Open("PKEKPRC", {"PKEKPRC1", "PKEKPRC2"});
    a.uprc = &tables.Open("PKUPRC", {"PKUPRC1", "PKUPRC2"});
    a.prac = &tables.Open("PKPRAC", EmployeeIndexes());
    return a;
}

bool SeekEmployee(dbf::WorkArea& prac, std::string_view number) {
    (void)prac.SetOrder(kByNumber);
    return prac.Seek(number).ok() && prac.found() && !prac.eof();
}

std::string ProposeNumber(dbf::WorkArea& prac, EmployeeKind kind,
                          const std::function<void()>& searching) {
    const int order = kind == EmployeeKind::kStaff      ? kStaffByNumber
                      : kind == EmployeeKind::kNonStaff ? kNonStaffByNumber
                                                        : kByNumber;
    const uint32_t here = prac.recno();
    const int old_order = prac.order();
    std::string number = "000000";
    if (prac.SetOrder(order).ok() && prac.GoBottom().ok() && !prac.eof()) {
        number = prac.record().GetString(prac.FieldIndex("NR_PRAC"));
    }
    number = NextNumber(number);
    if (searching && number != "000000" && Taken(prac, number)) searching();
    while (number != "000000" && Taken(prac, number)) number = NextNumber(number);
    (void)prac.SetOrder(old_order);
    (void)prac.Goto(here);
    return number;
}

Registration::Registration(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas)
    : rt_(rt), tables_(tables), areas_(areas) {}

Registration::~Registration() {
    if (recno_ != 0) {
        // An abandoned dialog: the record stays deleted.
        (void)areas_.prac->Unlock();
    }
}

ReserveResult Registration::Reserve(std::string_view typed) {
    dbf::WorkArea& prac = *areas_.prac;
    const std::string number(typed);
    uint32_t wait_for = 0;
    {
        ReservationLock lock(rt_, rt_.data_dir());
        const NumberState st = StateOf(prac, number);
        if (st.live) return ReserveResult::kExists;
        ShowDeleted show(prac);
        if (st.held) {
            // Another registration holds the number: wait below for its end
            // rather than take another deleted record of the number.
            wait_for = st.held;
        } else if (st.deleted != 0) {
            if (!prac.Goto(st.deleted).ok()) Fail(rt_, "PKPRAC");
            if (!prac.RLock().ok()) {
                wait_for = st.deleted;
            } else {
                recno_ = st.deleted;
            }
        } else {
            tables_.Append(prac);
            prac.record().SetString(prac.FieldIndex("NR_PRAC"), number);
            if (!prac.Commit().ok() || !prac.Delete().ok()) Fail(rt_, "PKPRAC");
            recno_ = prac.recno();
            record_ = ReadEmployee(prac);
            return ReserveResult::kReserved;
        }
    }
    if (wait_for != 0) {
        ShowDeleted show(prac);
        if (!prac.Goto(wait_for).ok()) Fail(rt_, "PKPRAC");
        tables_.RLock(prac);  // the retry question; "n" abandons
        if (!prac.deleted() || prac.record().GetString(prac.FieldIndex("NR_PRAC")) != number) {
            (void)prac.Unlock();
            return ReserveResult::kExists;
        }
        recno_ = wait_for;
    }
    // A reused record keeps its values as defaults, the dismissal emptied.
    record_ = ReadEmployee(prac);
    record_.SetDate("DATA_ZWOLN", "");
    record_.SetText("PRZYCZ_ZW", "");
    record_.SetLogical("MASTER_", false);
    return ReserveResult::kReserved;
}

std::string Registration::ReserveNext(EmployeeKind kind) {
    for (;;) {
        const std::string number = ProposeNumber(*areas_.prac, kind);
        if (number == "000000") return {};
        if (Reserve(number) == ReserveResult::kReserved) return number;
    }
}

void ApplyRegistrationDefaults(EmployeeKind kind, EmployeeRecord* record) {
    record->set_kind(kind);
    record->SetLogical("ULGA_P_D", true);
    record->SetLogical("POD_WG_TAB", true);
    record->SetNumber("PROC_POD", 0);
    if (kind == EmployeeKind::kLegalPerson) {
        record->SetText("DZIAL_", "");
        record->SetText("GRUPA_ALG", "");
    } else {
        record->SetLogical("PDOF_26", true);
    }
    if (kind == EmployeeKind::kStaff) {
        for (const char* f : {"CZY_OB_UE", "CZY_OB_UR", "CZY_OB_UC", "CZY_OB_UW", "CZY_OB_UZ"}) {
            record->SetLogical(f, true);
        }
    }
}

void Registration::ApplyDefaults(EmployeeKind kind) {
    ApplyRegistrationDefaults(kind, &record_);
}

EmployeeKind Registration::CopyTemplate(const EmployeeRecord& model) {
    const std::string number = record_.number();
    EmployeeRecord copy = model;
    copy.set_number(number);
    copy.SetDate("DATA_ZWOLN", "");
    copy.SetText("PRZYCZ_ZW", "");
    // The leading record among several of one person is chosen only in its
    // own window, never inherited from a template.
    copy.SetLogical("MASTER_", false);
    record_ = copy;
    return record_.kind();
}

void Registration::Save() {
    dbf::WorkArea& prac = *areas_.prac;
    ShowDeleted show(prac);
    if (!prac.Goto(recno_).ok()) Fail(rt_, "PKPRAC");
    if (!WriteEmployee(prac, record_).ok()) Fail(rt_, "PKPRAC");
}

void Registration::Confirm() {
    Save();
    const std::string number = record_.number();
    ForgetAll(tables_, *areas_.zmprc, number);
    // Rows of an earlier holder of the number that this registration did
    // not show or write must not pass to the new person.
    auto prune = [&](dbf::WorkArea* area, const std::set<uint32_t>& kept) {
        if (area == nullptr) return;
        for (uint32_t recno : RowsOf(*area, number)) {
            if (kept.count(recno) == 0) DeleteRow(tables_, *area, recno);
        }
    };
    prune(areas_.ktyub, kept_titles_);
    prune(areas_.dod, kept_allowances_);
    prune(areas_.uprc, kept_extended_);
    LogChange(tables_, *areas_.ekprc, number,
              {std::string(kLogRegister), recno_, "NR_PRAC", "", number}, WorkingDay(rt_),
              rt_.operators().ident);
    dbf::WorkArea& prac = *areas_.prac;
    ShowDeleted show(prac);
    if (!prac.Goto(recno_).ok()) Fail(rt_, "PKPRAC");
    if (!prac.Recall().ok()) Fail(rt_, "PKPRAC");
    Release();
}

void Registration::GiveUp() {
    Save();
    Release();
}

void Registration::Release() {
    (void)areas_.prac->Unlock();
    recno_ = 0;
    kept_titles_.clear();
    kept_allowances_.clear();
    kept_extended_.clear();
}

}  // namespace kestrel::registry
