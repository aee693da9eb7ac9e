#include "worktime/absence_entry_dialog.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"
#include "worktime/absence_line_form.h"
#include "worktime/browse_search.h"
#include "worktime/data/absence_entry.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr unsigned kRightsEntry = 2;

std::string Number(double q, bool decimals, int width = 7) {
    char t[32];
    if (decimals)
        std::snprintf(t, sizeof t, "%*.3f", width, q);
    else
        std::snprintf(t, sizeof t, "%*.0f", width, q);
    return t;
}

class AbsenceDialog {
  public:
    AbsenceDialog(common::Runtime& rt, common::Tables& tables)
        : rt_(rt),
          tables_(tables),
          plain_(rt.Standard(rt.colours().ycow)),
          bright_(rt.Standard(rt.colours().ycowp)) {}

    void Run(std::string_view only) {
        settlement_ = ReadSettlementMonth(rt_, tables_);
        month_ = settlement_;
        prac_ = &OpenOnce(tables_, "PKPRAC", {"PKPRAC1"});
        host_ = std::make_unique<FormulaHost>(rt_, tables_);
        auto& s = rt_.screen();
        s.Clear(4, 1, 22, 77, plain_);
        s.Write(5, 14, rt_.Text("3.4. Wprowadzanie nieobecności (analit. składników)"), plain_);
        ShowMonth();
        for (const std::string& m : host_->Prepare()) common::ShowMessage(rt_, m);
        entry_ = std::make_unique<AbsenceEntry>(*host_, tables_);
        if (!only.empty()) {
            if (Choose(only)) Employee();
            return;
        }
        while (AskEmployee()) Employee();
    }

  private:
    // --- month and employee --------------------------------------------------
    void ShowMonth() {
        auto& s = rt_.screen();
        s.Write(kMonthRow, 2, rt_.Text("Rok-mc:"), plain_);
        s.Write(kMonthRow, kValueCol, month_.Text(), plain_);
    }

    bool AskEmployee() {
        auto& s = rt_.screen();
        for (;;) {
            s.Clear(kEmployeeRow, 1, kDetailRow, 77, plain_);
            s.Write(kEmployeeRow, 2, rt_.Text("Pracownik:"), plain_);
            common::WriteLegend(
                rt_, kHintRow, 2,
                "<F1>-Inny miesiac       <F3>-Kartoteka pracownikow       <F10>-Koniec");
            std::string typed(6, ' ');
            bool end = false, other_month = false;
            common::Form form(rt_);
            form.Get(kEmployeeRow, kValueCol, &typed, "999999");
            common::ReadResult r;
            {
                auto& kb = rt_.console().keyboard();
                common::HotKeysAside aside(rt_, {key::F(1), key::F(3), key::F(10)});
                EndOn(kb, key::F(1), &other_month);
                kb.Bind(key::F(3), [&] { common::PickEmployee(rt_, tables_, form.Typed()); });
                EndOn(kb, key::F(10), &end);
                r = common::Qrmrdr(rt_, form);
            }
            if (other_month) {
                AskMonth();
                continue;
            }
            if (end || !r.saved()) return false;
            std::string number;
            if (!registry::NormaliseNumber(typed, &number)) {
                rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                continue;
            }
            if (Choose(number)) return true;
        }
    }

    void AskMonth() {
        double year = month_.year, month = month_.month;
        common::Form form(rt_);
        form.Get(kMonthRow, kValueCol, &year, 4, 0, "9999").Valid([&] { return year > 1992; });
        form.Get(kMonthRow, kValueCol + 5, &month, 2, 0, "99").Valid([&] {
            return month >= 1 && month <= 12;
        });
        if (common::Qrmrdr(rt_, form).saved())
            month_ = {static_cast<int>(year), static_cast<int>(month)};
        rt_.screen().Clear(kMonthRow, kValueCol, kMonthRow, kValueCol + 10, plain_);
        ShowMonth();
    }

