#include "register/registration_dialog.h"

#include <string>
#include <vector>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/console/keys.h"
#include "register/allowances.h"
#include "register/data/employee.h"
#include "register/employee_pages.h"
#include "register/insurance_titles.h"
#include "register/leading_record.h"

namespace kestrel::registry {

namespace key = console::key;

namespace {

constexpr int kTitleRow = 5, kNumberRow = 6, kHintRow = 21;
constexpr int kLabelCol = 9, kNumberCol = 27, kCaptionCol = 56;

class RegistrationDialog {
  public:
    RegistrationDialog(common::Runtime& rt, common::Tables& tables)
        : rt_(rt), tables_(tables), areas_(OpenRegister(tables)) {
        short_card_ = rt_.config().Logical("NAGLKTSNE");
        dbf::WorkArea& ster = tables_.Open("PKSTER");
        ReferenceMonth(&ster, WorkingDay(rt_), &ref_year_, &ref_month_);
        // The capital-plan refresh after a registration will want to know
        // whether PKSTER is empty or dated before 2000; it plugs in with the
        // PPK module (see Finish).
    }

    void Run() {
        for (;;) {
            std::string number;
            if (!AskNumber(&number)) return;
            Registration reg(rt_, tables_, areas_);
            if (reg.Reserve(number) == ReserveResult::kExists) {
                common::ShowMessage(rt_, rt_.Text("Istnieje pracownik o tym numerze"));
                continue;
            }
            Fill(reg);
        }
    }

  private:
    console::Attr Plain() const { return rt_.Standard(rt_.colours().ycow); }

    void DrawTitle() {
        auto& s = rt_.screen();
        s.Clear(kTitleRow, 1, kHintRow, 77, Plain());
        s.Write(kTitleRow, 22, rt_.Text("2.2. Rejestracja nowego pracownika / osoby prawnej"),
                Plain());
    }

    void DrawNumberRow() {
        auto& s = rt_.screen();
        s.Clear(kNumberRow, 1, kNumberRow, 77, Plain());
        s.Write(kNumberRow, kLabelCol, rt_.Text(NumberLabel(kind_)), Plain());
        s.Write(kNumberRow, kCaptionCol, rt_.Text(KindCaption(kind_)),
                rt_.Standard(rt_.colours().ycowp));
    }

    // The number screen; false when the operator leaves the dialog.
    bool AskNumber(std::string* number) {
        for (;;) {
            template_number_.clear();
            DrawTitle();
            DrawNumberRow();
            common::WriteLegend(rt_, kHintRow, 1,
                                "<F1>-Zmiana typu kartoteki     <F3>-Istniejące rekordy    "
                                "<F10>-Koniec");
            std::string typed = ProposeNumber(*areas_.prac, kind_, [this] {
                common::WriteMessage(rt_, rt_.Text("Szukanie wolnego numeru"), Plain());
            });
            common::ClearMessageRow(rt_);
            enum class Action { kNone, kCycle, kEnd } action = Action::kNone;
            common::Form form(rt_);
            form.Get(kNumberRow, kNumberCol, &typed, "999999").Valid([&] {
                std::string n;
                if (NormaliseNumber(typed, &n)) return true;
                rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                return false;
            });
            auto& kb = rt_.console().keyboard();
            auto old1 = kb.Bind(key::F(1), [&] {
                action = Action::kCycle;
                kb.Push(key::kEsc);
            });
            auto old10 = kb.Bind(key::F(10), [&] {
                action = Action::kEnd;
                kb.Push(key::kEsc);
            });
            auto old3 = kb.Bind(key::F(3), [&] { PickTemplate(form); });
            const common::ReadResult r = common::Qrmrdr(rt_, form);
            kb.Bind(key::F(1), old1);
            kb.Bind(key::F(10), old10);
            kb.Bind(key::F(3), old3);
            if (action == Action::kCycle) {
                kind_ = NextKind(kind_);
                continue;
            }
            if (!r.saved()) return false;
            if (!NormaliseNumber(typed, number)) continue;
            return true;
        }
    }

    // F3 on the number: the existing records; Enter takes the chosen one as
    // the template and accepts the number as it stands.
    void PickTemplate(common::Form& form) {
        auto& kb = rt_.console().keyboard();
        if (!common::PickEmployee(
                rt_, tables_, form.Typed(), nullptr,
                "<Esc>-Wyjście  <F2>-Szukanie  <Enter>-Wzorzec tworzenia nowego rekordu"))
            return;
        // The pick types the chosen number into the field; it is the
        // template's, not the new record's.
        std::string chosen;
        while (!kb.Empty()) {
            const int k = *kb.Take();
            if (k >= '0' && k <= '9') chosen += static_cast<char>(k);
        }
        template_number_ = chosen;
        kb.Push(key::kCtrlEnd);
    }

    PageContext Context(const Registration& reg) {
        PageContext ctx{rt_, tables_};
        ctx.prac = areas_.prac;
        ctx.recno = reg.recno();
        ctx.short_card = short_card_;
        ctx.ref_year = ref_year_;
        ctx.ref_month = ref_month_;
        return ctx;
    }

