#include "insurance/consistency_screen.h"

#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "insurance/data/consistency_check.h"
#include "platform/console/keys.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;

constexpr unsigned kMaskCheck = 4;  // kind 3
constexpr int kLabelCol = 20, kValueCol = 42, kEmployeeRow = 12;

class CheckRows : public CheckObserver {
  public:
    explicit CheckRows(common::Runtime& rt) : rt_(rt) {
        rt_.screen().Write(kEmployeeRow, kLabelCol, rt_.Text("Pracownik:"),
                           rt_.Standard(rt_.colours().ycow));
    }
    void Employee(const std::string& employee) override {
        rt_.screen().Write(kEmployeeRow, kValueCol, employee, rt_.Standard(rt_.colours().ycoi));
        rt_.console().Refresh();
    }
    bool Interrupted() override {
        console::Console& con = rt_.console();
        if (con.NextKey() != key::kEsc) return false;
        con.Inkey(0);
        con.Tone(common::kToneFrequency, common::kToneTicks);
        return common::IsYes(common::Question(rt_, rt_.Text("Przerwać sprawdzanie?"), "tn"));
    }

  private:
    common::Runtime& rt_;
};

std::string Cut(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string Right(const std::string& s, size_t width) {
    return s.size() >= width ? s.substr(0, width) : std::string(width - s.size(), ' ') + s;
}

// The failed checks, one per row, until Esc.
void ShowFailed(common::Runtime& rt, const std::vector<FailedCheck>& failed) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(5, 22, rt.Text("Niezgodności modułu ZUS z płacami: ") + std::to_string(failed.size()),
            rt.Standard(rt.colours().ycob));
    common::WriteLegend(rt, 20, 2, "<Esc>-Wyjście");
    int current = 1;
    auto at = [&]() -> const FailedCheck& { return failed[static_cast<size_t>(current - 1)]; };
    std::vector<common::BrowseColumn> columns = {
        {"PRAC.", 6, [&] { return at().employee; }},
        {rt.Text("SYMBOL"), 10, [&] { return Cut(at().symbol, 10); }},
        {rt.Text("OPIS"), 22, [&] { return Cut(at().description, 22); }},
        {rt.Text("     WZÓR 1"), 12, [&] { return Right(at().first, 12); }},
        {rt.Text("     WZÓR 2"), 12, [&] { return Right(at().second, 12); }},
    };
    common::BrowseList(
        rt, 7, 1, 19, 77, std::move(columns),
        [&rt](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return int{common::kBrowseRedrawRow};
            return rt.console().LastKey() == key::kEsc ? int{common::kBrowseClose}
                                                       : int{common::kBrowseRedrawRow};
        },
        &current, static_cast<int>(failed.size()));
}

}  // namespace

void Qrm6A2(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskCheck)) return;
    auto& s = rt.screen();
    s.Clear(4, 1, 21, 77, rt.Standard(rt.colours().ycow));
    s.Write(5, 22, rt.Text("6.A.2. Sprawdzenie spójności modułu ZUS z płacami"),
            rt.Standard(rt.colours().ycob));
    if (!common::IsYes(common::Question(rt, rt.Text("Wykonać sprawdzenie?"), "tn", 'n'))) return;
    common::Tables tables(rt);
    CheckRows rows(rt);
    const CheckOutcome out = RunConsistencyCheck(rt, tables, &rows);
    if (!out.message.empty()) {
        common::ShowMessage(rt, out.message);
        return;
    }
    if (!out.completed) return;
    if (out.failed.empty())
        common::ShowMessage(rt, rt.Text("Nie stwierdzono błędów"), false);
    else
        ShowFailed(rt, out.failed);
    common::ShowMessage(rt, rt.Text("Koniec procedury"), false);
}

}  // namespace kestrel::insurance
