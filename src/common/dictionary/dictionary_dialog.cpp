#include "common/dictionary/dictionary_dialog.h"

#include <algorithm>
#include <vector>

#include "common/dictionary/dictionary_form.h"
#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

constexpr int kBoxTop = 7, kBoxBottom = 19;

void Check(Runtime& rt, const base::Status& s, const dbf::WorkArea& area) {
    if (!s.ok()) throw Abandon(ShortenMessage(rt.Text("Błąd odczytu: ") + area.alias()));
}

using base::Trim;

class Dialog {
  public:
    Dialog(Runtime& rt, const Dictionary& d, const DictionaryHooks& hooks, bool can_change)
        : rt_(rt), d_(d), hooks_(hooks), can_change_(can_change), tables_(rt) {}

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    void DrawLegends();
    int Handle(int mode, Browse& b);
    int Edit(Browse& b);
    void ShowUnderBrowse(Browse& b);
    int FirstFieldColumn() const {
        return (d_.second_key.field.empty() ? 1 : 2) + static_cast<int>(hooks_.computed.size());
    }
    /// The key of the current record (both parts).
    std::string KeyHere() const {
        std::string k = area_->record().GetString(key_);
        if (key2_ >= 0) k += area_->record().GetString(key2_);
        return k;
    }
    int Insert();
    int Delete(Browse& b);
    bool Printable() const { return d_.search && hooks_.print != nullptr; }
    int Print();
    /// Stands on the visible record with `key`; false (position kept) when none.
    bool SeekVisible(const std::string& key);
    /// Stands on a locked record marked deleted for `key`: a deleted one of
    /// that key when there is one, else a new one.
    void Reserve(const std::string& key);

    Runtime& rt_;
    const Dictionary& d_;
    const DictionaryHooks& hooks_;
    const bool can_change_;
    Tables tables_;
    dbf::WorkArea* area_ = nullptr;
    int key_ = -1;
    int key2_ = -1;  // the second part, -1 for none
    int width_ = 0;  // of the key
    int width2_ = 0;
    NameSearch search_;
    int box_left_ = 1, box_right_ = 78;
    std::vector<BrowseColumn> columns_;  // the browse's, for printing
};

std::vector<BrowseColumn> Dialog::Columns() {
    dbf::WorkArea& a = *area_;
    std::vector<BrowseColumn> cols{FieldColumn(rt_, a, d_.key_field, d_.key_heading)};
    if (!d_.second_key.field.empty())
        cols.push_back(FieldColumn(rt_, a, d_.second_key.field, d_.second_key.heading));
    for (const ComputedColumn& k : hooks_.computed) {
        BrowseColumn c;
        c.heading = rt_.Text(k.heading);
        c.width = std::max<int>(k.width, static_cast<int>(c.heading.size()));
        c.value = [this, &k] { return k.value(rt_, *area_); };
        cols.push_back(std::move(c));
    }
    for (const DictionaryField& f : d_.fields) {
        BrowseColumn c;
        c.heading = rt_.Text(f.heading);
        const int field = a.FieldIndex(f.field);
        int length = f.kind == FieldKind::kText || f.kind == FieldKind::kNumber ||
                             f.kind == FieldKind::kLogical
                         ? a.table().fields()[static_cast<size_t>(field)].length
                         : f.column;
        for (const std::string& word : f.allowed_words)  // the letter and its word
            length = std::max(length, 1 + static_cast<int>(rt_.Text(word).size()));
        c.width = std::max<int>(f.column > 0 ? std::min(f.column, length) : length,
                                static_cast<int>(c.heading.size()));
        c.value = [this, &f] { return CellText(rt_, *area_, f); };
        cols.push_back(std::move(c));
    }
    // The frame is as wide as the columns (the browse pans beyond 76).
    int total = -3;
    for (const auto& c : cols) total += c.width + 3;
    total = std::min(total, 75);
    box_left_ = (80 - (total + 2)) / 2;
    box_right_ = box_left_ + total + 1;
    return cols;
}

void Dialog::DrawLegends() {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(20, 1, 21, 77, normal);
    if (d_.search) WriteLegend(rt_, 20, 2, "<F2>-Szukanie wg fragmentu nazwy");
    if (Printable()) WriteLegend(rt_, 20, 38, "<F7>-Wydruk");
    if (can_change_)
        WriteLegend(rt_, 21, 2,
                    "<Esc>-Wyjście   <Enter>-Zmiana pola   <Ins>-Nowy rekord   <Del>-Kasowanie");
    else
        WriteLegend(rt_, 21, 2, "<Esc>-Wyjście");
}