    void Fill(Registration& reg) {
        reg.ApplyDefaults(kind_);
        if (!template_number_.empty()) {
            dbf::WorkArea& prac = *areas_.prac;
            if (SeekEmployee(prac, template_number_)) {
                kind_ = reg.CopyTemplate(ReadEmployee(prac));
                DrawNumberRow();
                rt_.screen().Write(kNumberRow, kNumberCol, reg.record().number(), Plain());
            }
        }
        if (kind_ == EmployeeKind::kLegalPerson) {
            LegalPerson(reg);
        } else {
            Person(reg);
        }
    }

    void LegalPerson(Registration& reg) {
        PageContext ctx = Context(reg);
        if (EnterPage(ctx, Page::kLegalPerson, &reg.record()) == PageExit::kEscape) {
            reg.GiveUp();
            common::ShowMessage(rt_, rt_.Text("Os.prawna skasowana"));
            return;
        }
        if (!common::IsYes(
                common::Question(rt_, rt_.Text("Zarejestrować os.prawną?"), "tn", 't'))) {
            reg.GiveUp();
            common::ShowMessage(rt_, rt_.Text("Dane skasowane"));
            return;
        }
        reg.Confirm();
        common::ShowMessage(rt_, rt_.Text("Os.prawna zarejestrowana"));
    }

    void Abandoned(Registration& reg) {
        reg.GiveUp();
        common::ShowMessage(rt_, rt_.Text("Pracownik skasowany"));
    }

    void Person(Registration& reg) {
        std::vector<Page> pages = PagesOf(kind_, short_card_);
        size_t i = 0;
        while (i < pages.size()) {
            PageContext ctx = Context(reg);
            DrawPageHeading();
            const PageExit exit = EnterPage(ctx, pages[i], &reg.record());
            switch (exit) {
                case PageExit::kEscape:
                    return Abandoned(reg);
                case PageExit::kSwitchCard:
                    short_card_ = !short_card_;
                    pages = PagesOf(kind_, short_card_);
                    continue;
                case PageExit::kPrevious:
                    if (i > 0) --i;
                    continue;
                case PageExit::kNext:
                    break;
            }
            if (pages[i] == Page::kTitle) {
                std::vector<uint32_t> written;
                const bool done = EnterTitles(ctx, *areas_.ktyub, reg.record(), &written);
                for (uint32_t recno : written) reg.KeepTitle(recno);
                if (!done) return Abandoned(reg);
            }
            ++i;
        }
        const bool short_form = short_card_ && kind_ != EmployeeKind::kStaff;
        if (!short_form) {
            // Screen 9; the allowances and deductions of an earlier holder
            // of the number do not pass to the new person.
            DrawPageHeading();
            PageContext ctx = Context(reg);
            std::vector<uint32_t> written;
            const bool done = EnterAllowances(ctx, *areas_.dod, reg.record(), true, &written);
            for (uint32_t recno : written) reg.KeepAllowance(recno);
            if (!done) return Abandoned(reg);
            // The extended structure screen plugs in here: when PKUMTR is
            // not empty and the operator holds right 16, it runs before the
            // confirmation, its values kept through reg.KeepExtended().
        }
        if (!common::IsYes(
                common::Question(rt_, rt_.Text("Zarejestrować pracownika?"), "tn", 't'))) {
            reg.GiveUp();
            common::ShowMessage(rt_, rt_.Text("Dane skasowane"));
            return;
        }
        Finish(reg, !short_form);
    }

    void Finish(Registration& reg, bool full_card) {
        const std::string pesel = reg.record().pesel();
        reg.Confirm();
        // The insurance registration document plugs in here for the full
        // card: "Tworzyć dokument ZUS ZUA ?" when a pension, disability,
        // sickness or accident insurance is chosen, else "Tworzyć dokument
        // ZUS ZZA ?" for health insurance alone, calling the generator with
        // TYTUL_PODM+TYTUL_EMER+TYTUL_STNP and today's date. Until the
        // generator exists the question is not asked.
        (void)full_card;
        common::ShowMessage(rt_, rt_.Text("Pracownik zarejestrowany"));
        if (!pesel.empty()) LeadingRecordWindow(rt_, tables_, *areas_.prac, pesel);
        // The capital-plan refresh of the PESEL plugs in here (NAGLPPK20 set
        // and a settlement year from 2000 on).
    }

    void DrawPageHeading() {
        DrawTitle();
        common::ClearMessageRow(rt_);
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    RegisterAreas areas_;
    EmployeeKind kind_ = EmployeeKind::kStaff;
    bool short_card_ = false;
    int ref_year_ = 0, ref_month_ = 0;
    std::string template_number_;
};

}  // namespace

void RunRegistration(common::Runtime& rt, common::Tables& tables) {
    RegistrationDialog dialog(rt, tables);
    dialog.Run();
}

void Qrm22(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsRegister)) return;
    common::Tables tables(rt);
    RunRegistration(rt, tables);
}

}  // namespace kestrel::registry