    // Reads the employee; false (after the message) when the entry cannot
    // open the employee.
    bool Choose(std::string_view number) {
        const std::optional<EntryEmployee> e = ReadEntryEmployee(rt_, tables_, number, month_);
        if (!e) {
            common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym numerze"));
            return false;
        }
        employee_ = *e;
        auto& s = rt_.screen();
        s.Write(kEmployeeRow, 2, rt_.Text("Pracownik:"), plain_);
        s.Write(kEmployeeRow, kValueCol, employee_.number, plain_);
        {
            const dbf::KeepPosition keep(*prac_);
            OrderBy(*prac_, "PKPRAC1");
            prac_->Seek(employee_.number);
            s.Write(kEmployeeRow, kNameCol, Cut(common::EmployeeName(*prac_), 55), plain_);
        }
        if (MonthNumber(month_) < MonthNumber(settlement_)) return true;
        if (base::IsBlank(employee_.group) || !FindCalendarGroup(tables_, employee_.group)) {
            common::ShowMessage(rt_, rt_.Text("Błędna grupa kalendarzowa"));
            return false;
        }
        if (!SeekCalendar(OpenCalendars(tables_), month_.year, employee_.group)) {
            common::ShowMessage(rt_, rt_.Text("Brak kalendarza ") + "\"" +
                                         std::to_string(month_.year) + employee_.group + "\"");
            return false;
        }
        return true;
    }

    void Employee() {
        const std::string message = entry_->Regenerate(employee_, month_);
        if (!message.empty()) {
            common::ShowMessage(rt_, message);
            return;
        }
        lines_ = entry_->LinesOf(employee_.number, month_);
        ShowGenerated();
        EnterLines();
        if (month_.year == settlement_.year && month_.month == settlement_.month) {
            entry_->ClearInsuranceFlag();
            const std::string computed = entry_->Compute(employee_, month_);
            if (!computed.empty()) common::ShowMessage(rt_, computed);
        }
    }

    // --- the list ------------------------------------------------------------
    const AbsenceCode* CodeOf(const AbsenceLine& l) const { return entry_->codes().Find(l.code); }

    void ShowLine(int row, const AbsenceLine& l) {
        auto& s = rt_.screen();
        char lp[8];
        std::snprintf(lp, sizeof lp, "%2d", l.line);
        s.Write(row, kLpCol, lp, plain_);
        s.Write(row, kCodeCol, Cut(l.code, 4), plain_);
        const AbsenceCode* c = CodeOf(l);
        if (c == nullptr) {
            s.Write(row, kCodeNameCol, rt_.Text("Błędny kod"), plain_);
            return;
        }
        s.Write(row, kCodeNameCol, Cut(c->name, 30), plain_);
        s.Write(row, kTypeCol, rt_.Text(TypeWord(c->type)), plain_);
        const bool other = l.cal_year != month_.year || l.cal_month != month_.month;
        s.Write(row, kCalCol, MonthText(l.cal_year, l.cal_month), other ? bright_ : plain_);
        char days[16];
        std::snprintf(days, sizeof days, "%2d %2d", l.from, l.to);
        s.Write(row, kFromCol, days, plain_);
        s.Write(row, kQtyCol, Number(l.quantity, c->in_hours || c->fractional), plain_);
        if (c->second || l.quantity2 != 0)
            s.Write(row, kQty2Col, Number(l.quantity2, true), plain_);
    }

    void ShowHeading() {
        rt_.screen().Write(
            kHeadingRow, kLpCol,
            rt_.Text(
                "Lp Symb         Nazwa                   Typ    Za m-c  Od Do   Dni   Godziny"),
            plain_);
    }

    void ShowLines() {
        auto& s = rt_.screen();
        s.Clear(kStateRow, 1, kLastLineRow, 77, plain_);
        ShowHeading();
        const size_t rows = kLastLineRow - kFirstLineRow + 1;
        const size_t first = lines_.size() > rows ? lines_.size() - rows : 0;
        int row = kFirstLineRow;
        for (size_t i = first; i < lines_.size(); ++i, ++row) ShowLine(row, lines_[i]);
    }

    // The generated and computed lines with the limits of their codes.
    void ShowGenerated() {
        std::vector<AbsenceLine> made;
        for (const AbsenceLine& l : lines_) {
            const AbsenceCode* c = CodeOf(l);
            if (c != nullptr && (c->type == 'A' || c->type == 'G')) made.push_back(l);
        }
        if (made.empty()) return;
        auto& s = rt_.screen();
        s.Clear(kStateRow, 1, kDetailRow, 77, plain_);
        s.Write(kStateRow, 2, rt_.Text("Składniki generowane i algorytmiczne"), bright_);
        ShowHeading();
        int row = kFirstLineRow;
        std::vector<std::string> limited;
        for (const AbsenceLine& l : made) {
            if (row > kLastLineRow) break;
            ShowLine(row++, l);
            if (std::find(limited.begin(), limited.end(), l.code) != limited.end()) continue;
            limited.push_back(l.code);
            const LimitState st = entry_->Limit(*CodeOf(l), employee_.number, month_);
            if (!st.shown || row > kLastLineRow) continue;
            s.Write(row++, kLimitCol, st.Text(), st.exceeded ? bright_ : plain_);
            if (st.exceeded) rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        }
        common::Qrmndk(rt_);
    }