void Dialog::Run() {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, normal);
    s.Write(6, 22, d_.menu + ". " + rt_.Text(d_.title), rt_.Standard(rt_.colours().ycob));
    if (!d_.note.empty()) s.Write(5, 22, rt_.Text(d_.note), normal);
    area_ = &tables_.Open(d_.table, d_.indexes);
    key_ = area_->FieldIndex(d_.key_field);
    width_ = area_->table().fields()[static_cast<size_t>(key_)].length;
    if (!d_.second_key.field.empty()) {
        key2_ = area_->FieldIndex(d_.second_key.field);
        width2_ = area_->table().fields()[static_cast<size_t>(key2_)].length;
    }
    if (!d_.indexes.empty()) Check(rt_, area_->SetOrder(1), *area_);
    Check(rt_, area_->GoTop(), *area_);
    std::vector<BrowseColumn> cols = Columns();
    columns_ = cols;
    s.Box(kBoxTop, box_left_, kBoxBottom, box_right_, std::string(console::kFrameSingle) + " ",
          normal);
    DrawLegends();
    BrowseTable(
        rt_, *area_, kBoxTop + 1, box_left_ + 1, kBoxBottom - 1, box_right_ - 1, std::move(cols),
        [this](int mode, int, Browse& b) { return Handle(mode, b); }, 1);
}

void Dialog::ShowUnderBrowse(Browse& b) {
    if (!hooks_.under_browse) return;
    std::string line = b.source().Empty() ? std::string() : hooks_.under_browse(rt_, *area_);
    line.resize(76, ' ');
    rt_.screen().Write(20, 2, line, rt_.Standard(rt_.colours().ycow));
}

int Dialog::Handle(int mode, Browse& b) {
    ShowUnderBrowse(b);
    if (mode == kBrowseIdle) return kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return kBrowseClose;
        case key::kEnter:
            return can_change_ ? Edit(b) : kBrowseRedrawRow;
        case key::kIns:
            return can_change_ ? Insert() : kBrowseRedrawRow;
        case key::kDel:
            return can_change_ ? Delete(b) : kBrowseRedrawRow;
        case key::F(2):
            if (!d_.search) return kBrowseRedrawRow;
            return SearchByName(rt_, *area_, area_->FieldIndex(d_.name_field), &search_);
        case key::F(7):
            return Printable() ? Print() : kBrowseRedrawRow;
        default:
            return kBrowseRedrawRow;
    }
}

int Dialog::Edit(Browse& b) {
    // The key and the computed columns are never changed; an empty
    // dictionary has nothing to change.
    const int column = b.column() - FirstFieldColumn();
    if (column < 0 || b.source().Empty()) return kBrowseRedrawRow;
    int shown = 0;
    const int x = b.ColumnX(b.column(), &shown);
    if (x < 0) return kBrowseRedrawRow;
    EditInPlace(rt_, tables_, hooks_, *area_, d_.fields[static_cast<size_t>(column)],
                b.current_row(), x, shown);
    return kBrowseRedrawRow;
}

bool Dialog::SeekVisible(const std::string& key) {
    const uint32_t before = area_->recno();
    bool found = false;
    if (area_->order() > 0) {
        Check(rt_, area_->Seek(key), *area_);
        found = area_->found();
    } else {
        Check(rt_, area_->GoTop(), *area_);
        while (!area_->eof() && !found) {
            found = KeyHere() == key;
            if (!found) Check(rt_, area_->Skip(1), *area_);
        }
    }
    if (!found) Check(rt_, area_->Goto(before), *area_);
    return found;
}

void Dialog::Reserve(const std::string& key) {
    if (area_->order() > 0) {
        tables_.Reserve(*area_, key);
        return;
    }
    // Without an index: look for a deleted record of the key in record order.
    area_->set_hide_deleted(false);
    uint32_t reuse = 0;
    base::Status s = area_->GoTop();
    for (; s.ok() && !area_->eof(); s = area_->Skip(1))
        if (area_->deleted() && KeyHere() == key) {
            reuse = area_->recno();
            break;
        }
    area_->set_hide_deleted(true);
    Check(rt_, s, *area_);
    if (reuse != 0) {
        Check(rt_, area_->Goto(reuse), *area_);
        tables_.RLock(*area_);
        if (area_->deleted()) {
            area_->record().Clear();
            area_->record().set_deleted(true);
            Check(rt_, area_->Commit(), *area_);
            return;
        }
        area_->Unlock();
    }
    tables_.Reserve(*area_, "");
}

