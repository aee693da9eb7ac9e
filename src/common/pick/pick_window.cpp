#include "common/pick/pick_window.h"

#include "common/pick/table_browse.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/session/letter_conversions.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

using base::Trim;

void Check(Runtime& rt, const base::Status& s, const dbf::WorkArea& area) {
    if (!s.ok()) throw Abandon(ShortenMessage(rt.Text("Błąd odczytu: ") + area.alias()));
}

void Beep(Runtime& rt) {
    rt.console().Tone(kToneFrequency, kToneTicks);
}

dbf::WorkArea& OpenDictionary(Tables& tables, const PickDictionary& d) {
    if (dbf::WorkArea* open = tables.workspace().Select(d.table)) return *open;
    return tables.Open(d.table, d.indexes);
}

// One pick window: the state its key handler works on.
class PickRun {
  public:
    PickRun(Runtime& rt, Tables& tables, const PickDictionary& d, dbf::WorkArea& area)
        : rt_(rt), tables_(tables), d_(d), area_(area), code_(area.FieldIndex(d.code_field)) {}

    int Handle(int mode, Browse& browse);
    bool picked() const { return picked_; }

  private:
    int Insert();
    bool CompleteNewRecord(Form& form, int code_row);

    Runtime& rt_;
    Tables& tables_;
    const PickDictionary& d_;
    dbf::WorkArea& area_;
    int code_;
    NameSearch search_;
    bool picked_ = false;
};

int PickRun::Handle(int mode, Browse& browse) {
    if (mode == kBrowseIdle) return kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return kBrowseClose;
        case key::kEnter:
            if (browse.source().Empty()) {
                Beep(rt_);
                return kBrowseRedrawRow;
            }
            TypeIntoField(rt_, area_.record().GetString(code_));
            picked_ = true;
            return kBrowseClose;
        case key::F(2):
            return SearchByName(rt_, area_, area_.FieldIndex(d_.name_field), &search_);
        case key::kIns:
            return d_.can_insert ? Insert() : kBrowseRedrawRow;
        default:
            return kBrowseRedrawRow;
    }
}

int PickRun::Insert() {
    auto& s = rt_.screen();
    const console::ScreenRegion under =
        s.Save(d_.form_top, d_.form_left, d_.form_bottom, d_.form_right);
    struct Restore {
        console::Screen& s;
        const console::ScreenRegion& r;
        ~Restore() { s.Restore(r); }
    } restore{s, under};
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(d_.form_top, d_.form_left, d_.form_bottom, d_.form_right,
          std::string(console::kFrameDouble) + " ", frame);
    s.Write(d_.form_top, d_.form_left + 5, rt_.Text(d_.form_title),
            rt_.Standard(rt_.colours().ycobp));

    const int width = area_.table().fields()[static_cast<size_t>(code_)].length;
    const int row = d_.form_top + 1;
    const int col = d_.form_left + 2;
    const std::string label = rt_.Text(d_.code_label);
    const int code_col = col + static_cast<int>(label.size()) + 1;
    s.Write(row, col, label, frame);
    std::string code(static_cast<size_t>(width), ' ');
    Form form(rt_);
    form.Get(row, code_col, &code, d_.code_picture, width).Valid([&] {
        return !Trim(code).empty();
    });
    if (!form.Read().saved()) return kBrowseRedrawRow;
    form.Clear();
    std::string trimmed = Trim(code);
    if (d_.zero_pad && static_cast<int>(trimmed.size()) < width)
        trimmed.insert(0, static_cast<size_t>(width) - trimmed.size(), '0');
    trimmed.resize(static_cast<size_t>(width), ' ');
    code = trimmed;
    s.Write(row, code_col, code, rt_.Standard(rt_.colours().ycoi));

    const uint32_t before = area_.recno();
    Check(rt_, area_.Seek(code), area_);
    if (area_.found()) {
        ShowMessage(rt_, rt_.Text("Istnieje rekord o takim kluczu"));
        Check(rt_, area_.Goto(before), area_);  // the window stays where it was
        return kBrowseRedrawRow;
    }
    tables_.Reserve(area_, code);
    area_.record().SetString(code_, code);
    Check(rt_, area_.Commit(), area_);
    const uint32_t reserved = area_.recno();
    bool done = false;
    try {
        done = CompleteNewRecord(form, row);
    } catch (...) {
        area_.Unlock();
        throw;
    }
    if (done) {
        tables_.Confirm(area_);
        area_.Unlock();
        Check(rt_, area_.Goto(reserved), area_);
    } else {
        area_.Unlock();
        // Back where the window stood; when that is the hidden record itself
        // (an empty dictionary), to where the code would have been.
        Check(rt_, area_.Goto(before), area_);
        if (area_.deleted() && area_.hide_deleted()) Check(rt_, area_.Seek(code, true), area_);
    }
    return kBrowseRedrawAll;
}

