#include "tax/transfer_screens.h"

#include <cstdio>

#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "payroll/data/payroll_month.h"
#include "platform/base/text.h"
#include "tax/records/tax_transfer.h"

namespace kestrel::tax {
namespace {

constexpr unsigned kMaskTransfer = 4;  // kind 3
constexpr int kLabelCol = 20, kValueCol = 42;

// The rows the transfer shows each position on.
class TransferRows : public TransferObserver {
  public:
    explicit TransferRows(common::Runtime& rt) : rt_(rt), plain_(rt.Standard(rt.colours().ycow)) {
        auto& s = rt_.screen();
        const char* const labels[] = {
            "Nr/Typ listy płac:", "Pracownik:", "Składnik płacowy:", "Tytuł wypłaty:"};
        int row = 12;
        for (const char* l : labels) s.Write(row++, kLabelCol, rt_.Text(l), plain_);
    }

    void Position(const payroll::PayrollList& l, const std::string& employee,
                  const std::string& symbol, const std::string& kind) override {
        auto& s = rt_.screen();
        const std::string list = payroll::StrN(l.number, 4) + "/" + l.symbol;
        const std::string values[] = {list, employee, symbol, kind};
        int row = 12;
        for (const std::string& v : values) {
            s.Clear(row, kValueCol, row, 77, plain_);
            s.Write(row++, kValueCol, v, rt_.Standard(rt_.colours().ycoi));
        }
    }

  private:
    common::Runtime& rt_;
    console::Attr plain_;
};

void Header(common::Runtime& rt, const char* title) {
    auto& s = rt.screen();
    s.Clear(4, 1, 21, 77, rt.Standard(rt.colours().ycow));
    s.Write(5, 22, rt.Text(title), rt.Standard(rt.colours().ycow));
}

}  // namespace

void Qrm72(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskTransfer)) return;
    Header(rt, "7.2. Automatyczne przepisanie danych z modułu płace");
    common::Tables tables(rt);
    if (ListsOfTheMonth(rt, tables).empty()) {
        common::ShowMessage(rt, rt.Text("Brak list płac do przepisania"));
        return;
    }
    if (!common::IsYes(common::Question(rt, rt.Text("Przepisać dane z list płac?"), "tn", 'n')))
        return;
    auto& s = rt.screen();
    s.Write(9, kLabelCol, rt.Text("Analiza składników płacowych"), rt.Standard(rt.colours().ycow));
    TransferRows rows(rt);
    const TransferOutcome out = Transfer(rt, tables, &rows);
    if (!out.message.empty()) common::ShowMessage(rt, out.message);
    s.Write(18, kLabelCol, rt.Text("Ilość przepisanych rekordów: ") + std::to_string(out.records),
            rt.Standard(rt.colours().ycow));
    common::ShowMessage(rt, rt.Text("Koniec procedury"), false);
}

void Qrm77(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskTransfer)) return;
    Header(rt, "7.7. Awaryjne zerowanie aktualizacji");
    common::Tables tables(rt);
    const UndoPreview preview = PreviewUndo(rt, tables);
    if (!preview.refusal.empty()) {
        common::ShowMessage(rt, preview.refusal);
        return;
    }
    // What the undo deletes is told before the question: the records
    // corrected by hand since the transfer are lost with the rest.
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Write(9, kLabelCol,
            rt.Text("Rekordy automatyczne do skasowania: ") + std::to_string(preview.automatic),
            plain);
    if (preview.corrected > 0)
        s.Write(10, kLabelCol,
                rt.Text("w tym poprawione ręcznie: ") + std::to_string(preview.corrected), plain);
    if (!common::IsYes(common::Question(rt, rt.Text("Wykonać anulację?"), "tn", 'n'))) return;
    s.Write(12, kLabelCol, rt.Text("Aktualizacja zbioru PKPLACE"), plain);
    s.Write(13, kLabelCol, rt.Text("Aktualizacja zbioru PKDOCH "), plain);
    Undo(rt, tables);
    common::ShowMessage(rt, rt.Text("Koniec procedury"), false);
}

}  // namespace kestrel::tax
