#include "worktime/time_entry_dialog.h"

#include <cstdio>
#include <memory>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/formula/transform.h"
#include "register/data/employee_record.h"
#include "register/data/formula_symbols.h"
#include "worktime/absence_entry_dialog.h"
#include "worktime/code_pick.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/computed_codes.h"
#include "worktime/data/formula_host.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"
#include "worktime/data/time_lines.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr unsigned kRightsEntry = 2;
constexpr int kMonthRow = 6, kEmployeeRow = 7, kBrigadeRow = 8;
constexpr int kHeadingRow = 10, kFirstLineRow = 11, kLastLineRow = 19;
constexpr int kEntryRow = 20, kHintRow = 21, kTotalsRow = 22;
constexpr int kValueCol = 15, kNameCol = 23;
constexpr int kCodeCol = 2, kLineNameCol = 16, kTypeCol = 38, kAccountCol = 44, kHoursCol = 57;
constexpr int kEntryCodeCol = 6, kEntryHoursCol = 60;

std::string Hours(double h, int width = 9) {
    char s[32];
    std::snprintf(s, sizeof s, "%*.2f", width, h);
    return s;
}

class TimeEntryDialog {
  public:
    TimeEntryDialog(common::Runtime& rt, common::Tables& tables)
        : rt_(rt),
          tables_(tables),
          plain_(rt.Standard(rt.colours().ycow)),
          accounts_(rt.config().Logical("NAGLKKCZAS")),
          mask_(rt.config().Text("NAGLMSKON")) {}

    void Run() {
        month_ = ReadSettlementMonth(rt_, tables_);
        prac_ = &OpenOnce(tables_, "PKPRAC", {"PKPRAC1", "PKPRAC2"});
        grupy_ = &OpenOnce(tables_, "PKGRUPY", {"PKGRUPY1"});
        kalen_ = &OpenOnce(tables_, "PKKALEN", {"PKKALEN1"});
        sbrg_ = &OpenOnce(tables_, "PKSBRG", {"PKSBRG1"});
        if (accounts_) sksz_ = &OpenOnce(tables_, "PKSKSZT", {"PKSKSZT1"});
        lines_ = std::make_unique<TimeLines>(rt_, tables_, month_);
        host_ = std::make_unique<FormulaHost>(rt_, tables_);
        auto& s = rt_.screen();
        s.Clear(4, 1, 22, 77, plain_);
        s.Write(5, 22, rt_.Text("3.3. Wprowadzanie czasu pracy"), plain_);
        s.Write(kMonthRow, 2, rt_.Text("Rok-miesiac:"), plain_);
        s.Write(kMonthRow, kValueCol, month_.Text(), plain_);
        for (const std::string& m : host_->Prepare()) common::ShowMessage(rt_, m);
        codes_ = std::make_unique<ComputedCodes>(*host_, tables_);
        while (AskEmployee()) {
            if (!CalendarReady()) continue;
            host_->LoadEmployee(number_, month_);
            month_lines_ = lines_->LinesOf(number_);
            ShowBrigade();
            if (month_lines_.empty()) AskBrigade();
            EnterLines();
            Finish();
            ClearEmployee();
        }
    }

  private:
    // --- employee ------------------------------------------------------------
    bool AskEmployee() {
        auto& s = rt_.screen();
        s.Write(kEmployeeRow, 2, rt_.Text("Pracownik:"), plain_);
        s.Clear(kHintRow, 1, kHintRow, 77, plain_);
        common::WriteLegend(rt_, kHintRow, 2, "<F3>-Kartoteka pracowników");
        common::WriteLegend(rt_, kHintRow, 40, "<F10>-Koniec");
        for (;;) {
            std::string typed(6, ' ');
            bool end = false;
            common::Form form(rt_);
            form.Get(kEmployeeRow, kValueCol, &typed, "999999");
            common::ReadResult r;
            {
                auto& kb = rt_.console().keyboard();
                common::HotKeysAside aside(rt_, {key::F(3), key::F(10)});
                kb.Bind(key::F(3), [&] { common::PickEmployee(rt_, tables_, form.Typed()); });
                kb.Bind(key::F(10), [&] {
                    end = true;
                    kb.Push(key::kEsc);
                });
                r = common::Qrmrdr(rt_, form);
            }
            if (end || !r.saved()) return false;
            std::string number;
            if (!registry::NormaliseNumber(typed, &number)) {
                rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                continue;
            }
            OrderBy(*prac_, "PKPRAC1");
            if (!prac_->Seek(number).ok() || !prac_->found() ||
                prac_->record().GetLogical(prac_->FieldIndex("OS_PRAWNA"))) {
                common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym numerze"));
                continue;
            }
            number_ = number;
            group_ = prac_->record().GetString(prac_->FieldIndex("GRUPA_KAL"));
            nazwx_ = prac_->record().GetString(prac_->FieldIndex("NAZWX_"));
            s.Write(kEmployeeRow, kValueCol, number_, plain_);
            s.Clear(kEmployeeRow, kNameCol, kEmployeeRow, 77, plain_);
            s.Write(kEmployeeRow, kNameCol, base::Padded(common::EmployeeName(*prac_), 55), plain_);
            return true;
        }
    }

