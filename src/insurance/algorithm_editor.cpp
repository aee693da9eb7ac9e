#include "insurance/algorithm_editor.h"

#include <deque>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;

constexpr unsigned kMaskEnter = 8 | 32;  // kind 4 or kind 6
constexpr unsigned kMaskChange = 8;      // kind 4
constexpr int kTop = 6, kBottom = 18;

struct RowValues;

class AlgorithmEditor {
  public:
    AlgorithmEditor(common::Runtime& rt, AlgorithmKind kind, const char* title,
                    const FormulaEditorFn& edit)
        : rt_(rt),
          tables_(rt),
          table_(DescribeAlgorithms(kind, rt.config().Logical("NAGLPPK20"))),
          title_(title),
          edit_(edit),
          plain_(rt.Standard(rt.colours().ycow)) {}

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    int Handle(int mode);
    std::string Formula(const std::string& field);
    int Defined();
    bool MayChange();
    int Formulas();
    int Attributes();
    int NewRow();
    int Remove();
    RowValues Values(bool blank);
    void Store(const RowValues& v);
    bool RowForm(bool is_new, RowValues* v);
    void Beep() { rt_.console().Tone(common::kToneFrequency, common::kToneTicks); }
    std::string Error(const char* what) { return rt_.Text(what) + table_.table; }

    common::Runtime& rt_;
    common::Tables tables_;
    AlgorithmTable table_;
    const char* title_;
    const FormulaEditorFn& edit_;
    console::Attr plain_;
    dbf::WorkArea* area_ = nullptr;
};

std::string AlgorithmEditor::Formula(const std::string& field) {
    std::string text;
    if (!area_->ReadMemo(area_->FieldIndex(field), &text).ok())
        throw common::Abandon(Error("Błąd odczytu: "));
    return text;
}

int AlgorithmEditor::Defined() {
    int n = 0;
    for (const std::string& f : table_.formulas)
        if (!base::Trim(Formula(f)).empty()) ++n;
    return n;
}

std::vector<BrowseColumn> AlgorithmEditor::Columns() {
    std::vector<BrowseColumn> out;
    for (const RowField& f : table_.fields) {
        const int i = area_->FieldIndex(f.field);
        out.push_back({rt_.Text(f.heading), 0, [this, i, f] {
                           if (area_->eof()) return std::string();
                           const dbf::Record& r = area_->record();
                           if (f.picture.empty()) return std::string(r.GetLogical(i) ? "T" : "N");
                           return r.GetString(i);
                       }});
        const int width = area_->record().fields()[static_cast<size_t>(i)].length;
        if (out.back().heading.size() < static_cast<size_t>(width)) out.back().width = width;
    }
    out.push_back({rt_.Text("ALGORYTMY"), 10, [this] {
                       if (area_->eof()) return std::string();
                       return std::to_string(Defined()) + "/" +
                              std::to_string(table_.formulas.size());
                   }});
    return out;
}

void AlgorithmEditor::Run() {
    area_ = table_.index.empty() ? &tables_.Open(table_.table)
                                 : &tables_.Open(table_.table, {table_.index});
    if (!area_->GoTop().ok()) throw common::Abandon(Error("Błąd odczytu: "));
    auto& s = rt_.screen();
    s.Clear(4, 1, 21, 77, plain_);
    s.Write(4, 22, rt_.Text(title_), rt_.Standard(rt_.colours().ycob));
    common::WriteLegend(rt_, 19, 2, "<Esc>-Wyjście  <Enter>-Algorytmy  <F4>-Zmiana");
    common::WriteLegend(rt_, 20, 2, "<Ins>-Nowy wiersz  <Del>-Kasowanie");
    common::BrowseTable(rt_, *area_, kTop, 1, kBottom, 77, Columns(),
                        [this](int mode, int, Browse&) { return Handle(mode); });
}

int AlgorithmEditor::Handle(int mode) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::kEnter:
            return Formulas();
        case key::F(4):
            return Attributes();
        case key::kIns:
            return NewRow();
        case key::kDel:
            return Remove();
        default:
            return common::kBrowseRedrawRow;
    }
}

bool AlgorithmEditor::MayChange() {
    return common::CheckRights(rt_, kMaskChange);
}

// The list of the row's formulas; each chosen one goes to the editor.
int AlgorithmEditor::Formulas() {
    if (area_->eof()) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    if (!MayChange()) return common::kBrowseRedrawRow;
    auto& s = rt_.screen();
    const int top = 5, left = 44, bottom = 21, right = 70;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    int chosen = 1;
    for (;;) {
        std::vector<std::string> texts;
        for (const std::string& f : table_.formulas)
            texts.push_back(rt_.Text(FormulaTitle(f)) +
                            (base::Trim(Formula(f)).empty() ? "" : " *"));
        s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", plain_);
        chosen = common::Qrmach(rt_, top + 1, left + 1, bottom - 1, right - 1, texts, {}, chosen);
        if (chosen <= 0) break;
        const std::string& field = table_.formulas[static_cast<size_t>(chosen - 1)];
        // The row stays locked while its formula is edited; the lock reads
        // it again, so the editor starts from what is stored now.
        tables_.RLock(*area_);
        std::string text = Formula(field);
        const console::ScreenRegion screen = s.Save(0, 0, 24, 79);
        const bool saved = edit_ && edit_(rt_, tables_, FormulaTitle(field), &text);
        s.Restore(screen);
        if (saved &&
            (!area_->WriteMemo(area_->FieldIndex(field), text).ok() || !area_->Commit().ok()))
            throw common::Abandon(Error("Błąd zapisu: "));
        area_->Unlock();
    }
    s.Restore(under);
    return common::kBrowseRedrawRow;
}

