#include "worktime/suspension_dialogs.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/dictionary/code_field.h"
#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/employee_lookup.h"
#include "register/data/employee_record.h"
#include "worktime/absence_dictionaries.h"
#include "worktime/browse_search.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"
#include "worktime/data/suspensions.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr unsigned kRightsEntry = 2;
constexpr int kTitleRow = 4, kMonthRow = 6;
constexpr int kEmployeeRow = 8, kPositionRow = 9, kDepartmentRow = 10;
constexpr int kPeriodRow = 12, kLastRowOffset = 4;
constexpr int kHintRow = 21, kLegendRow = 22;
constexpr int kLabelCol = 2, kNumberCol = 17, kNameCol = 25, kCodeNameCol = 23;

// Where the fields of a suspension stand: the first day at `row`, the
// reason, the planned end and (after a blank row) the last day below it.
struct Place {
    int row = kPeriodRow;
    int label_col = kLabelCol;
    int value_col = 34;
    int name_width = 30;  // of the reason's name, after the reason
};

// Which list a function key opens from the employee-number field.
enum class EmployeeList {
    kRegister,         // F3 the register
    kSuspensions,      // F3 every suspension
    kRegisterAndOpen,  // F3 the register, F4 the open suspensions
};

class SuspensionScreen {
  public:
    SuspensionScreen(common::Runtime& rt, common::Tables& tables, std::string_view title)
        : rt_(rt),
          tables_(tables),
          plain_(rt.Standard(rt.colours().ycow)),
          month_(ReadSettlementMonth(rt, tables)),
          zaw_(rt, tables),
          prac_(OpenOnce(tables, "PKPRAC", {"PKPRAC1", "PKPRAC2"})),
          reasons_(AbsenceCodeFieldOf(rt, "3.7.6")) {
        auto& s = rt_.screen();
        s.Clear(4, 1, 22, 77, plain_);
        s.Write(kTitleRow, 22, rt_.Text(title), plain_);
        s.Write(kMonthRow, kLabelCol, "Rok-mc: " + month_.Text(), plain_);
    }

    // The hints and legends below the work area go with the screen.
    ~SuspensionScreen() { rt_.screen().Clear(kHintRow, 1, kLegendRow, 77, plain_); }
    SuspensionScreen(const SuspensionScreen&) = delete;
    SuspensionScreen& operator=(const SuspensionScreen&) = delete;

    void Suspend();
    void CancelOrCorrect();
    void End();
    void Browse();

  private:
    std::string AskEmployee(EmployeeList list);
    void ShowEmployee();
    /// The employee's open suspension, shown; none (after the message) when
    /// he has none, and none with *end set when the operator ended.
    std::optional<Suspension> AskSuspended(EmployeeList list, bool* end);
    bool NonStaff() { return prac_.record().GetLogical(prac_.FieldIndex("NIE_PRAC")); }
    void ClearFrom(int row) { rt_.screen().Clear(row, 1, 20, 77, plain_); }
    void Labels(const Place& p, bool last_day);
    void ShowSuspension(const Suspension& z, const Place& p = {});
    std::string ReasonName(const std::string& reason);
    bool AskPeriod(Suspension* z, const Place& p, bool last_day);
    void PickSuspension(bool open_only);
    void Message(std::string_view utf8) { common::ShowMessage(rt_, rt_.Text(utf8)); }
    bool Ask(std::string_view utf8, char default_answer) {
        return common::IsYes(common::Question(rt_, rt_.Text(utf8), "tn", default_answer));
    }
    void Refused(SuspendResult r, PeriodFault fault);
    std::string NameOf(const std::string& number);

    common::Runtime& rt_;
    common::Tables& tables_;
    console::Attr plain_;
    SettlementMonth month_;
    Suspensions zaw_;
    dbf::WorkArea& prac_;
    common::CodeField reasons_;
    std::map<std::string, std::string> names_;
};

