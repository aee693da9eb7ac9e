#include "register/update_dialog.h"

#include <algorithm>
#include <cstdio>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_registration.h"
#include "register/employee_pages.h"
#include "register/field_history_window.h"
#include "register/leading_record.h"
#include "register/number_entry.h"
#include "register/update_pages.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr unsigned kRightsUpdate = 17;

// A field whose values can be written as text.
bool Rememberable(const EmployeeRecord& e, const std::string& field) {
    const int i = e.FieldIndex(field);
    if (i < 0) return false;
    switch (e.stored().fields()[static_cast<size_t>(i)].type) {
        case dbf::FieldType::kCharacter:
        case dbf::FieldType::kNumeric:
        case dbf::FieldType::kDate:
        case dbf::FieldType::kLogical:
            return true;
        default:
            return false;
    }
}

}  // namespace

// --- UpdateSession ----------------------------------------------------------

UpdateSession::UpdateSession(common::Runtime& rt, common::Tables& tables,
                             const RegisterAreas& areas, uint32_t recno)
    : rt_(rt), tables_(tables), areas_(areas) {
    dbf::WorkArea& prac = *areas_.prac;
    if (!prac.Goto(recno).ok() || prac.eof())
        throw common::Abandon(rt_.Text("Brak pracownika o tym numerze"));
    tables_.RLock(prac);
    locked_ = true;
    // Struck off between the question and the lock.
    if (prac.deleted()) {
        Release();
        throw common::Abandon(rt_.Text("Brak pracownika o tym numerze"));
    }
    before_ = TakeSnapshot(areas_);
    record_ = before_.record;
}

UpdateSession::~UpdateSession() {
    if (!locked_) return;
    // The update was abandoned on its way (an error or an abandon from a
    // nested dialog): what its pages wrote goes back to the snapshot, so
    // that no change stays without its log entry. The lock goes either way.
    try {
        Undo();
    } catch (...) {
    }
    Release();
}

void UpdateSession::Release() {
    if (!locked_) return;
    locked_ = false;
    (void)areas_.prac->Unlock();
}

void UpdateSession::Save() {
    dbf::WorkArea& prac = *areas_.prac;
    if (!locked_ || !prac.Goto(before_.recno).ok() || !WriteEmployee(prac, record_).ok())
        throw common::Abandon(rt_.Text("Błąd zapisu: PKPRAC"));
}

Snapshot UpdateSession::Now() {
    (void)areas_.prac->Goto(before_.recno);
    return TakeSnapshot(areas_);
}

bool UpdateSession::Differs() {
    return SnapshotDiffers(before_, Now());
}

void UpdateSession::Undo() {
    RestoreSnapshot(tables_, areas_, before_);
    record_ = before_.record;
}

UpdateSession::Outcome UpdateSession::Commit() {
    if (!Differs()) {
        Release();
        common::ShowMessage(rt_, rt_.Text("Koniec aktualizacji"));
        return Outcome::kUnchanged;
    }
    if (!common::IsYes(common::Question(rt_, rt_.Text("Zatwierdzić zmiany ?"), "tn", 'T'))) {
        Undo();
        Release();
        common::ShowMessage(rt_, rt_.Text("Poprawki odrzucone"));
        return Outcome::kRejected;
    }
    Confirm();
    return Outcome::kConfirmed;
}

void UpdateSession::Confirm() {
    const Snapshot now = Now();
    Release();
    // The log is written before anything waits for the operator.
    LogUpdate(tables_, areas_, before_, now, WorkingDay(rt_), rt_.operators().ident);
    common::ShowMessage(rt_, rt_.Text("Korekty zatwierdzone"));
    const std::vector<std::string> fields = HistoryFields(now.record.ChangedFields(before_.record));
    if (fields.empty()) return;
    dbf::WorkArea* ster = tables_.workspace().Select("PKSTER");
    OfferHistory(rt_, tables_, *areas_.zmprc, before_.record, fields,
                 HistoryCutOff(ster, WorkingDay(rt_)));
}

// --- QRMZAPH ----------------------------------------------------------------

bool OfferHistory(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& zmprc,
                  const EmployeeRecord& before, const std::vector<std::string>& fields,
                  const std::string& cut_off) {
    const bool several = fields.size() > 1;
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(7, 15, 17, 64);
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    constexpr int kTop = 7, kLeft = 15, kBottom = 17, kRight = 64;
    s.Clear(kTop, kLeft, kBottom, kRight, plain);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", plain);
    auto centred = [&](int row, const std::string& cp852, console::Attr attr) {
        const int width = 46;
        const int col = kLeft + 2 + std::max(0, (width - static_cast<int>(cp852.size())) / 2);
        s.Write(row, col, cp852.substr(0, width), attr);
    };
    centred(8, rt.Text(several ? "Wartości pól:" : "Wartość pola:"), plain);
    centred(9, ChangedFieldsLine(fields), rt.Standard(rt.colours().ycowp));
    centred(10, rt.Text(several ? "zostały zmienione." : "została zmieniona."), plain);
    centred(12,
            rt.Text(several ? "Można zapamiętać poprzednie wartości tych pól,"
                            : "Można zapamiętać poprzednią wartość tego pola,"),
            plain);
    centred(13,
            rt.Text(several ? "z datą, do kiedy te wartości występowały."
                            : "z datą, do kiedy ta wartość występowała."),
            plain);
    common::WriteLegend(rt, 16, kLeft + 2, "<Esc>-Pomiń ten krok");
    const std::string label = rt.Text("Data graniczna \"starych\" danych:");
    s.Write(15, kLeft + 2, label, plain);

    picture::Date until = base::DateOfDbfText(cut_off);
    common::Form form(rt);
    form.Get(15, kLeft + 3 + static_cast<int>(label.size()), &until).Valid([&] {
        if (!until.empty()) return true;
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    });
    const common::ReadResult r = common::Qrmrdr(rt, form);
    s.Restore(under);
    if (!r.saved()) {
        common::ShowMessage(rt, rt.Text(several ? "Zapis \"historii\" pól został pominięty"
                                                : "Zapis \"historii\" pola został pominięty"));
        return false;
    }
    std::vector<std::string> writable;
    bool failed = false;
    for (const std::string& f : fields) {
        if (Rememberable(before, f)) {
            writable.push_back(f);
        } else {
            failed = true;
        }
    }
    RememberOldValues(tables, zmprc, before, writable, base::DbfDateText(until));
    if (failed) {
        common::ShowMessage(rt, rt.Text(several ? "Błąd podczas zapisu \"historii\" pól"
                                                : "Błąd podczas zapisu \"historii\" pola"));
        return false;
    }
    common::ShowMessage(rt, rt.Text(several ? "\"Historia\" pól została zapisana"
                                            : "\"Historia\" pola została zapisana"));
    return true;
}

// --- The dialog -------------------------------------------------------------

void UpdateEmployees(common::Runtime& rt, common::Tables& tables) {
    UpdateDialog dialog(rt, tables);
    dialog.Run();
}

void Qrm24(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsUpdate)) return;
    common::Tables tables(rt);
    UpdateEmployees(rt, tables);
}

}  // namespace kestrel::registry