    // --- one line ------------------------------------------------------------
    void EnterLines() {
        for (;;) {
            ShowLines();
            int highest = 0;
            for (const AbsenceLine& l : lines_) highest = std::max(highest, l.line);
            double lp = ProposedLineNumber(highest);
            auto& s = rt_.screen();
            s.Clear(kEntryRow, 1, kEntryRow, 77, plain_);
            WriteHint(rt_, "<F10>-Inny pracownik");
            bool end = false;
            common::Form form(rt_);
            form.Get(kEntryRow, kLpCol, &lp, 2, 0, "99").Valid([&] {
                if (lp >= 1 && lp <= 99) return true;
                rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                return false;
            });
            common::ReadResult r;
            {
                auto& kb = rt_.console().keyboard();
                common::HotKeysAside aside(rt_, {key::F(10)});
                EndOn(kb, key::F(10), &end);
                r = common::Qrmrdr(rt_, form);
            }
            if (end || !r.saved()) break;
            EnterLine(static_cast<int>(lp));
            lines_ = entry_->LinesOf(employee_.number, month_);
        }
        rt_.screen().Clear(kEntryRow, 1, kDetailRow, 77, plain_);
    }

    void EnterLine(int number) {
        AbsenceLine line;
        const LineState state = entry_->Reserve(employee_, month_, number, &line);
        auto& s = rt_.screen();
        s.Clear(kStateRow, kStateCol, kStateRow, 77, plain_);
        s.Clear(kDetailRow, 1, kDetailRow, 77, plain_);
        if (state != LineState::kNew)
            s.Write(
                kStateRow, kStateCol,
                rt_.Text(state == LineState::kExisting ? "Istniejący rekord" : "Rekord skasowany"),
                bright_);
        if (state == LineState::kExisting) ShowLine(kEntryRow, line);
        const bool existing = state == LineState::kExisting;
        if (!AskAbsenceLine({rt_, tables_, *entry_, employee_, month_, settlement_}, &line,
                            existing)) {
            entry_->Release();
            return;
        }
        entry_->Accept(line);
        if (line.quantity == 0) {
            if (existing) common::ShowMessage(rt_, rt_.Text("Pozycja skasowana"));
            return;
        }
        const LimitState st =
            entry_->Limit(*entry_->codes().Find(line.code), employee_.number, month_);
        if (!st.error.empty()) {
            common::ShowMessage(rt_, st.error);
        } else if (st.shown) {
            s.Clear(kDetailRow, kLimitCol, kDetailRow, 77, plain_);
            s.Write(kDetailRow, kLimitCol, st.Text(), st.exceeded ? bright_ : plain_);
            if (st.exceeded) rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        }
    }

    // Asks the code and the rest of the line; false on Esc.

    common::Runtime& rt_;
    common::Tables& tables_;
    console::Attr plain_, bright_;
    SettlementMonth settlement_, month_;
    dbf::WorkArea* prac_ = nullptr;
    std::unique_ptr<FormulaHost> host_;
    std::unique_ptr<AbsenceEntry> entry_;
    EntryEmployee employee_;
    std::vector<AbsenceLine> lines_;
};

}  // namespace

void EnterAbsences(common::Runtime& rt, common::Tables& tables) {
    AbsenceDialog dialog(rt, tables);
    dialog.Run({});
}

void Qrm34(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsEntry)) return;
    common::Tables tables(rt);
    EnterAbsences(rt, tables);
}

void QrmRnb(common::Runtime& rt, common::Tables& tables, std::string_view number) {
    const console::ScreenRegion saved = rt.screen().Save(4, 0, 22, 79);
    {
        // The caller's keys do not reach this dialog.
        const common::HotKeysAside aside(rt, {key::F(1), key::F(3), key::F(9), key::F(10)});
        AbsenceDialog dialog(rt, tables);
        dialog.Run(number);
    }
    rt.screen().Restore(saved);
}

}  // namespace kestrel::worktime
