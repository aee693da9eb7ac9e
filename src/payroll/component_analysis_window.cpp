#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "payroll/component_entry_parts.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTop = 8, kLeft = 1, kBottom = 21, kRight = 78;
constexpr int kSymbolRow = 9, kFormulaRow = 11, kFormulaRows = 6, kValueRow = 18, kPayRow = 19;
constexpr int kLabelCol = 3, kValueCol = 25, kFormulaCol = 10;
constexpr int kFormulaWidth = kRight - kFormulaCol - 1;

// The formula as one line: its line breaks (CR, LF and the editor's soft
// break, character 141) carry no meaning.
std::string OneLine(std::string_view formula) {
    std::string out;
    for (char ch : formula)
        if (ch != '\r' && ch != '\n' && static_cast<unsigned char>(ch) != 141) out += ch;
    return out;
}

class AnalysisWindow {
  public:
    AnalysisWindow(common::Runtime& rt, PositionEntry& entry, ComponentAnalysis& analysis)
        : rt_(rt),
          entry_(entry),
          analysis_(analysis),
          plain_(rt.Standard(rt.colours().ycow)),
          positions_(entry.EmployeePositions()) {}

    void Run() {
        auto& s = rt_.screen();
        s.Clear(kTop, kLeft, kBottom, kRight, plain_);
        s.Box(kTop, kLeft, kBottom, kRight, console::kFrameDouble, plain_);
        common::WriteLegend(rt_, kBottom, 32, " <Esc>-Koniec ");
        s.Write(kSymbolRow, kLabelCol, rt_.Text("Analizowany składnik:"), plain_);
        s.Write(kPayRow, kLabelCol, rt_.Text("Kwota do wypłaty:"), plain_);
        Component payable;
        s.Write(kPayRow, kValueCol, AmountText(payable, PayableTotal(positions_)), plain_);
        for (const std::string& m : analysis_.Prepare()) common::ShowMessage(rt_, m);
        while (const Component* c = Ask()) {
            // Up and Down step through the formulas until another key.
            for (;;) {
                Show(*c);
                const int k = common::Qrminkey(rt_);
                if (k == key::kEsc) return;
                if (k != key::kUp && k != key::kDown) break;
                const Component* next = analysis_.Step(
                    *c, k == key::kUp ? -1 : 1, positions_, [this](const Component& other) {
                        const Component* taken = nullptr;
                        return entry_.Refusal(other.symbol, &taken).empty();
                    });
                if (next == nullptr)
                    rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                else
                    c = next;
            }
        }
    }

  private:
    const Component* Find(std::string_view symbol) const {
        const std::string wanted = base::TrimRight(symbol);
        for (const Component& c : analysis_.host().components())
            if (!wanted.empty() && base::TrimRight(c.symbol) == wanted) return &c;
        return nullptr;
    }

    const Component* Ask() {
        for (;;) {
            std::string symbol(4, ' ');
            common::Form form(rt_);
            form.Get(kSymbolRow, kValueCol, &symbol, "@!");
            if (!common::Qrmrdr(rt_, form).saved()) return nullptr;
            const Component* c = Find(symbol);
            const std::string refusal = analysis_.Refusal(c, positions_);
            if (refusal.empty()) return c;
            common::ShowMessage(rt_, refusal);
        }
    }

    void Show(const Component& c) {
        auto& s = rt_.screen();
        s.Clear(kSymbolRow, kValueCol, kSymbolRow, kRight - 1, plain_);
        s.Write(kSymbolRow, kValueCol, c.symbol, plain_);
        s.Write(kSymbolRow, kValueCol + 6, c.name.substr(0, kRight - kValueCol - 7), plain_);
        s.Clear(kFormulaRow, kLeft + 1, kValueRow, kRight - 1, plain_);
        s.Write(kFormulaRow, kLabelCol, rt_.Text("Wzór:"), plain_);
        const std::string text = OneLine(c.algorithm);
        for (int i = 0; i < kFormulaRows; ++i) {
            const size_t from = static_cast<size_t>(i * kFormulaWidth);
            if (from >= text.size()) break;
            s.Write(kFormulaRow + i, kFormulaCol, text.substr(from, kFormulaWidth), plain_);
        }
        s.Write(kValueRow, kLabelCol, rt_.Text("Wartość:"), plain_);
        double value = 0;
        formula::Error error;
        if (analysis_.Evaluate(entry_.employee(), c, positions_, &value, &error))
            s.Write(kValueRow, kValueCol, AmountText(c, value), plain_);
        else
            s.Write(kValueRow, kValueCol, error.Message().substr(0, kRight - kValueCol), plain_);
    }

    common::Runtime& rt_;
    PositionEntry& entry_;
    ComponentAnalysis& analysis_;
    console::Attr plain_;
    std::vector<Position> positions_;
};

}  // namespace

void AnalyseComponents(common::Runtime& rt, PositionEntry& entry, ComponentAnalysis& analysis) {
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    AnalysisWindow(rt, entry, analysis).Run();
    s.Restore(under);
}

}  // namespace kestrel::payroll
