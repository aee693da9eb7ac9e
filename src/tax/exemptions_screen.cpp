#include "tax/exemptions_screen.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"
#include "tax/records/exemptions.h"
#include "tax/records/month_totals.h"
#include "worktime/data/open_once.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using common::BrowseColumn;

constexpr unsigned kMaskOpen = 36;   // kind 3 or kind 6
constexpr unsigned kMaskChange = 4;  // kind 3
constexpr int kEmployeeRow = 7, kListRow = 9, kListTop = 10, kListBottom = 19;
constexpr int kEntryRow = 12, kEntryLabel = 32, kEntryValue = 56;
constexpr int kHintRow = 21;

std::string Amount(double v) {
    return FitAmount(v, 10);
}

class ExemptionsScreen {
  public:
    ExemptionsScreen(common::Runtime& rt, bool can_change)
        : rt_(rt),
          can_change_(can_change),
          tables_(rt),
          plain_(rt.Standard(rt.colours().ycow)),
          year_(ExemptionYear(rt, tables_)),
          prac_(worktime::OpenOnce(tables_, "PKPRAC", {"PKPRAC1", "PKPRAC2"})) {}

    void Run();

  private:
    /// The employee asked for; "" when the operator ends.
    std::string AskEmployee();
    /// The exemptions of the year of every employee; Enter types the
    /// employee's number into the field.
    void PickExempted();
    std::string NameOf(const std::string& number);
    /// The employee's exemptions until Esc.
    void Exemptions(const std::string& employee);
    /// Reads a new exemption; true when one was stored.
    bool Enter(const std::string& employee);
    void Message(const std::string& utf8) { common::ShowMessage(rt_, rt_.Text(utf8)); }

    common::Runtime& rt_;
    const bool can_change_;
    common::Tables tables_;
    console::Attr plain_;
    int year_;
    dbf::WorkArea& prac_;
};

void ExemptionsScreen::Run() {
    auto& s = rt_.screen();
    s.Clear(4, 1, 22, 77, plain_);
    s.Write(5, 22, rt_.Text("7.6. Zwolnienia z podatku dochodowego"), plain_);
    s.Write(5, 66, rt_.Text("Rok: ") + std::to_string(year_), plain_);
    for (;;) {
        const std::string employee = AskEmployee();
        if (employee.empty()) break;
        Exemptions(employee);
    }
    s.Clear(4, 1, 22, 77, plain_);
}