bool PickRun::CompleteNewRecord(Form& form, int code_row) {
    if (!d_.new_record) return true;
    NewRecord n{rt_, tables_, area_, form, code_row};
    return d_.new_record(n);
}

void DrawSearchBox(Runtime& rt, bool from_start) {
    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(12, 18, 16, 55, std::string(console::kFrameDouble) + " ", frame);
    const console::Attr bright = rt.Standard(rt.colours().ycowp);
    if (from_start)
        s.Write(13, 24, rt.Text("Szukanie od początku zbioru"), bright);
    else
        s.Write(13, 23, rt.Text("Szukanie od NASTĘPNEJ POZYCJI"), bright);
    s.Write(14, 25, rt.Text(" <F1>-Inny typ szukania "), rt.Standard(rt.colours().ycobp));
    s.Write(15, 20, rt.Text("Fragm.nazwy:"), frame);
}

}  // namespace

int SearchByName(Runtime& rt, dbf::WorkArea& area, int name, NameSearch* state) {
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(12, 18, 16, 55);
    DrawSearchBox(rt, state->from_start);
    HotKeysAside aside(rt, {key::F(1)});
    rt.console().keyboard().Bind(key::F(1), [&rt, state] {
        state->from_start = !state->from_start;
        DrawSearchBox(rt, state->from_start);
    });
    Form form(rt);
    form.Get(15, 33, &state->text, "", 20).Valid([state] { return !Trim(state->text).empty(); });
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok) {
        Beep(rt);
        return kBrowseRedrawRow;
    }
    const std::string wanted = Qrmuppe(rt.letters(), Trim(state->text));
    const uint32_t before = area.recno();
    Check(rt, state->from_start ? area.GoTop() : area.Skip(1), area);
    while (!area.eof()) {
        if (Qrmuppe(rt.letters(), area.record().GetString(name)).find(wanted) != std::string::npos)
            return kBrowseRedrawAll;
        Check(rt, area.Skip(1), area);
    }
    Check(rt, area.Goto(before), area);
    ShowMessage(rt, rt.Text("Brak takiego klucza"));
    return kBrowseRedrawAll;
}

bool Pick(Runtime& rt, Tables& tables, const PickDictionary& d, std::string_view typed) {
    HotKeysAside keys(rt, {key::F(3), key::F(11)});
    WindowState state(rt, tables.workspace());
    dbf::WorkArea& area = OpenDictionary(tables, d);
    const int by_code = d.indexes.empty() ? 0 : OrderOf(area, d.indexes.front());
    Check(rt, area.SetOrder(by_code > 0 ? by_code : 1), area);
    const std::string wanted = Trim(typed);
    Check(rt, wanted.empty() ? area.GoTop() : area.Seek(wanted, true), area);

    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(d.top, d.left, d.bottom, d.right, std::string(console::kFrameDouble) + " ", frame);
    WriteLegend(rt, d.top + 1, d.left + 6, "<Esc>-Wyjście");
    WriteLegend(rt, d.top + 1, d.left + 29, "<Enter>-Akceptacja");
    WriteLegend(rt, d.top + 2, d.left + 7, "<F2>-Szukanie");
    if (d.can_insert) WriteLegend(rt, d.top + 2, d.left + 28, "<Insert>-Nowy rekord");

    PickRun run(rt, tables, d, area);
    BrowseTable(rt, area, d.top + 3, d.left + 1, d.bottom - 1, d.right - 1, d.columns(rt, area),
                [&run](int mode, int, Browse& b) { return run.Handle(mode, b); });
    return run.picked();
}

}  // namespace kestrel::common
