#include "payroll/formula_editor.h"

#include <algorithm>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/index_order.h"
#include "payroll/data/function_help.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;
using common::Runtime;
using common::Tables;
using common::TextEditor;

// The windows over the editor: a double frame, a title row, a legend row
// and a browse below them.
constexpr int kTop = 5, kLeft = 10, kBottom = 21, kRight = 69;

// A table of formulas, as its import window shows it.
struct FormulaTable {
    const char* table;
    const char* index;  // by key
    const char* key_field;
    const char* key_heading;
    const char* name_field;
    const char* name_heading;
    const char* formula_field;
};

constexpr FormulaTable kPkspl{"PKSPL",  "PKSPL1", "SKLADN_PL", "SYMB",
                              "NAZWA_", "NAZWA",  "ALGORYTM_"};
constexpr FormulaTable kPkfunc{"PKFUNC", "PKFUNC1",   "FUN_", "FUNKCJA",
                               "PAR_",   "PARAMETRY", "WZOR_"};
constexpr FormulaTable kPkzest{"PKZEST", "PKZEST1", "ZESTAW_", "SYMB", "OPIS_", "OPIS", "WZOR_"};
constexpr FormulaTable kPkrob{"PKROB", "PKROB1", "KOD_OB", "KOD", "NAZWA_", "NAZWA", "ALGORYTM_"};
constexpr FormulaTable kPkrnb{"PKRNB",  "PKRNB1", "KOD_NIEOB", "KOD",
                              "NAZWA_", "NAZWA",  "ALGORYTM_"};

// The table a key imports from for a kind of formula, nullptr when none.
const FormulaTable* ImportTable(FormulaKind kind, int k) {
    switch (kind) {
        case FormulaKind::kComponent:
            return k == key::F(8) ? &kPkspl : nullptr;
        case FormulaKind::kSelectionSet:
            return k == key::F(8) ? &kPkzest : nullptr;
        case FormulaKind::kWorkTime:
            return k == key::F(8) ? &kPkrob : k == key::F(9) ? &kPkrnb : nullptr;
        case FormulaKind::kUserFunction:
            break;
    }
    if (k == key::F(6)) return &kPkfunc;
    if (k == key::F(7)) return &kPkzest;
    if (k == key::F(8)) return &kPkspl;
    if (k == key::F(9)) return &kPkrob;
    if (k == key::F(11)) return &kPkrnb;
    return nullptr;
}

const char* ImportLegend(FormulaKind kind) {
    switch (kind) {
        case FormulaKind::kUserFunction:
            return " <F6-F9,F11>-Import ";
        case FormulaKind::kWorkTime:
            return " <F8,F9>-Import ";
        default:
            return " <F8>-Import ";
    }
}

void Beep(Runtime& rt) {
    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
}

void DrawWindow(Runtime& rt, std::string_view title_utf8, std::string_view legend_utf8) {
    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", frame);
    const std::string title = rt.Text(title_utf8);
    const int width = kRight - kLeft - 1;
    const int col = kLeft + 1 + std::max(0, (width - static_cast<int>(title.size())) / 2);
    s.Write(kTop + 1, col, title, rt.Standard(rt.colours().ycowp));
    common::WriteLegend(rt, kTop + 2, kLeft + 2, legend_utf8);
}

// A whole formula in the editor's window, to read.
void ShowFormula(Runtime& rt, const std::string& heading, const std::string& text) {
    common::TextEditorOptions o;
    o.title = " " + heading + " ";
    o.legends = {rt.Text(" <Esc>-Wyjście ")};
    o.read_only = true;
    TextEditor(rt, o, text).Run();
}

// The area of a formula table for a window: the one open already (its
// order and record are put back afterwards), or opened here and closed
// again.
class TableForWindow {
  public:
    TableForWindow(Tables& tables, const FormulaTable& t) : tables_(tables) {
        area_ = tables.workspace().Find(t.table);
        if (area_ == nullptr) {
            area_ = &tables.Open(t.table, {t.index});
            opened_ = true;
        } else {
            order_ = area_->order();
            recno_ = area_->recno();
        }
        tables.workspace().Select(area_->number());
        const int order = common::OrderOf(*area_, t.index);
        area_->SetOrder(order > 0 ? order : 1);
        area_->GoTop();
    }
    ~TableForWindow() {
        if (opened_) {
            tables_.workspace().Close(area_->number());
        } else {
            area_->SetOrder(order_);
            area_->Goto(recno_);
        }
    }
    TableForWindow(const TableForWindow&) = delete;
    TableForWindow& operator=(const TableForWindow&) = delete;
    dbf::WorkArea& area() { return *area_; }

  private:
    Tables& tables_;
    dbf::WorkArea* area_ = nullptr;
    bool opened_ = false;
    int order_ = 0;
    uint32_t recno_ = 0;
};

std::string ReadFormula(Runtime& rt, dbf::WorkArea& area, const FormulaTable& t) {
    std::string text;
    if (!area.ReadMemo(area.FieldIndex(t.formula_field), &text).ok())
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd odczytu: ") + area.alias()));
    return text;
}