std::string ExemptionsScreen::AskEmployee() {
    auto& s = rt_.screen();
    auto& kb = rt_.console().keyboard();
    for (;;) {
        s.Clear(kEmployeeRow, 1, kHintRow, 77, plain_);
        s.Write(kEmployeeRow, 2, rt_.Text("Pracownik:"), plain_);
        common::WriteLegend(rt_, kHintRow, 2,
                            "<F3>-Pracownicy   <F4>-Istniejące zwolnienia   <F10>-Koniec");
        std::string typed(6, ' ');
        bool end = false;
        common::Form form(rt_);
        form.Get(kEmployeeRow, 13, &typed, "999999");
        common::ReadResult r;
        {
            common::HotKeysAside aside(rt_, {key::F(3), key::F(4), key::F(10)});
            kb.Bind(key::F(3), [&] { common::PickEmployee(rt_, tables_, form.Typed()); });
            kb.Bind(key::F(4), [&] { PickExempted(); });
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
        const std::string name = NameOf(number);
        if (name.empty()) {
            Message("Brak pracownika o tym numerze");
            continue;
        }
        s.Write(kEmployeeRow, 13, number, plain_);
        s.Write(kEmployeeRow, 21, name.substr(0, 56), plain_);
        return number;
    }
}

std::string ExemptionsScreen::NameOf(const std::string& number) {
    const dbf::KeepPosition keep(prac_);
    worktime::OrderBy(prac_, "PKPRAC1");
    if (!prac_.Seek(number).ok() || !prac_.found()) return {};
    std::string name = common::EmployeeName(prac_);
    return name.find_first_not_of(' ') == std::string::npos ? std::string(" ") : name;
}

void ExemptionsScreen::PickExempted() {
    const std::vector<Exemption> all = ExemptionsOf(tables_, year_);
    if (all.empty()) {
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        return;
    }
    std::map<std::string, std::string> names;
    for (const Exemption& e : all)
        if (names.count(e.employee) == 0) names[e.employee] = NameOf(e.employee);
    auto& s = rt_.screen();
    constexpr int top = 8, left = 5, bottom = 21, right = 76;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", plain_);
    common::WriteLegend(rt_, top + 1, left + 3, "<Esc>-Wyjście   <Enter>-Akceptacja");
    int current = 1;
    auto at = [&]() -> const Exemption& { return all[static_cast<size_t>(current - 1)]; };
    std::vector<BrowseColumn> columns = {
        {"NR PRAC", 7, [&] { return at().employee; }},
        {rt_.Text("NAZWISKO, IMIONA"), 26,
         [&] {
             std::string n = names[at().employee];
             n.resize(26, ' ');
             return n;
         }},
        {"     KWOTA", 10, [&] { return Amount(at().amount); }},
        {"DATA", 10, [&] { return base::DateText(at().granted); }},
    };
    common::BrowseList(
        rt_, top + 2, left + 1, bottom - 1, right - 1, std::move(columns),
        [&](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
            const int k = rt_.console().LastKey();
            if (k == key::kEsc) return static_cast<int>(common::kBrowseClose);
            if (k != key::kEnter) return static_cast<int>(common::kBrowseRedrawRow);
            common::TypeIntoField(rt_, at().employee);
            return static_cast<int>(common::kBrowseClose);
        },
        &current, static_cast<int>(all.size()));
    s.Restore(under);
}

void ExemptionsScreen::Exemptions(const std::string& employee) {
    auto& s = rt_.screen();
    int current = 1;
    for (;;) {
        const std::vector<Exemption> list = ExemptionsOf(tables_, year_, employee);
        s.Clear(kListRow, 1, kHintRow, 77, plain_);
        s.Write(kListRow, 2, rt_.Text("Istniejące zwolnienia (kwota  data):"), plain_);
        common::WriteLegend(rt_, kHintRow, 2,
                            can_change_
                                ? "<Ins>-Nowe zwolnienie   <Del>-Kasowanie   <Esc>-Inny pracownik"
                                : "<Esc>-Inny pracownik");
        auto at = [&]() -> const Exemption& { return list[static_cast<size_t>(current - 1)]; };
        std::vector<BrowseColumn> columns = {
            {"     KWOTA", 10, [&] { return list.empty() ? std::string() : Amount(at().amount); }},
            {"DATA", 10,
             [&] { return list.empty() ? std::string() : base::DateText(at().granted); }},
        };
        enum class Next { kDone, kAgain } next = Next::kDone;
        common::BrowseList(
            rt_, kListTop, 2, kListBottom, 27, std::move(columns),
            [&](int mode, int, common::Browse&) {
                if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
                const int k = rt_.console().LastKey();
                if (k == key::kEsc) return static_cast<int>(common::kBrowseClose);
                if (!can_change_) return static_cast<int>(common::kBrowseRedrawRow);
                if (k == key::kIns) {
                    if (!Enter(employee)) return static_cast<int>(common::kBrowseRedrawRow);
                    next = Next::kAgain;
                    return static_cast<int>(common::kBrowseClose);
                }
                if (k == key::kDel && !list.empty()) {
                    if (!common::IsYes(
                            common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n')))
                        return static_cast<int>(common::kBrowseRedrawRow);
                    DeleteExemption(tables_, at().recno);
                    next = Next::kAgain;
                    return static_cast<int>(common::kBrowseClose);
                }
                return static_cast<int>(common::kBrowseRedrawRow);
            },
            &current, static_cast<int>(list.size()));
        if (next == Next::kDone) break;
    }
    s.Clear(kListRow, 1, kHintRow, 77, plain_);
}

bool ExemptionsScreen::Enter(const std::string& employee) {
    auto& s = rt_.screen();
    s.Write(kEntryRow, kEntryLabel, rt_.Text("Data przyznania zwoln.:"), plain_);
    s.Write(kEntryRow + 1, kEntryLabel, rt_.Text("Kwota zwoln.:"), plain_);
    // The working date when it lies in the year, else the year's first day.
    const base::LocalTime& today = rt_.working_date();
    picture::Date granted = today.year == year_ ? base::Date{today.year, today.month, today.day}
                                                : base::Date{year_, 1, 1};
    double amount = 0;
    common::Form form(rt_);
    form.Get(kEntryRow, kEntryValue, &granted).Valid([&] {
        const std::string refusal = ExemptionRefusal(year_, granted, 1);
        if (refusal.empty()) return true;
        Message(refusal);
        return false;
    });
    form.Get(kEntryRow + 1, kEntryValue, &amount, 9, 2, "999999.99").Valid([&] {
        const std::string refusal = ExemptionRefusal(year_, granted, amount);
        if (refusal.empty()) return true;
        Message(refusal);
        return false;
    });
    const bool saved = common::Qrmrdr(rt_, form).saved();
    bool stored = false;
    if (saved) {
        std::string refusal;
        stored = AddExemption(tables_, year_, {employee, granted, amount}, &refusal) != 0;
        if (!stored) Message(refusal);
    }
    s.Clear(kEntryRow, kEntryLabel, kEntryRow + 1, 77, plain_);
    return stored;
}

}  // namespace

void Qrm76(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskOpen)) return;
    ExemptionsScreen screen(rt, common::CheckRights(rt, kMaskChange, false));
    screen.Run();
}

}  // namespace kestrel::tax