    bool CalendarReady() {
        if (base::IsBlank(group_) || !FindCalendarGroup(tables_, group_)) {
            common::ShowMessage(rt_, rt_.Text("Błędna grupa \"kalendarzowa\""));
            return false;
        }
        const std::string key = std::to_string(month_.year) + group_;
        if (!SeekCalendar(*kalen_, month_.year, group_)) {
            common::ShowMessage(rt_, rt_.Text("Brak kalendarza ") + "\"" + key + "\"");
            return false;
        }
        return true;
    }

    void ClearEmployee() {
        auto& s = rt_.screen();
        s.Clear(kEmployeeRow, 1, kTotalsRow, 77, plain_);
    }

    // --- brigade -------------------------------------------------------------
    void ShowBrigade() {
        auto& s = rt_.screen();
        s.Clear(kBrigadeRow, 1, kBrigadeRow, 77, plain_);
        s.Write(kBrigadeRow, 2, rt_.Text("Brygada:"), plain_);
        const std::string brigade = lines_->Brigade(number_);
        s.Write(kBrigadeRow, kValueCol, base::Padded(brigade, 2), plain_);
        s.Write(kBrigadeRow, kNameCol, BrigadeName(brigade), plain_);
    }

    std::string BrigadeName(const std::string& brigade) {
        if (base::IsBlank(brigade) || !sbrg_->Seek(base::Padded(brigade, 2)).ok() ||
            !sbrg_->found())
            return std::string(30, ' ');
        return sbrg_->record().GetString(sbrg_->FieldIndex("NAZWA_"));
    }

    void AskBrigade() {
        std::string brigade = base::Padded(lines_->Brigade(number_), 2);
        auto& s = rt_.screen();
        s.Clear(kHintRow, 1, kHintRow, 77, plain_);
        common::WriteLegend(rt_, kHintRow, 2, "<F3>-Brygady");
        common::Form form(rt_);
        form.Get(kBrigadeRow, kValueCol, &brigade, "@!").Valid([&] {
            if (base::IsBlank(brigade) || (sbrg_->Seek(brigade).ok() && sbrg_->found()))
                return true;
            common::ShowMessage(rt_, rt_.Text("Błędny kod brygady"));
            return false;
        });
        common::ReadResult r;
        {
            const common::PickDictionary d = CodeDictionary("PKSBRG", "PKSBRG1", "BRYGADA_", "BR");
            auto& kb = rt_.console().keyboard();
            common::HotKeysAside aside(rt_, {key::F(3)});
            kb.Bind(key::F(3), [&] { common::Pick(rt_, tables_, d, form.Typed()); });
            r = common::Qrmrdr(rt_, form);
        }
        if (r.saved()) lines_->SetBrigade(number_, base::TrimRight(brigade), nazwx_);
        ShowBrigade();
    }

    // --- lines ---------------------------------------------------------------
    void ShowLines() {
        auto& s = rt_.screen();
        s.Clear(kHeadingRow, 1, kLastLineRow, 77, plain_);
        s.Write(kHeadingRow, kCodeCol,
                rt_.Text("Kod           Nazwa                 Typ   Konto koszt.     Ilość"),
                plain_);
        const int rows = kLastLineRow - kFirstLineRow + 1;
        const size_t first =
            month_lines_.size() > static_cast<size_t>(rows) ? month_lines_.size() - rows : 0;
        int row = kFirstLineRow;
        for (size_t i = first; i < month_lines_.size(); ++i, ++row) {
            const TimeLine& l = month_lines_[i];
            s.Write(row, kCodeCol, base::Padded(l.code, 4), plain_);
            const WorkCode* c = codes_->codes().Find(l.code);
            if (c == nullptr) {
                s.Write(row, kLineNameCol, rt_.Text("Błędny kod obecności"), plain_);
            } else {
                s.Write(row, kLineNameCol, base::Padded(c->name, 21), plain_);
                s.Write(row, kTypeCol, std::string(1, c->type), plain_);
                if (accounts_ && c->type != 'A')
                    s.Write(row, kAccountCol, Account(l.account), plain_);
            }
            s.Write(row, kHoursCol, Hours(l.hours), plain_);
        }
    }