std::string SuspensionScreen::AskEmployee(EmployeeList list) {
    auto& s = rt_.screen();
    auto& kb = rt_.console().keyboard();
    for (;;) {
        ClearFrom(kEmployeeRow);
        s.Clear(kHintRow, 1, kHintRow, 77, plain_);
        s.Write(kEmployeeRow, kLabelCol, rt_.Text("Nr pracownika:"), plain_);
        if (list == EmployeeList::kSuspensions) {
            common::WriteLegend(rt_, kHintRow, 2, "<F3>-Pracownicy zawieszeni");
        } else {
            common::WriteLegend(rt_, kHintRow, 2, "<F3>-Kartoteka pracowników");
            if (list == EmployeeList::kRegisterAndOpen)
                common::WriteLegend(rt_, kHintRow, 31, "<F4>-Pracownicy \"zawieszeni\"");
        }
        common::WriteLegend(rt_, kHintRow, 64, "<F10>-Koniec");
        std::string typed(6, ' ');
        bool end = false;
        common::Form form(rt_);
        form.Get(kEmployeeRow, kNumberCol, &typed, "999999");
        common::ReadResult r;
        {
            common::HotKeysAside aside(rt_, {key::F(3), key::F(4), key::F(10)});
            kb.Bind(key::F(3), [&] {
                if (list == EmployeeList::kSuspensions)
                    PickSuspension(false);
                else
                    common::PickEmployee(rt_, tables_, form.Typed());
            });
            if (list == EmployeeList::kRegisterAndOpen)
                kb.Bind(key::F(4), [&] { PickSuspension(true); });
            kb.Bind(key::F(10), [&] {
                end = true;
                kb.Push(key::kEsc);
            });
            r = common::Qrmrdr(rt_, form);
        }
        s.Clear(kHintRow, 1, kHintRow, 77, plain_);
        if (end || !r.saved()) return {};
        std::string number;
        if (!registry::NormaliseNumber(typed, &number)) {
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            continue;
        }
        OrderBy(prac_, "PKPRAC1");
        if (!prac_.Seek(number).ok() || !prac_.found() ||
            prac_.record().GetLogical(prac_.FieldIndex("OS_PRAWNA"))) {
            Message("Brak pracownika o tym numerze");
            continue;
        }
        s.Write(kEmployeeRow, kNumberCol, number, plain_);
        ShowEmployee();
        return number;
    }
}

void SuspensionScreen::ShowEmployee() {
    auto& s = rt_.screen();
    s.Write(kEmployeeRow, kNameCol, Cut(common::EmployeeName(prac_), 52), plain_);
    auto coded = [&](int row, const char* label, const char* field) {
        const std::string code = prac_.record().GetString(prac_.FieldIndex(field));
        std::string name;
        if (!base::IsBlank(code)) registry::CheckCode(tables_, field, code, &name);
        s.Write(row, kLabelCol, rt_.Text(label), plain_);
        s.Write(row, kNumberCol, code, plain_);
        s.Write(row, kCodeNameCol, Cut(name, 40), plain_);
    };
    coded(kPositionRow, "Stanowisko:", "STANOW_");
    coded(kDepartmentRow, "Dział:", "DZIAL_");
}

void SuspensionScreen::Labels(const Place& p, bool last_day) {
    auto& s = rt_.screen();
    s.Write(p.row, p.label_col, rt_.Text("Zawieszenie od dnia:"), plain_);
    s.Write(p.row + 1, p.label_col, rt_.Text("Przyczyna zawieszenia:"), plain_);
    s.Write(p.row + 2, p.label_col, rt_.Text("Planowane zawieszenie do dnia:"), plain_);
    if (last_day)
        s.Write(p.row + kLastRowOffset, p.label_col, rt_.Text("Ostatni dzień zawieszenia:"),
                plain_);
}

std::string SuspensionScreen::ReasonName(const std::string& reason) {
    std::string name;
    if (base::IsBlank(reason) || !common::FindCode(rt_, tables_, reasons_, reason, &name))
        return {};
    return name;
}