int Dialog::Insert() {
    auto& s = rt_.screen();
    int lines = 1;
    for (const DictionaryField& f : d_.fields)
        if (!f.same_row && !f.browse_only && f.kind != FieldKind::kMemo &&
            f.kind != FieldKind::kFormula)
            lines += f.kind == FieldKind::kChoice ? 2 : 1;
    const int top = 8, left = 6, right = 73, bottom = top + lines + 1;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    struct Restore {
        console::Screen& s;
        const console::ScreenRegion& r;
        ~Restore() { s.Restore(r); }
    } restore{s, under};
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top, left + 5, rt_.Text(" Nowy rekord "), rt_.Standard(rt_.colours().ycobp));

    size_t label_width = rt_.Text(d_.key_label).size();
    for (const DictionaryField& f : d_.fields)
        if (!f.same_row && !f.browse_only)
            label_width = std::max(label_width, rt_.Text(f.label).size());
    const int row = top + 1;
    const int col = left + 2 + static_cast<int>(label_width) + 1;
    s.Write(row, left + 2, rt_.Text(d_.key_label), frame);
    std::string typed(static_cast<size_t>(width_), ' ');
    Form form(rt_);
    FieldCheck first = [&] {
        if (Trim(typed).empty()) return false;
        if (d_.formula_symbol && hooks_.is_symbol && !hooks_.is_symbol(typed)) {
            ShowMessage(rt_, rt_.Text("Błędny symbol"));
            return false;
        }
        return !hooks_.key_check || hooks_.key_check(rt_, tables_, Trim(typed));
    };
    Field& key_input = form.Get(row, col, &typed, d_.key_picture, width_);
    std::string typed2(static_cast<size_t>(width2_), ' ');
    const int col2 = col + width_ + 1 + static_cast<int>(rt_.Text(d_.second_key.label).size());
    {
        CodePickers pickers(rt_, tables_, form);
        if (d_.key_code_of.empty())
            key_input.Valid(first);
        else
            pickers.Attach(0, hooks_.code_field(d_.key_code_of), &typed, -1, 0, first);
        if (key2_ >= 0) {
            s.Write(row, col + width_ + 1, rt_.Text(d_.second_key.label), frame);
            form.Get(row, col2, &typed2, d_.second_key.picture, width2_);
        }
        if (!Qrmrdr(rt_, form).saved()) return kBrowseRedrawRow;
    }
    form.Clear();
    std::string code = CompleteKey(d_, typed, width_);
    s.Write(row, col, code, rt_.Standard(rt_.colours().ycoi));
    if (key2_ >= 0) {
        typed2.resize(static_cast<size_t>(width2_), ' ');
        s.Write(row, col2, typed2, rt_.Standard(rt_.colours().ycoi));
        code += typed2;
    }

    if (SeekVisible(code)) {
        ShowMessage(rt_, rt_.Text("Istnieje rekord o takim kluczu"));
        return kBrowseRedrawAll;  // standing on it
    }
    if (d_.formula_symbol && hooks_.symbol_taken) {
        const std::string holder = hooks_.symbol_taken(rt_, tables_, code, d_.table);
        if (!holder.empty()) {
            ShowMessage(rt_, rt_.Text("Istnieje taki klucz w ") + holder);
            return kBrowseRedrawRow;
        }
    }
    const uint32_t before = area_->recno();
    Reserve(code);
    Check(rt_, area_->record().SetString(key_, code.substr(0, static_cast<size_t>(width_))),
          *area_);
    if (key2_ >= 0)
        Check(rt_, area_->record().SetString(key2_, code.substr(static_cast<size_t>(width_))),
              *area_);
    Check(rt_, area_->Commit(), *area_);
    const uint32_t reserved = area_->recno();
    bool done = false;
    try {
        done = AskNewFields(rt_, tables_, d_, hooks_, *area_, form, row + 1, left + 1, right - 1);
    } catch (...) {
        area_->Unlock();
        throw;
    }
    if (done) {
        tables_.Confirm(*area_);
        area_->Unlock();
        Check(rt_, area_->Goto(reserved), *area_);
    } else {
        area_->Unlock();
        Check(rt_, area_->Goto(before), *area_);
        if (area_->deleted() || area_->eof()) Check(rt_, area_->GoTop(), *area_);
    }
    return kBrowseRedrawAll;
}

int Dialog::Print() {
    const uint32_t before = area_->recno();
    struct Back {
        Dialog& d;
        uint32_t recno;
        ~Back() {
            if (d.area_->Goto(recno).ok() && (d.area_->eof() || d.area_->deleted()))
                (void)d.area_->GoTop();
        }
    } back{*this, before};
    hooks_.print(rt_, d_, *area_, columns_);
    DrawLegends();
    return kBrowseRedrawAll;
}

int Dialog::Delete(Browse& b) {
    if (b.source().Empty()) return kBrowseRedrawRow;
    if (!IsYes(Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n'))) return kBrowseRedrawRow;
    tables_.RLock(*area_);
    const base::Status st = area_->Delete();
    area_->Unlock();
    if (!st.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd zapisu: ") + area_->alias()));
    Check(rt_, area_->Skip(1), *area_);
    if (area_->eof()) Check(rt_, area_->GoBottom(), *area_);
    return kBrowseRedrawAll;
}

}  // namespace

void RunDictionary(Runtime& rt, const Dictionary& d, const DictionaryHooks& hooks) {
    if (!d.needs_switch.empty() && !rt.config().Logical(d.needs_switch)) {
        ShowMessage(rt, rt.Text("Funkcja niedostępna"));
        return;
    }
    if (!CheckRights(rt, d.enter_mask)) return;
    Dialog dialog(rt, d, hooks, CheckRights(rt, d.change_mask, false));
    dialog.Run();
}

}  // namespace kestrel::common
