#include "insurance/transfer_screen.h"

#include <cstdio>
#include <string>

#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "insurance/data/insurance_transfer.h"
#include "platform/console/keys.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;

constexpr unsigned kMaskTransfer = 4;  // kind 3
constexpr int kLabelCol = 20, kValueCol = 42;
constexpr int kEmployeeRow = 14, kTitleRow = 15;

// What the transfer changes, told before it starts.
const char* const kWarning[] = {
    "UWAGA! - Każdorazowe wykonanie punktu 6.2 powoduje zmianę zawartości",
    "plików zawierających dane dotyczące deklaracji ZUS.",
    "Wydruki deklaracji ZUS oraz pliki KEDU dla Programu Płatnika należy",
    "wykonywać po wykonaniu punktu 6.2.",
    "Powtórne wykonanie punktu 6.2 po wydrukowaniu deklaracji powoduje",
    "niezgodność wydrukowanych deklaracji z danymi modułu ZUS.",
    "Nieobecności zarejestrowane w miesiącu zmieniają również dane raportów RSA.",
};

// The rows the transfer shows each employee on, and the operator's Esc.
class TransferRows : public TransferObserver {
  public:
    explicit TransferRows(common::Runtime& rt) : rt_(rt), plain_(rt.Standard(rt.colours().ycow)) {
        auto& s = rt_.screen();
        s.Write(kEmployeeRow, kLabelCol, rt_.Text("Pracownik:"), plain_);
        s.Write(kTitleRow, kLabelCol, rt_.Text("Tytuł ubezpieczenia:"), plain_);
    }

    void Employee(const std::string& employee, const std::string& title) override {
        Value(kEmployeeRow, employee);
        Value(kTitleRow, title);
        rt_.console().Refresh();
    }

    bool Interrupted() override {
        // Only Esc is taken; other keys stay typed ahead.
        console::Console& con = rt_.console();
        if (con.NextKey() != key::kEsc) return false;
        con.Inkey(0);
        con.Tone(common::kToneFrequency, common::kToneTicks);
        return common::IsYes(common::Question(rt_, rt_.Text("Przerwać przepisywanie?"), "tn"));
    }

  private:
    void Value(int row, const std::string& text) {
        rt_.screen().Clear(row, kValueCol, row, 77, plain_);
        rt_.screen().Write(row, kValueCol, text.substr(0, 36), rt_.Standard(rt_.colours().ycoi));
    }

    common::Runtime& rt_;
    console::Attr plain_;
};

// The warning screen; false when the operator left it with Esc.
bool Warning(common::Runtime& rt, const TransferPreview& p) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const console::Attr bright = rt.Standard(rt.colours().ycowp);
    int row = 7;
    for (const char* line : kWarning) {
        s.Write(row, 2, rt.Text(line), row == 7 ? bright : plain);
        ++row;
    }
    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02d", p.year, p.month);
    s.Write(++row, 2, rt.Text("Miesiąc aktualizacji: ") + month, plain);
    s.Write(++row, 2,
            rt.Text("Rekordy poprawione ręcznie (bez blokady 6.2), które zostaną zastąpione: ") +
                std::to_string(p.corrected_unlocked),
            p.corrected_unlocked > 0 ? bright : plain);
    common::WriteMessage(rt, rt.Text("<Esc>-Rezygnacja"), plain);
    const bool go = common::Qrmndk(rt) != key::kEsc;
    s.Clear(7, 1, 21, 77, plain);
    return go;
}

}  // namespace

void ShowTransferEnd(common::Runtime& rt, const TransferOutcome& out) {
    if (!out.message.empty()) common::ShowMessage(rt, out.message);
    if (!out.completed) return;
    auto& s = rt.screen();
    const console::Attr bright = rt.Standard(rt.colours().ycowp);
    if (out.check_algorithms) {
        s.Write(17, 2,
                rt.Text("Wykonaj obecnie funkcję \"Sprawdzenie spójności modułu ZUS\" "
                        "(punkt 6.A.2)."),
                bright);
        if (!rt.config().Logical("NAGLBSPRZ")) {
            s.Write(18, 2,
                    rt.Text("UWAGA! bez wykonania tego punktu zablokowane jest tworzenie "
                            "pliku KEDU"),
                    bright);
            s.Write(19, 2, rt.Text("i drukowanie deklaracji ZUS."), bright);
        }
    }
    common::ShowMessage(rt, rt.Text("Koniec aktualizacji"), false);
}

void Qrm62(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskTransfer)) return;
    auto& s = rt.screen();
    s.Clear(4, 1, 21, 77, rt.Standard(rt.colours().ycow));
    s.Write(5, 22, rt.Text("6.2. Automatyczne przepisanie danych z modułu płace"),
            rt.Standard(rt.colours().ycob));
    common::Tables tables(rt);
    if (!Warning(rt, PreviewTransfer(rt, tables))) return;
    const char answer = common::Question(rt, rt.Text("Dekretować?"), "tn", 'n');
    if (!common::IsYes(answer)) {
        if (rt.console().LastKey() == key::kEsc)
            rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return;
    }
    TransferRows rows(rt);
    ShowTransferEnd(rt, Transfer(rt, tables, &rows));
}

}  // namespace kestrel::insurance