void SuspensionScreen::ShowSuspension(const Suspension& z, const Place& p) {
    auto& s = rt_.screen();
    Labels(p, !z.open());
    s.Write(p.row, p.value_col, base::DateText(z.start), plain_);
    s.Write(p.row + 1, p.value_col, Cut(z.reason, 2), plain_);
    s.Write(p.row + 1, p.value_col + 4,
            Cut(ReasonName(z.reason), static_cast<size_t>(p.name_width)), plain_);
    s.Write(p.row + 2, p.value_col, base::DateText(z.planned_end), plain_);
    if (!z.open()) s.Write(p.row + kLastRowOffset, p.value_col, base::DateText(z.last_day), plain_);
}

bool SuspensionScreen::AskPeriod(Suspension* z, const Place& p, bool last_day) {
    Labels(p, last_day);
    const bool was_ended = !z->open();
    picture::Date start = z->start, planned = z->planned_end, last = z->last_day;
    std::string reason = Cut(z->reason, 2);
    auto period = [&] {
        Suspension t = *z;
        t.start = start;
        t.planned_end = planned;
        t.last_day = last_day ? last : z->last_day;
        return t;
    };
    auto refuse = [&](PeriodFault f) {
        if (f == PeriodFault::kNone) return true;
        Message(PeriodFaultMessage(f));
        return false;
    };
    for (;;) {
        common::Form form(rt_);
        common::CodePickers pickers(rt_, tables_, form);
        form.Get(p.row, p.value_col, &start).Valid([&] {
            return refuse(start.empty() ? PeriodFault::kNoStart : PeriodFault::kNone);
        });
        form.Get(p.row + 1, p.value_col, &reason, "@!");
        common::CodeField field = reasons_;
        field.name_width = p.name_width;
        pickers.Attach(1, field, &reason, p.row + 1, p.value_col + 4);
        form.Get(p.row + 2, p.value_col, &planned).Valid([&] {
            return refuse(CheckPeriod(period()) == PeriodFault::kPlannedBeforeStart
                              ? PeriodFault::kPlannedBeforeStart
                              : PeriodFault::kNone);
        });
        if (last_day) {
            form.Get(p.row + kLastRowOffset, p.value_col, &last).Valid([&] {
                // An ended suspension keeps a last day; an open one may get one.
                if (last.empty())
                    return refuse(was_ended ? PeriodFault::kNoLastDay : PeriodFault::kNone);
                return refuse(CheckLastDay(period(), last));
            });
        }
        if (!common::Qrmrdr(rt_, form).saved()) return false;
        // The first day may have moved after the later fields were checked.
        const Suspension t = period();
        const PeriodFault f = CheckPeriod(t);
        if (!refuse(f)) continue;
        *z = t;
        z->reason = reason;
        return true;
    }
}

void SuspensionScreen::Refused(SuspendResult r, PeriodFault fault) {
    switch (r) {
        case SuspendResult::kDone:
            return;
        case SuspendResult::kAlreadySuspended:
            Message("Pracownik jest już zawieszony");
            return;
        case SuspendResult::kNotSuspended:
            Message("Pracownik nie jest zawieszony");
            return;
        case SuspendResult::kBadPeriod:
            Message(PeriodFaultMessage(fault));
            return;
    }
}

void SuspensionScreen::Suspend() {
    for (;;) {
        const std::string number = AskEmployee(EmployeeList::kRegister);
        if (number.empty()) return;
        if (NonStaff()) {
            Message("Pracownik \"nieetatowy\"");
            continue;
        }
        if (const std::optional<Suspension> open = zaw_.OpenOf(number)) {
            ShowSuspension(*open);
            Message("Pracownik jest już zawieszony");
            continue;
        }
        if (!zaw_.Reserve(number)) continue;
        Suspension z;
        z.number = number;
        if (!AskPeriod(&z, Place{}, false)) {
            zaw_.Release();
            Message("Kartot.pracown.pozostaje bez zmian");
            continue;
        }
        if (!InMonth(z.start, month_)) Message("Data zawieszenia z innego miesiąca");
        if (!Ask("\"Zawiesić\" pracownika?", 't')) {
            zaw_.Release();
            Message("Kartot.pracown.pozostaje bez zmian");
            continue;
        }
        const SuspendResult r = zaw_.Confirm(z);
        if (r == SuspendResult::kDone)
            Message("Pracownik zawieszony");
        else
            Refused(r, CheckPeriod(z));
    }
}