    std::string Account(const std::string& account) const {
        if (base::IsBlank(account)) return {};
        return formula::TransformString(account, mask_);
    }

    void Hint(bool before_first_line) {
        auto& s = rt_.screen();
        s.Clear(kHintRow, 1, kHintRow, 77, plain_);
        const std::string hint =
            "<F1>-Zm.brygady   <F3>-Kody obecn.   "
            "<F9>-Nieob./Skł.anal.   <F10>-Inny prac.";
        common::WriteLegend(rt_, kHintRow, 2, hint);
        if (!before_first_line) s.Clear(kHintRow, 2, kHintRow, 17, plain_);
    }

    enum class CodeEnd { kCode, kBrigade, kEnd };

    CodeEnd AskCode(std::string* code) {
        auto& s = rt_.screen();
        s.Clear(kEntryRow, 1, kEntryRow, 77, plain_);
        s.Write(kEntryRow, 2, rt_.Text("kod"), plain_);
        const bool first = month_lines_.empty();
        Hint(first);
        std::string typed(4, ' ');
        CodeEnd end = CodeEnd::kCode;
        common::Form form(rt_);
        form.Get(kEntryRow, kEntryCodeCol, &typed, "@! ANNN").Valid([&] {
            if (registry::IsFormulaSymbol(typed)) return true;
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return false;
        });
        common::ReadResult r;
        {
            const common::PickDictionary d = CodeDictionary("PKROB", "PKROB1", "KOD_OB", "KOD");
            auto& kb = rt_.console().keyboard();
            common::HotKeysAside aside(rt_, {key::F(1), key::F(3), key::F(9), key::F(10)});
            if (first) {
                kb.Bind(key::F(1), [&] {
                    end = CodeEnd::kBrigade;
                    kb.Push(key::kEsc);
                });
            }
            kb.Bind(key::F(3), [&] { common::Pick(rt_, tables_, d, form.Typed()); });
            kb.Bind(key::F(9), [&] {
                QrmRnb(rt_, tables_, number_);
                // The computed codes see the absences as they are now.
                host_->LoadEmployee(number_, month_);
            });
            kb.Bind(key::F(10), [&] {
                end = CodeEnd::kEnd;
                kb.Push(key::kEsc);
            });
            r = common::Qrmrdr(rt_, form);
        }
        if (end != CodeEnd::kCode) return end;
        if (!r.saved()) return CodeEnd::kEnd;
        *code = base::TrimRight(typed);
        return CodeEnd::kCode;
    }

    void EnterLines() {
        for (;;) {
            ShowLines();
            std::string code;
            const CodeEnd end = AskCode(&code);
            if (end == CodeEnd::kEnd) return;
            if (end == CodeEnd::kBrigade) {
                AskBrigade();
                continue;
            }
            const WorkCode* c = codes_->codes().Find(code);
            if (c == nullptr) {
                common::ShowMessage(rt_, rt_.Text("Błędny kod"));
                continue;
            }
            if (c->type == 'A') {
                common::ShowMessage(rt_, rt_.Text("BŁĄD - kod dotyczy algorytmu"));
                continue;
            }
            EnterLine(*c);
        }
    }