// The values of a row's own fields while they are asked.
struct RowValues {
    std::vector<std::string> texts;
    std::deque<bool> flags;
};

RowValues AlgorithmEditor::Values(bool blank) {
    RowValues v;
    for (const RowField& f : table_.fields) {
        const int i = area_->FieldIndex(f.field);
        const bool stored = !blank && !area_->eof();
        v.texts.push_back(stored ? area_->record().GetString(i) : std::string());
        v.flags.push_back(stored && area_->record().GetLogical(i));
    }
    return v;
}

void AlgorithmEditor::Store(const RowValues& v) {
    dbf::Record& r = area_->record();
    for (size_t i = 0; i < table_.fields.size(); ++i) {
        const int field = area_->FieldIndex(table_.fields[i].field);
        const base::Status st = table_.fields[i].picture.empty() ? r.SetLogical(field, v.flags[i])
                                                                 : r.SetString(field, v.texts[i]);
        if (!st.ok()) throw common::Abandon(Error("Błąd zapisu: "));
    }
}

// The row's fields in a box: the key only for a new row. False on Esc.
bool AlgorithmEditor::RowForm(bool is_new, RowValues* v) {
    auto& s = rt_.screen();
    const int rows = static_cast<int>(table_.fields.size());
    const int top = 8, left = 10, bottom = top + rows + 1, right = 72;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", plain_);
    common::Form form(rt_);
    for (size_t i = 0; i < table_.fields.size(); ++i) {
        const RowField& f = table_.fields[i];
        const int row = top + 1 + static_cast<int>(i);
        const int col = left + 34;
        s.Write(row, left + 2, rt_.Text(f.label), plain_);
        if (f.picture.empty()) {
            form.Get(row, col, &v->flags[i]);
        } else {
            const int width =
                area_->record().fields()[static_cast<size_t>(area_->FieldIndex(f.field))].length;
            v->texts[i].resize(static_cast<size_t>(width), ' ');
            common::Field& g = form.Get(row, col, &v->texts[i], f.picture, width);
            if (f.key && !is_new) g.ReadOnly();
        }
    }
    const bool saved = common::Qrmrdr(rt_, form).saved();
    s.Restore(under);
    return saved;
}

int AlgorithmEditor::Attributes() {
    bool any = false;
    for (const RowField& f : table_.fields) any = any || !f.key;
    if (area_->eof() || !any) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    if (!MayChange()) return common::kBrowseRedrawRow;
    tables_.RLock(*area_);
    RowValues v = Values(false);
    if (RowForm(false, &v)) {
        Store(v);
        if (!area_->Commit().ok()) throw common::Abandon(Error("Błąd zapisu: "));
    }
    area_->Unlock();
    return common::kBrowseRedrawRow;
}

// A new row: its key is asked first; a free key gets a reserved record
// (a deleted one of the key reused, else one appended), recalled at once.
int AlgorithmEditor::NewRow() {
    if (!MayChange()) return common::kBrowseRedrawRow;
    if (table_.index.empty()) {
        if (!area_->eof()) {
            common::ShowMessage(rt_, rt_.Text("Istnieje rekord o takim kluczu"));
            return common::kBrowseRedrawRow;
        }
        tables_.Append(*area_);
        if (!area_->Commit().ok()) throw common::Abandon(Error("Błąd zapisu: "));
        area_->Unlock();
        return common::kBrowseRedrawAll;
    }
    RowValues v = Values(true);
    if (!RowForm(true, &v)) return common::kBrowseRedrawRow;
    std::string key;
    for (size_t i = 0; i < table_.fields.size(); ++i)
        if (table_.fields[i].key) key += v.texts[i];
    if (base::Trim(key).empty()) return common::kBrowseRedrawRow;
    const uint32_t before = area_->recno();
    if (!area_->Seek(key).ok()) throw common::Abandon(Error("Błąd odczytu: "));
    if (area_->found()) {
        common::ShowMessage(rt_, rt_.Text("Istnieje rekord o takim kluczu"));
        return common::kBrowseRedrawAll;
    }
    if (before != 0 && !area_->Goto(before).ok()) throw common::Abandon(Error("Błąd odczytu: "));
    tables_.Reserve(*area_, key);
    Store(v);
    if (!area_->Commit().ok()) throw common::Abandon(Error("Błąd zapisu: "));
    tables_.Confirm(*area_);
    area_->Unlock();
    return common::kBrowseRedrawAll;
}

int AlgorithmEditor::Remove() {
    if (area_->eof()) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    if (!MayChange()) return common::kBrowseRedrawRow;
    if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować wiersz algorytmów?"), "tn", 'n')))
        return common::kBrowseRedrawRow;
    tables_.RLock(*area_);
    if (!area_->Delete().ok()) throw common::Abandon(Error("Błąd zapisu: "));
    area_->Unlock();
    if (!area_->Skip(1).ok() || (area_->eof() && !area_->GoBottom().ok()))
        throw common::Abandon(Error("Błąd odczytu: "));
    return common::kBrowseRedrawAll;
}

}  // namespace

void EditAlgorithms(common::Runtime& rt, AlgorithmKind kind, const char* title,
                    const FormulaEditorFn& edit_formula) {
    if (!common::CheckRights(rt, kMaskEnter)) return;
    AlgorithmEditor(rt, kind, title, edit_formula).Run();
}

}  // namespace kestrel::insurance