std::optional<Suspension> SuspensionScreen::AskSuspended(EmployeeList list, bool* end) {
    const std::string number = AskEmployee(list);
    *end = number.empty();
    if (*end) return std::nullopt;
    const std::optional<Suspension> open = zaw_.OpenOf(number);
    if (!open) {
        Message("Pracownik nie jest zawieszony");
        return std::nullopt;
    }
    ShowSuspension(*open);
    return open;
}

void SuspensionScreen::CancelOrCorrect() {
    auto& kb = rt_.console().keyboard();
    for (;;) {
        bool end = false;
        const std::optional<Suspension> open = AskSuspended(EmployeeList::kSuspensions, &end);
        if (end) return;
        if (!open) continue;
        common::WriteLegend(rt_, kHintRow, 2, "<F8>-Anulacja zawieszenia");
        bool cancel = false;
        bool correct = false;
        {
            common::HotKeysAside aside(rt_, {key::F(8)});
            kb.Bind(key::F(8), [&] {
                cancel = true;
                kb.Push(key::kEsc);
            });
            correct = Ask("Korygować?", 'n');
        }
        rt_.screen().Clear(kHintRow, 1, kHintRow, 77, plain_);
        if (cancel) {
            if (!Ask("Anulować zawiesz.pracown.?", 'n')) {
                Message("Rekord pozostaje");
            } else if (zaw_.Cancel(open->recno)) {
                Message("Rekord skasowany");
            } else {
                Message("Pracownik nie jest zawieszony");
            }
            continue;
        }
        Suspension z = *open;
        if (!correct || !AskPeriod(&z, Place{}, false)) {
            Message("Dane pozostają bez zmian");
            continue;
        }
        if (!InMonth(z.start, month_)) Message("Data zawieszenia z innego miesiąca");
        const SuspendResult r = zaw_.Correct(z);
        if (r == SuspendResult::kDone)
            Message("Koniec korekty");
        else
            Refused(r, CheckPeriod(z));
    }
}

void SuspensionScreen::End() {
    for (;;) {
        bool end = false;
        const std::optional<Suspension> open = AskSuspended(EmployeeList::kRegisterAndOpen, &end);
        if (end) return;
        if (!open) continue;
        const Place p;
        rt_.screen().Write(p.row + kLastRowOffset, p.label_col,
                           rt_.Text("Ostatni dzień zawieszenia:"), plain_);
        picture::Date last{};
        common::Form form(rt_);
        form.Get(p.row + kLastRowOffset, p.value_col, &last).Valid([&] {
            const PeriodFault f = CheckLastDay(*open, last);
            if (f == PeriodFault::kNone) return true;
            Message(PeriodFaultMessage(f));
            return false;
        });
        if (!common::Qrmrdr(rt_, form).saved()) {
            Message("Dane pozostają bez zmian");
            continue;
        }
        if (!InMonth(last, month_)) Message("\"Ostatni dz.\" z innego miesiąca");
        if (!Ask("Akceptujesz dane?", 't')) {
            Message("Dane pozostają bez zmian");
            continue;
        }
        const SuspendResult r = zaw_.End(open->recno, last);
        if (r == SuspendResult::kDone)
            Message("Dane zaakceptowane");
        else
            Refused(r, CheckLastDay(*open, last));
    }
}

std::string SuspensionScreen::NameOf(const std::string& number) {
    const auto it = names_.find(number);
    if (it != names_.end()) return it->second;
    OrderBy(prac_, "PKPRAC1");
    std::string name =
        prac_.Seek(number).ok() && prac_.found() ? common::EmployeeName(prac_) : std::string();
    names_[number] = name;
    return name;
}