    void EnterLine(const WorkCode& c) {
        auto& s = rt_.screen();
        s.Write(kEntryRow, kLineNameCol, base::Padded(c.name, 21), plain_);
        s.Write(kEntryRow, kTypeCol, std::string(1, c.type), plain_);
        std::string account(kAccountWidth, ' ');
        if (accounts_ && !AskAccount(&account)) return;
        const bool present = accounts_ ? lines_->HasLine(number_, c.code, account)
                                       : lines_->HasLine(number_, c.code);
        if (present) {
            if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'N')))
                return;
            const int n = accounts_ ? lines_->DeleteLine(number_, c.code, account)
                                    : lines_->DeleteCode(number_, c.code);
            month_lines_ = lines_->LinesOf(number_);
            ShowLines();
            common::ShowMessage(rt_, rt_.Text(n > 1 ? "Pozycje skasowane" : "Pozycja skasowana"));
        }
        lines_->Reserve(number_, c.code, account);
        double hours = 0;
        common::Form form(rt_);
        form.Get(kEntryRow, kEntryHoursCol, &hours, 6, 2, "999.99").Valid([&] {
            if (hours >= 0) return true;
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return false;
        });
        const common::ReadResult r = common::Qrmrdr(rt_, form);
        if (!r.saved()) {
            lines_->area().Unlock();  // the reserved line stays deleted
            return;
        }
        lines_->Accept(group_, hours, !accounts_);
        month_lines_ = lines_->LinesOf(number_);
    }

    bool AskAccount(std::string* account) {
        auto& s = rt_.screen();
        s.Clear(kHintRow, 1, kHintRow, 77, plain_);
        common::WriteLegend(rt_, kHintRow, 2, "<F3>-Konta kosztów");
        common::Form form(rt_);
        form.Get(kEntryRow, kAccountCol, account, "@!").Valid([&] {
            if (base::IsBlank(*account) || (sksz_->Seek(*account).ok() && sksz_->found()))
                return true;
            common::ShowMessage(rt_, rt_.Text("Błędne konto"));
            return false;
        });
        common::ReadResult r;
        {
            const common::PickDictionary d =
                CodeDictionary("PKSKSZT", "PKSKSZT1", "KONTO_KOSZ", "KONTO");
            auto& kb = rt_.console().keyboard();
            common::HotKeysAside aside(rt_, {key::F(3)});
            kb.Bind(key::F(3), [&] { common::Pick(rt_, tables_, d, form.Typed()); });
            r = common::Qrmrdr(rt_, form);
        }
        return r.saved();
    }

    // --- F10 -----------------------------------------------------------------
    void Finish() {
        const std::string message = codes_->RunLoaded(*lines_, number_, group_, &month_lines_);
        ShowLines();
        rt_.screen().Clear(kEntryRow, 1, kHintRow, 77, plain_);
        if (!message.empty()) {
            common::ShowMessage(rt_, message);
            return;
        }
        if (month_lines_.empty()) return;
        double e = 0, n = 0, d = 0;
        for (const TimeLine& l : month_lines_) {
            const WorkCode* c = codes_->codes().Find(l.code);
            if (c == nullptr) continue;
            if (c->type == 'E') e += l.hours;
            if (c->type == 'N') n += l.hours;
            if (c->type == 'D') d += l.hours;
        }
        auto& s = rt_.screen();
        s.Clear(kTotalsRow, 1, kTotalsRow, 77, plain_);
        s.Write(kTotalsRow, 2, rt_.Text("Razem wg typów:"), plain_);
        s.Write(kTotalsRow, 19, rt_.Text("Etat") + Hours(e, 8), plain_);
        s.Write(kTotalsRow, 33, rt_.Text("Nadgodziny") + Hours(n, 8), plain_);
        s.Write(kTotalsRow, 53, rt_.Text("Dodatki") + Hours(d, 8), plain_);
        common::Qrmndk(rt_);
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    console::Attr plain_;
    bool accounts_;
    std::string mask_;
    SettlementMonth month_;
    dbf::WorkArea* prac_ = nullptr;
    dbf::WorkArea* grupy_ = nullptr;
    dbf::WorkArea* kalen_ = nullptr;
    dbf::WorkArea* sbrg_ = nullptr;
    dbf::WorkArea* sksz_ = nullptr;
    std::unique_ptr<TimeLines> lines_;
    std::unique_ptr<FormulaHost> host_;
    std::unique_ptr<ComputedCodes> codes_;
    std::string number_, group_, nazwx_;
    std::vector<TimeLine> month_lines_;
};

}  // namespace

void EnterWorkingTime(common::Runtime& rt, common::Tables& tables) {
    TimeEntryDialog dialog(rt, tables);
    dialog.Run();
}

void Qrm33(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsEntry)) return;
    common::Tables tables(rt);
    EnterWorkingTime(rt, tables);
}

}  // namespace kestrel::worktime
