#include "payroll/month_close_screen.h"

#include <algorithm>

#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/data/month_close.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr unsigned kRightsPayroll = 4;
constexpr int kCurrentRow = 8, kNewRow = 10, kStageRow = 14, kFullTextRow = 18, kValueCol = 22;

class CloseScreen : public MonthCloseDialog {
  public:
    explicit CloseScreen(common::Runtime& rt)
        : rt_(rt),
          plain_(rt.Standard(rt.colours().ycow)),
          bright_(rt.Standard(rt.colours().ycowp)) {}

    bool Ask(std::string_view question, std::string_view note) override {
        if (!note.empty()) common::WriteMessage(rt_, note, bright_);
        const bool yes = common::IsYes(common::Question(rt_, question, "tn", 'n'));
        common::ClearMessageRow(rt_);
        return yes;
    }
    void Warn(std::string_view message) override { common::ShowMessage(rt_, message); }
    bool ConfirmOutOfSequence(const std::vector<std::string>& lines) override {
        auto& s = rt_.screen();
        const console::ScreenRegion saved = s.Save(12, 8, 19, 71);
        s.Box(12, 8, 19, 71, std::string(console::kFrameDouble) + " ", bright_);
        for (size_t i = 0; i < lines.size(); ++i)
            s.Write(14 + static_cast<int>(i), 11, lines[i], bright_);
        const bool yes = common::IsYes(common::Question(rt_, rt_.Text("Kontynuować?"), "tn", 'n'));
        s.Restore(saved);
        return yes && common::ConfirmPassword(rt_);
    }
    void Stage(std::string_view heading) override {
        auto& s = rt_.screen();
        s.Clear(kStageRow, 1, kStageRow, 77, plain_);
        s.Write(kStageRow, 2, heading, bright_);
        rt_.console().Refresh();
    }
    void SeniorityDone(std::string_view count, const std::vector<std::string>& report) override {
        common::ShowMessage(rt_, count, false);
        if (report.size() <= 1) return;
        if (!common::IsYes(common::Question(rt_, rt_.Text("Drukować raport?"), "tn", 'n'))) return;
        ShowReport(report);
    }

    // A refusal: on the message row, and whole in the work area when it
    // does not fit there.
    void Refuse(const std::string& message) {
        if (message.size() > static_cast<size_t>(common::kMessageWidth))
            rt_.screen().Write(kFullTextRow, 2, message.substr(0, 76), bright_);
        common::ShowMessage(rt_, message);
    }

  private:
    // The report of the seniority changes in a window, a page at a time:
    // any key the next page, Esc ends.
    void ShowReport(const std::vector<std::string>& lines) {
        auto& s = rt_.screen();
        const console::ScreenRegion saved = s.Save(4, 1, 22, 78);
        constexpr int kPage = 15;
        for (size_t first = 1; first < lines.size(); first += kPage) {
            s.Box(4, 1, 22, 78, std::string(console::kFrameDouble) + " ", plain_);
            s.Write(5, 3, lines[0].substr(0, 74), bright_);
            for (size_t i = first; i < std::min(lines.size(), first + kPage); ++i)
                s.Write(6 + static_cast<int>(i - first), 3, lines[i].substr(0, 74), plain_);
            if (common::Qrmndk(rt_) == key::kEsc) break;
        }
        s.Restore(saved);
    }

    common::Runtime& rt_;
    console::Attr plain_, bright_;
};

void Run(common::Runtime& rt, common::Tables& tables) {
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    auto& s = rt.screen();
    s.Clear(4, 1, 22, 77, plain);
    s.Write(5, 14, rt.Text("4.7. Zamknięcie starego i otwarcie nowego miesiąca"), plain);
    CloseScreen screen(rt);
    const std::string open = CheckNoOpenList(rt, tables);
    if (!open.empty()) {
        screen.Refuse(open);
        return;
    }
    const base::YearMonth current = ReadControlRecord(rt, tables).month;
    s.Write(kCurrentRow, 2, rt.Text("Aktualny miesiąc:"), plain);
    s.Write(kCurrentRow, kValueCol, MonthText(current), plain);
    s.Write(kNewRow, 2, rt.Text("Nowy miesiąc:"), plain);
    s.Write(kNewRow, kValueCol + 4, ".", plain);
    base::YearMonth chosen = NextMonth(current);
    for (;;) {
        double year = chosen.year, month = chosen.month;
        common::Form form(rt);
        form.Get(kNewRow, kValueCol, &year, 4, 0, "9999").Valid([&] { return year > 1992; });
        form.Get(kNewRow, kValueCol + 5, &month, 2, 0, "99").Valid([&] {
            return month >= 1 && month <= 12;
        });
        if (!common::Qrmrdr(rt, form).saved()) return;
        chosen = {static_cast<int>(year), static_cast<int>(month)};
        const ChoiceResult choice = ChooseMonth(rt, current, chosen, screen);
        if (choice.choice == MonthChoice::kAccepted) break;
        if (choice.choice == MonthChoice::kRefused) screen.Refuse(choice.refusal);
    }
    const CloseResult r = CloseMonth(rt, tables, chosen, ShippedStatutoryValues(), screen);
    for (const std::string& m : r.absence_messages) screen.Refuse(m);
    if (r.outcome == CloseOutcome::kRefused) screen.Refuse(r.message);
    if (r.outcome == CloseOutcome::kDone) common::Qrmndk(rt);  // "Koniec procedury" stands
}

}  // namespace

void Qrm47(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsPayroll)) return;
    common::Tables tables(rt);
    Run(rt, tables);
}

}  // namespace kestrel::payroll