// The list of suspensions opened from the employee-number field: Enter
// gives the number to the field.
void SuspensionScreen::PickSuspension(bool open_only) {
    const std::vector<Suspension> rows = zaw_.All(open_only);
    std::string chosen;
    {
        common::WindowState keep(rt_, tables_.workspace());
        common::HotKeysAside aside(rt_, {key::F(3), key::F(4), key::F(10)});
        auto& s = rt_.screen();
        s.Clear(8, 5, 22, 74, plain_);
        s.Box(8, 5, 22, 74, console::kFrameDouble, plain_);
        common::WriteLegend(rt_, 9, 20, "<Esc>-Wyjście      <Enter>-Akceptacja");
        int current = 1;
        auto at = [&]() -> const Suspension& { return rows[static_cast<size_t>(current - 1)]; };
        auto cell = [&](auto fn) {
            return [&, fn]() -> std::string { return rows.empty() ? std::string() : fn(at()); };
        };
        std::vector<common::BrowseColumn> columns = {
            {"NR PRAC", 7, cell([](const Suspension& z) { return z.number; })},
            {rt_.Text("NAZWISKO, IMIONA"), 28,
             cell([&](const Suspension& z) { return Cut(NameOf(z.number), 28); })},
            {rt_.Text("DATA ZAW."), 10,
             cell([](const Suspension& z) { return base::DateText(z.start); })},
            {rt_.Text("OSTATNI DZIEŃ"), 13,
             cell([](const Suspension& z) { return base::DateText(z.last_day); })},
        };
        common::BrowseList(
            rt_, 10, 6, 21, 73, std::move(columns),
            [&](int mode, int, common::Browse&) {
                if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
                const int k = rt_.console().LastKey();
                if (k == key::kEsc) return static_cast<int>(common::kBrowseClose);
                if (k != key::kEnter) return static_cast<int>(common::kBrowseRedrawRow);
                if (rows.empty()) {
                    rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                    return static_cast<int>(common::kBrowseRedrawRow);
                }
                chosen = at().number;
                return static_cast<int>(common::kBrowseClose);
            },
            &current, static_cast<int>(rows.size()));
    }
    if (!chosen.empty()) common::TypeIntoField(rt_, chosen);
}