// The records of `t` with their formulas: <F3> shows one whole; with an
// editor, <F5> inserts it at the editor's cursor and ends the window.
void RecordWindow(Runtime& rt, Tables& tables, const FormulaTable& t, std::string_view title_utf8,
                  TextEditor* editor) {
    common::WindowState state(rt, tables.workspace());
    common::HotKeysAside aside(rt, {key::F(3), key::F(5)});
    TableForWindow table(tables, t);
    dbf::WorkArea& area = table.area();
    DrawWindow(rt, title_utf8,
               editor != nullptr ? "<Esc>-Wyjście    <F3>-Podgląd    <F5>-Import"
                                 : "<Esc>-Wyjście    <F3>-Treść funkcji");
    std::vector<BrowseColumn> columns{common::FieldColumn(rt, area, t.key_field, t.key_heading)};
    BrowseColumn name = common::FieldColumn(rt, area, t.name_field, t.name_heading);
    const int key_width = columns.front().width;
    name.width = std::min(name.width, kRight - kLeft - 3 - key_width);
    columns.push_back(name);
    const int key_field = area.FieldIndex(t.key_field);
    auto handler = [&](int mode, int, Browse& browse) {
        if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
        const int k = rt.console().LastKey();
        if (k == key::kEsc) return common::kBrowseClose;
        const bool f3 = k == key::F(3);
        const bool f5 = k == key::F(5) && editor != nullptr;
        if (!f3 && !f5) return common::kBrowseRedrawRow;
        if (browse.source().Empty()) {
            Beep(rt);
            return common::kBrowseRedrawRow;
        }
        const std::string text = ReadFormula(rt, area, t);
        if (f3) {
            ShowFormula(rt, base::TrimRight(area.record().GetString(key_field)), text);
            return common::kBrowseRedrawRow;
        }
        editor->Insert(text);
        return common::kBrowseClose;
    };
    common::BrowseTable(rt, area, kTop + 3, kLeft + 1, kBottom - 1, kRight - 1, std::move(columns),
                        handler);
}

// "Dostępne funkcje": the help list, the arguments of the current function
// on the row under it.
void FunctionsWindow(Runtime& rt) {
    const console::ScreenRegion under = rt.screen().Save(kTop, kLeft, kBottom, kRight);
    const std::span<const FunctionHelp> help = PayrollFunctionHelp();
    DrawWindow(rt, "Dostępne funkcje", "<Esc>-Wyjście");
    int current = 1;
    auto entry = [&help, &current] { return help[static_cast<size_t>(current - 1)]; };
    std::vector<BrowseColumn> columns{
        {rt.Text("FUNKCJA"), 10, [&] { return std::string(entry().name); }},
        {rt.Text("OPIS"), kHelpWidth, [&] { return rt.Text(entry().description); }},
    };
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    auto arguments = [&] {
        std::string args = rt.Text("Argumenty: ") + rt.Text(entry().arguments);
        args.resize(static_cast<size_t>(kRight - kLeft - 3), ' ');
        rt.screen().Write(kBottom - 1, kLeft + 2, args, frame);
    };
    arguments();
    auto handler = [&](int mode, int, Browse&) {
        arguments();
        if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
        return rt.console().LastKey() == key::kEsc ? common::kBrowseClose
                                                   : common::kBrowseRedrawRow;
    };
    common::BrowseList(rt, kTop + 3, kLeft + 1, kBottom - 2, kRight - 1, std::move(columns),
                       handler, &current, static_cast<int>(help.size()));
    rt.screen().Restore(under);
}

}  // namespace

std::function<bool(int, TextEditor&)> FormulaKeys(Runtime& rt, Tables& tables, FormulaKind kind) {
    return [&rt, &tables, kind](int k, TextEditor& editor) {
        if (k == key::F(1)) {
            FunctionsWindow(rt);
            return true;
        }
        if (k == key::F(2)) {
            RecordWindow(rt, tables, kPkfunc, "Definicje własnych funkcji", nullptr);
            return true;
        }
        const FormulaTable* t = ImportTable(kind, k);
        if (t == nullptr) return false;
        const std::string title =
            std::string("Rekordy ") + t->table + ", dostępne dla funkcji: \"import danych\"";
        RecordWindow(rt, tables, *t, title, &editor);
        return true;
    };
}

bool EditFormula(Runtime& rt, Tables& tables, const FormulaEdit& edit, std::string* text) {
    common::HotKeysAside aside(
        rt, {key::F(1), key::F(2), key::F(6), key::F(7), key::F(8), key::F(9), key::F(11)});
    common::TextEditorOptions o;
    o.title = rt.Text(" " + edit.title + " ");
    o.legends = {rt.Text(" <Ctrl+W>-Zapis "), rt.Text(" <Esc>-Wyjście "),
                 rt.Text(" <F1,F2>-Funkcje ")};
    o.title_legends = {rt.Text(ImportLegend(edit.kind))};
    o.keys = FormulaKeys(rt, tables, edit.kind);
    TextEditor editor(rt, o, *text);
    if (!editor.Run()) return false;
    *text = editor.Text();
    if (edit.store) edit.store(*text);
    if (edit.test) edit.test(*text);
    return true;
}

}  // namespace kestrel::payroll
