// 4.A.2 "Tworzenie plików": the bank files of the open list's payment.
#include <string>

#include "common/pick/pick_window.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "payroll/bank/data/bank_run.h"
#include "payroll/bank/menu4a.h"
#include "payroll/open_list_pick.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

// Kind 3: payroll operations.
constexpr unsigned kRightsPayroll = 4;
constexpr int kTitleRow = 5, kTitleCol = 22, kDateRow = 7, kFilesRow = 9, kEmployeeRow = 14;
constexpr int kLabelCol = 2, kLegendRow = 21;

// The employee row and the operator's Esc while the files are written.
class ScreenWatch : public bank::BankObserver {
  public:
    explicit ScreenWatch(common::Runtime& rt) : rt_(rt), plain_(rt.Standard(rt.colours().ycow)) {}
    void set_several(bool several) { several_ = several; }

    bool FunctionError(const std::string& message) override {
        common::ShowMessage(rt_, message);
        return rt_.console().LastKey() != key::kEsc;
    }
    void Employee(const std::string& number) override {
        rt_.screen().Write(kEmployeeRow, kLabelCol + 12, number, plain_);
        rt_.console().Refresh();
    }
    bool Interrupted() override {
        console::Console& con = rt_.console();
        if (con.NextKey() != key::kEsc) return false;
        con.keyboard().Clear();
        while (con.Inkey(0) != key::kNone) {
        }
        con.Tone(common::kToneFrequency, common::kToneTicks);
        const char* q = several_ ? "Przerwać tworz. plików?" : "Przerwać tworz. pliku?";
        return common::IsYes(common::Question(rt_, rt_.Text(q), "tn"));
    }

  private:
    common::Runtime& rt_;
    bool several_ = false;
    console::Attr plain_;
};

}  // namespace

void Qrm4A2(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsPayroll)) return;
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, rt.Text("4.A.2. Tworzenie plików"), plain);
    PayrollList list;
    if (!ChooseOpenList(rt, tables, &list)) return;
    const base::Date paid = base::DateOfDbfText(list.paid);
    s.Write(
        kDateRow, kLabelCol,
        rt.Text("Data wypłaty: ") + (paid.empty() ? std::string(10, ' ') : base::DateText(paid)),
        plain);

    ScreenWatch watch(rt);
    bank::BankRun run(rt, tables, list, &watch);
    if (const std::string m = run.Check(); !m.empty()) {
        common::ShowMessage(rt, m);
        return;
    }
    const bool several = run.files().size() > 1;
    watch.set_several(several);
    s.Write(kFilesRow, kLabelCol,
            rt.Text(several ? "Zapis danych do plików:" : "Zapis danych do pliku:"), plain);
    int row = kFilesRow + 1, col = kLabelCol;
    for (const bank::BankParameters& f : run.files()) {
        s.Write(row, col, bank::FileName(f, list.paid), plain);
        col += 14;
        if (col > 66) {
            col = kLabelCol;
            ++row;
        }
    }
    if (!common::IsYes(
            common::Question(rt, rt.Text(several ? "Generować pliki?" : "Generować plik?"), "tn")))
        return;
    for (const std::string& name : run.Existing()) {
        common::WriteMessage(rt, rt.Text("Istnieje plik: ") + name, rt.Enhanced(rt.colours().ycow));
        if (!common::IsYes(common::Question(rt, rt.Text("Kasować?"), "tn"))) {
            common::ClearMessageRow(rt);
            return;
        }
        common::ClearMessageRow(rt);
        if (const std::string m = run.Delete(name); !m.empty()) {
            common::ShowMessage(rt, m);
            return;
        }
    }

    s.Write(kEmployeeRow, kLabelCol, rt.Text(" Pracownik:"), plain);
    common::WriteLegend(rt, kLegendRow, kLabelCol, "<Esc>-Przerwanie");
    rt.console().Refresh();
    const bank::BankOutcome done = run.Run();
    if (!done.message.empty()) common::ShowMessage(rt, done.message);
    tables.CloseAll();
    if (done.completed) common::ShowMessage(rt, rt.Text("Koniec procedury"));
    s.Clear(4, 1, 22, 77, plain);
}

}  // namespace kestrel::payroll