void SuspensionScreen::Browse() {
    auto& s = rt_.screen();
    int current = 1;
    for (;;) {
        const std::vector<Suspension> rows = zaw_.All();
        if (current > static_cast<int>(rows.size())) current = static_cast<int>(rows.size());
        if (current < 1) current = 1;
        ClearFrom(7);
        s.Clear(kHintRow, 1, kLegendRow, 77, plain_);
        common::WriteLegend(rt_, kLegendRow, 2,
                            "<Esc>-Wyjście     <Enter>-Korekta     <Del>-Kasowanie");
        auto at = [&]() -> const Suspension& { return rows[static_cast<size_t>(current - 1)]; };
        auto show_name = [&] {
            s.Clear(kHintRow, 1, kHintRow, 77, plain_);
            if (rows.empty()) return;
            s.Write(kHintRow, 2, rt_.Text("Pracownik:"), plain_);
            s.Write(kHintRow, 13, Cut(NameOf(at().number), 60), plain_);
        };
        auto cell = [&](auto fn) {
            return [&, fn]() -> std::string { return rows.empty() ? std::string() : fn(at()); };
        };
        auto date = [](const base::Date& d) { return base::DateText(d); };
        std::vector<common::BrowseColumn> columns = {
            {"NR PRAC", 7, cell([](const Suspension& z) { return z.number; })},
            {rt_.Text("DATA ZAW."), 10, cell([&](const Suspension& z) { return date(z.start); })},
            {rt_.Text("PRZYCZ.ZAW."), 11,
             cell([](const Suspension& z) { return Cut(z.reason, 11); })},
            {rt_.Text("TERMIN ZAW."), 11,
             cell([&](const Suspension& z) { return date(z.planned_end); })},
            {rt_.Text("OSTATNI DZIEŃ ZAW."), 18,
             cell([&](const Suspension& z) { return date(z.last_day); })},
        };
        show_name();
        enum class After { kLeave, kReload } after = After::kLeave;
        common::BrowseList(
            rt_, 7, 2, 20, 77, std::move(columns),
            [&](int mode, int, common::Browse&) {
                show_name();
                if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
                const int k = rt_.console().LastKey();
                if (k == key::kEsc) return static_cast<int>(common::kBrowseClose);
                if ((k != key::kEnter && k != key::kDel) || rows.empty())
                    return static_cast<int>(common::kBrowseRedrawRow);
                const console::ScreenRegion saved = s.Save(10, 5, 20, 74);
                if (k == key::kDel) {
                    if (!Ask("Anulować zawiesz.pracown.?", 'n'))
                        Message("Rekord pozostaje");
                    else if (zaw_.Cancel(at().recno))
                        Message("Rekord skasowany");
                } else {
                    s.Clear(10, 5, 20, 74, plain_);
                    s.Box(10, 5, 20, 74, console::kFrameDouble, plain_);
                    s.Write(11, 8, at().number + " " + Cut(NameOf(at().number), 40), plain_);
                    Place p;
                    p.row = 13;
                    p.label_col = 8;
                    p.value_col = 40;
                    p.name_width = 28;
                    Suspension z = at();
                    ShowSuspension(z, p);
                    if (!AskPeriod(&z, p, true)) {
                        Message("Dane pozostają bez zmian");
                    } else {
                        const SuspendResult r = zaw_.Correct(z);
                        if (r == SuspendResult::kDone)
                            Message("Koniec korekty");
                        else
                            Refused(r, CheckPeriod(z));
                    }
                }
                s.Restore(saved);
                after = After::kReload;
                return static_cast<int>(common::kBrowseClose);
            },
            &current, static_cast<int>(rows.size()));
        if (after == After::kLeave) return;
    }
}

template <typename Fn>
void Entry(common::Runtime& rt, Fn fn) {
    if (!common::CheckRights(rt, kRightsEntry)) return;
    common::Tables tables(rt);
    fn(rt, tables);
}

}  // namespace

void SuspendEmployees(common::Runtime& rt, common::Tables& tables) {
    SuspensionScreen(rt, tables, "3.9.2. Zawieszanie pracownika").Suspend();
}

void CancelOrCorrectSuspensions(common::Runtime& rt, common::Tables& tables) {
    SuspensionScreen(rt, tables, "3.9.3. Anulacja/Korekta zawieszenia pracownika")
        .CancelOrCorrect();
}

void EndSuspensions(common::Runtime& rt, common::Tables& tables) {
    SuspensionScreen(rt, tables, "3.9.4. Rejestracja zakończenia okresu zawieszenia").End();
}

void BrowseSuspensions(common::Runtime& rt, common::Tables& tables) {
    SuspensionScreen(rt, tables, "3.9.5. Przeglądanie zawieszonych pracowników").Browse();
}

void Qrm392(common::Runtime& rt) {
    Entry(rt, SuspendEmployees);
}
void Qrm393(common::Runtime& rt) {
    Entry(rt, CancelOrCorrectSuspensions);
}
void Qrm394(common::Runtime& rt) {
    Entry(rt, EndSuspensions);
}
void Qrm395(common::Runtime& rt) {
    Entry(rt, BrowseSuspensions);
}

void Qrm39(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Zawieszanie pracownika"), [&rt] { Qrm392(rt); }},
        {rt.Text("Anulacja/Korekta zawieszenia pracownika"), [&rt] { Qrm393(rt); }},
        {rt.Text("Rejestracja zakończenia okresu zawieszenia"), [&rt] { Qrm394(rt); }},
        {rt.Text("Przeglądanie zawieszonych pracowników"), [&rt] { Qrm395(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("3.9. Pracownicy \"zawieszeni\""), "3.9.", items, {8, 26});
}

}  // namespace kestrel::worktime
