#include "payroll/component_entry.h"

#include <memory>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/component_entry_parts.h"
#include "payroll/data/component_analysis.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/position_entry.h"
#include "payroll/data/recalculation.h"
#include "payroll/open_list_pick.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr unsigned kRightsEntry = 4;
constexpr int kTitleRow = 5, kListRow = 6, kEmployeeRow = 7, kAboveRow = 8, kHeadingRow = 9;
constexpr int kFirstLineRow = 10, kLastLineRow = 20, kKeysRow = 21;
constexpr int kBase = 2, kValueCol = 15, kNameCol = 23;
constexpr int kSymbolCol = kBase, kLineNameCol = kBase + 10, kAmountCol = kBase + 37;
constexpr int kDeductionCol = kBase + 54, kBlockedCol = kBase + 63, kAuxiliaryCol = kBase + 71;
constexpr int kLineNameWidth = 26;

std::string Cut(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

// What the recalculation of one employee shows while it runs (F9).
class ComputeObserver : public RecalcObserver {
  public:
    explicit ComputeObserver(common::Runtime& rt) : rt_(rt) {}
    void Warn(const std::string& message) override { common::ShowMessage(rt_, message); }
    bool FunctionError(const std::string& message) override {
        common::WriteMessage(rt_, message, rt_.Standard(rt_.colours().ycowpg));
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        return common::Qrmndk(rt_) != key::kEsc;
    }
    void Attendance(const std::string& code) override {
        rt_.screen().Write(kAttendanceRow, kCodeCol, Cut(code, 4), Plain());
    }
    void Component(const std::string& symbol) override {
        rt_.screen().Write(kComponentRow, kCodeCol, Cut(symbol, 4), Plain());
    }

    static constexpr int kTop = 12, kLeft = 18, kBottom = 17, kRight = 61;
    static constexpr int kAttendanceRow = 14, kComponentRow = 15, kCodeCol = 44;

  private:
    console::Attr Plain() const { return rt_.Standard(rt_.colours().ycow); }
    common::Runtime& rt_;
};

class ComponentEntry {
  public:
    ComponentEntry(common::Runtime& rt, common::Tables& tables, const PayrollList& list)
        : rt_(rt),
          tables_(tables),
          plain_(rt.Standard(rt.colours().ycow)),
          entry_(rt, tables, list),
          observer_(rt) {}

    void Run() {
        auto& s = rt_.screen();
        s.Clear(4, 1, 22, 77, plain_);
        s.Write(kTitleRow, 22, rt_.Text("4.4. Rejestracja składników płacowych"), plain_);
        s.Write(kListRow, 2, rt_.Text("Lista płac:"), plain_);
        s.Write(kListRow, kValueCol, ListCaption(entry_.list()), plain_);
        while (AskEmployee()) {
            EnterLines();
            s.Clear(kEmployeeRow, 1, kKeysRow, 77, plain_);
        }
    }

  private:
    // --- employee ------------------------------------------------------------
    const char* EmployeeLabel() const {
        return entry_.legal_persons() ? "Os.prawna:" : "Pracownik:";
    }

    bool AskEmployee() {
        auto& s = rt_.screen();
        s.Write(kEmployeeRow, 2, rt_.Text(EmployeeLabel()), plain_);
        s.Clear(kKeysRow, 1, kKeysRow, 77, plain_);
        common::WriteLegend(rt_, kKeysRow, 2,
                            "<F3>-Kartoteka   <F4/F5>-Dotyczący listy   <F10>-Koniec");
        for (;;) {
            std::string typed(6, ' ');
            bool end = false;
            common::Form form(rt_);
            form.Get(kEmployeeRow, kValueCol, &typed, "999999");
            common::ReadResult r;
            {
                auto& kb = rt_.console().keyboard();
                common::HotKeysAside aside(rt_, {key::F(3), key::F(4), key::F(5), key::F(10)});
                kb.Bind(key::F(3), [&] { common::PickEmployee(rt_, tables_, form.Typed()); });
                kb.Bind(key::F(4), [&] { PickListEmployee(rt_, tables_, entry_, false); });
                kb.Bind(key::F(5), [&] { PickListEmployee(rt_, tables_, entry_, true); });
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
            const EmployeeVerdict v = entry_.Employee(number);
            for (const std::string& m : v.messages) common::ShowMessage(rt_, m);
            if (v.refused) continue;
            s.Write(kEmployeeRow, kValueCol, number, plain_);
            s.Clear(kEmployeeRow, kNameCol, kEmployeeRow, 77, plain_);
            s.Write(kEmployeeRow, kNameCol, Cut(common::EmployeeName(entry_.register_area()), 55),
                    plain_);
            return true;
        }
    }

    // --- the table -----------------------------------------------------------
    void ShowLine(int row, const Component* c, std::string_view symbol, double amount,
                  bool blocked) {
        auto& s = rt_.screen();
        s.Clear(row, 1, row, 77, plain_);
        s.Write(row, kSymbolCol, Cut(symbol, 4), plain_);
        if (c == nullptr) return;
        s.Write(row, kLineNameCol, Cut(c->name, kLineNameWidth), plain_);
        s.Write(row, kAmountCol, AmountText(*c, amount), plain_);
        if (c->deduction) s.Write(row, kDeductionCol, "XXX", plain_);
        if (blocked) s.Write(row, kBlockedCol, "XXX", plain_);
        if (c->off_list) s.Write(row, kAuxiliaryCol, "XXX", plain_);
    }

    // Shows the employee's positions; the row of the next line.
    int ShowTable() {
        auto& s = rt_.screen();
        s.Clear(kAboveRow, 1, kLastLineRow, 77, plain_);
        s.Write(kAboveRow, kBase + 61, "Blokada   Wart.", plain_);
        s.Write(kHeadingRow, kBase,
                rt_.Text("Symb.     Nazwa składnika            Wartość/Kwota  Potrac.  algor.  "
                         "pomocn."),
                plain_);
        const std::vector<Position> all = entry_.EmployeePositions();
        const size_t rows = kLastLineRow - kFirstLineRow + 1;
        // The last positions stay in view with a free line below them.
        const size_t first = all.size() >= rows ? all.size() - rows + 1 : 0;
        int row = kFirstLineRow;
        for (size_t i = first; i < all.size(); ++i, ++row) {
            const Position& p = all[i];
            ShowLine(row, entry_.Find(p.symbol), p.symbol, p.amount, p.blocked);
        }
        s.Clear(kKeysRow, 1, kKeysRow, 77, plain_);
        common::WriteLegend(rt_, kKeysRow, 1,
                            "<F3/F4/F5/F6>-Składn.płac   <F9>-Wylicz.składn.  <F10>-Wyjście  "
                            "<F12>-Analiza");
        return row;
    }

    enum class SymbolEnd { kSymbol, kCompute, kAnalyse, kEnd };

    SymbolEnd AskSymbol(int row, std::string* symbol) {
        std::string typed(4, ' ');
        SymbolEnd end = SymbolEnd::kSymbol;
        common::Form form(rt_);
        form.Get(row, kSymbolCol, &typed, "@!");
        common::ReadResult r;
        {
            auto& kb = rt_.console().keyboard();
            common::HotKeysAside aside(rt_, {key::F(3), key::F(4), key::F(5), key::F(6), key::F(9),
                                             key::F(10), key::F(12)});
            const std::pair<int, ComponentList> lists[] = {
                {key::F(3), ComponentList::kAll},
                {key::F(4), ComponentList::kApplying},
                {key::F(5), ComponentList::kEntered},
                {key::F(6), ComponentList::kOverridable},
            };
            for (const auto& [k, which] : lists)
                kb.Bind(k, [this, which = which] { PickComponent(rt_, tables_, entry_, which); });
            auto leave = [&](SymbolEnd why) {
                return [&, why] {
                    end = why;
                    kb.Push(key::kEsc);
                };
            };
            kb.Bind(key::F(9), leave(SymbolEnd::kCompute));
            kb.Bind(key::F(10), leave(SymbolEnd::kEnd));
            kb.Bind(key::F(12), leave(SymbolEnd::kAnalyse));
            r = common::Qrmrdr(rt_, form);
        }
        if (end != SymbolEnd::kSymbol) return end;
        if (!r.saved()) return SymbolEnd::kEnd;
        *symbol = typed;
        return SymbolEnd::kSymbol;
    }

    void EnterLines() {
        for (;;) {
            const int row = ShowTable();
            std::string symbol;
            switch (AskSymbol(row, &symbol)) {
                case SymbolEnd::kEnd:
                    return;
                case SymbolEnd::kCompute:
                    Compute();
                    continue;
                case SymbolEnd::kAnalyse:
                    Analyse();
                    continue;
                case SymbolEnd::kSymbol:
                    break;
            }
            const Component* c = nullptr;
            const std::string refusal = entry_.Refusal(symbol, &c);
            if (!refusal.empty()) {
                common::ShowMessage(rt_, refusal);
                continue;
            }
            EnterLine(row, *c);
        }
    }

    // --- one position --------------------------------------------------------
    void EnterLine(int row, const Component& c) {
        Position old;
        const bool present = entry_.Reserve(c, &old);
        ShowLine(row, &c, c.symbol, present ? old.amount : 0, present && old.blocked);
        if (present) common::ShowMessage(rt_, rt_.Text("Istniejąca pozycja"));
        bool blocked = false;
        const console::Attr emphasised = rt_.Standard(rt_.colours().ycowp);
        switch (EntryModeOf(c, present && old.blocked)) {
            case EntryMode::kAmount:
                break;
            case EntryMode::kRefused:
                entry_.Release();
                common::ShowMessage(rt_, rt_.Text("Składnik algorytmiczny"));
                return;
            case EntryMode::kBlock: {
                common::WriteMessage(rt_, rt_.Text("Składnik algorytmiczny"), emphasised);
                const char a =
                    common::Question(rt_, rt_.Text("Wprow.wart., blokując algor.?"), "tn", 'n');
                common::ClearMessageRow(rt_);
                if (!common::IsYes(a)) {
                    entry_.Release();
                    return;
                }
                blocked = true;
                break;
            }
            case EntryMode::kUnblock: {
                common::WriteMessage(rt_, rt_.Text("Zablokowany algorytm"), emphasised);
                const char a = common::Question(rt_, rt_.Text("Odblokować algorytm?"), "tn", 'n');
                common::ClearMessageRow(rt_);
                if (common::IsYes(a)) {
                    // The amount stays until the next recalculation.
                    entry_.Save(c, old.amount, false);
                    return;
                }
                blocked = true;
                break;
            }
        }
        ShowLine(row, &c, c.symbol, present ? old.amount : 0, blocked);
        double amount = present ? old.amount : 0;
        common::Form form(rt_);
        form.Get(row, kAmountCol, &amount, 13, 2, AmountPicture(c));
        if (!common::Qrmrdr(rt_, form).saved()) {
            entry_.Release();  // a reserved record stays deleted
            return;
        }
        entry_.Save(c, amount, blocked);
    }

    // --- F9 and F12 ----------------------------------------------------------
    void Compute() {
        if (recalculation_ == nullptr) {
            auto run = std::make_unique<Recalculation>(rt_, tables_, entry_.list(), &observer_);
            if (const std::string m = run->Check(); !m.empty()) {
                common::ShowMessage(rt_, m);
                return;
            }
            recalculation_ = std::move(run);
        }
        auto& s = rt_.screen();
        using O = ComputeObserver;
        const console::ScreenRegion under = s.Save(O::kTop, O::kLeft, O::kBottom, O::kRight);
        s.Clear(O::kTop, O::kLeft, O::kBottom, O::kRight, plain_);
        s.Box(O::kTop, O::kLeft, O::kBottom, O::kRight, console::kFrameDouble, plain_);
        s.Write(O::kTop + 1, O::kLeft + 6, rt_.Text("Wyliczanie składników płacowych"), plain_);
        s.Write(O::kAttendanceRow, O::kLeft + 3, rt_.Text("Algorytmy obecności:"), plain_);
        s.Write(O::kComponentRow, O::kLeft + 3, rt_.Text("Składnik płacowy:"), plain_);
        common::ShowWait(rt_);
        const RecalcOutcome done = recalculation_->ComputeEmployee(entry_.employee());
        s.Restore(under);
        entry_.PositionsChanged();
        if (!done.message.empty()) common::ShowMessage(rt_, done.message);
    }

    void Analyse() {
        if (analysis_ == nullptr)
            analysis_ = std::make_unique<ComponentAnalysis>(rt_, tables_, entry_.list());
        AnalyseComponents(rt_, entry_, *analysis_);
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    console::Attr plain_;
    PositionEntry entry_;
    ComputeObserver observer_;
    std::unique_ptr<Recalculation> recalculation_;
    std::unique_ptr<ComponentAnalysis> analysis_;
};

}  // namespace

void EnterComponents(common::Runtime& rt, common::Tables& tables) {
    auto& s = rt.screen();
    s.Clear(4, 1, 22, 77, rt.Standard(rt.colours().ycow));
    s.Write(kTitleRow, 22, rt.Text("4.4. Rejestracja składników płacowych"),
            rt.Standard(rt.colours().ycow));
    PayrollList list;
    if (!ChooseOpenList(rt, tables, &list)) return;
    ComponentEntry(rt, tables, list).Run();
}

void Qrm44(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsEntry)) return;
    common::Tables tables(rt);
    EnterComponents(rt, tables);
}

}  // namespace kestrel::payroll
