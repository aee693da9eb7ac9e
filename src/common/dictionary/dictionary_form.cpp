#include "common/dictionary/dictionary_form.h"

#include <algorithm>
#include <vector>

#include "common/checks/identifiers.h"
#include "common/pick/table_browse.h"
#include "common/screen/messages.h"
#include "common/screen/text_editor.h"
#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/formula/lexer.h"
#include "platform/formula/runtime.h"

namespace kestrel::common {
namespace {

constexpr int kMemoLines = 10;
constexpr int kMemoWidth = 60;

void Check(Runtime& rt, const base::Status& s, const dbf::WorkArea& area) {
    if (!s.ok()) throw Abandon(ShortenMessage(rt.Text("Błąd zapisu: ") + area.alias()));
}

int FieldLength(dbf::WorkArea& area, int field) {
    return area.table().fields()[static_cast<size_t>(field)].length;
}

// The lines of a memo: CR LF, LF and the soft break (0x8D LF) end a line.
std::vector<std::string> MemoLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\x8D' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\x1A') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    while (!lines.empty() && base::TrimRight(lines.back()).empty()) lines.pop_back();
    return lines;
}

// A text field's picture with scrolling when fewer than `length` characters show.
std::string ScrollPicture(const std::string& picture, int length, int shown) {
    if (shown >= length) return picture;
    if (!picture.empty() && picture[0] != '@') return picture;  // a template keeps its width
    std::string p = picture.empty() ? "@" : picture;
    const size_t blank = p.find(' ');
    const std::string functions = blank == std::string::npos ? p : p.substr(0, blank);
    return functions + "S" + std::to_string(shown);
}

// One field's editing state inside a form.
struct Edited {
    const DictionaryField* f;
    int field;
    std::string text;
    double number = 0;
    bool logical = false;
    const bool* when = nullptr;           // the flag that lets the field be asked
    const bool* unless = nullptr;         // the flag that keeps it from being asked
    const std::string* begins = nullptr;  // the text that must begin with when_prefix

    bool Conditional() const { return when != nullptr || unless != nullptr || begins != nullptr; }
    bool Asked() const {
        return (when == nullptr || *when) && (unless == nullptr || !*unless) &&
               (begins == nullptr || begins->starts_with(f->when_prefix));
    }
};

bool IsMemo(const DictionaryField& f) {
    return f.kind == FieldKind::kMemo || f.kind == FieldKind::kFormula;
}

// The editor of memo field `f`: the dictionary's own when it has one, else
// formulas in the formula window, where a formula must compile before it is
// taken (the operator corrects it or leaves with Esc), and other memos in
// the memo box.
bool EditMemoField(Runtime& rt, Tables& tables, const DictionaryHooks& hooks, dbf::WorkArea& area,
                   const DictionaryField& f, std::string* text) {
    if (hooks.edit_memo) {
        // Its windows and checks may read this very table (an import of
        // formulas, the namespace of a save test): the record, whose fields
        // may not be written yet, is put back as it was.
        const dbf::Record pending = area.record();
        bool saved = false;
        {
            const dbf::KeepPosition keep(area);
            saved = hooks.edit_memo(rt, tables, area, f, text);
        }
        area.record() = pending;
        return saved;
    }
    const std::string title = f.label.substr(0, f.label.size() - 1);
    if (f.kind != FieldKind::kFormula) return EditMemo(rt, title, text);
    TextEditorOptions window;
    window.title = rt.Text(" " + title + " ");
    std::string edited = *text;
    for (;;) {
        TextEditor editor(rt, window, edited);
        if (!editor.Run()) return false;
        edited = editor.Text();
        formula::Runtime engine(nullptr, rt.formulas());
        formula::Program program;
        formula::Error error;
        if (base::Trim(formula::StripLineBreaks(edited)).empty() ||
            engine.Compile(edited, &program, &error)) {
            *text = edited;
            return true;
        }
        ShowMessage(rt, error.Message());
    }
}

// The value of a field read into its editing state.
void Load(dbf::WorkArea& area, Edited& e) {
    switch (e.f->kind) {
        case FieldKind::kChoice:
            e.text = std::to_string(ChoiceIn(area, *e.f));
            break;
        case FieldKind::kLogical:
            e.logical = area.record().GetLogical(e.field);
            break;
        case FieldKind::kNumber:
            e.number = area.record().GetNumber(e.field);
            break;
        default:
            e.text = area.record().GetString(e.field);
    }
}

// True when a record other than the current one holds `value` in the
// dictionary's index `index`.
bool HeldElsewhere(dbf::WorkArea& area, const std::string& index, const std::string& value) {
    const int order = OrderOf(area, index);
    if (order <= 0) return false;
    const uint32_t here = area.recno();
    const int was = area.order();
    bool held = false;
    if (area.SetOrder(order).ok() && area.Seek(value).ok())
        held = area.found() && area.recno() != here;
    area.SetOrder(was);
    area.Goto(here);
    return held;
}

// Declares `e` on `form` at (row, col) showing `shown` characters; a code's
// name goes to name_col…name_right of the row (nowhere when that is empty).
// A blank `*fills` (optional) takes the name of a code when the code is left.
void Declare(Runtime& rt, Tables& tables, const DictionaryHooks& hooks, Form& form,
             CodePickers& pickers, dbf::WorkArea& area, Edited& e, int row, int col, int shown,
             int name_col, int name_right, std::string* fills = nullptr) {
    const DictionaryField& f = *e.f;
    if (f.kind == FieldKind::kLogical || f.kind == FieldKind::kNumber) {
        Field& field =
            f.kind == FieldKind::kLogical
                ? form.Get(row, col, &e.logical)
                : form.Get(row, col, &e.number, FieldLength(area, e.field),
                           area.table().fields()[static_cast<size_t>(e.field)].decimals, f.picture);
        if (e.Conditional()) field.When([&e] { return e.Asked(); });
        if (hooks.field_check)
            field.Valid([&rt, &tables, &hooks, &e] {
                return hooks.field_check(rt, tables, *e.f, "", e.number);
            });
        return;
    }
    if (f.kind == FieldKind::kChoice) {
        form.Get(row, col, &e.text, "9", 1).Valid([&rt, &e] {
            const int n = e.text[0] - '0';
            if (n >= 1 && n <= static_cast<int>(e.f->choices.size())) return true;
            ShowMessage(rt, rt.Text("Błędny typ"));
            return false;
        });
        return;
    }
    const int length = FieldLength(area, e.field);
    Field& field = form.Get(row, col, &e.text, ScrollPicture(f.picture, length, shown), length);
    if (e.Conditional()) field.When([&e] { return e.Asked(); });
    // The checks of the field, run in this order until one refuses.
    std::vector<FieldCheck> checks;
    if (f.required || f.full_or_blank) {
        checks.push_back([&e, length] {
            const size_t used = base::TrimRight(e.text).size();
            if (used == 0) return !e.f->required;
            return !e.f->full_or_blank || used == static_cast<size_t>(length);
        });
    }
    if (!f.allowed.empty()) {
        checks.push_back([&rt, &e] {
            const std::string v = base::Trim(e.text);
            if (v.empty() && e.f->allowed.find(' ') != std::string::npos) return true;
            if (v.size() == 1 && e.f->allowed.find(v[0]) != std::string::npos) return true;
            ShowMessage(rt, rt.Text(e.f->allowed_message));
            return false;
        });
    }
    if (f.account) {
        checks.push_back([&rt, &e] {
            if (base::TrimRight(e.text).empty()) return true;
            if (CheckBankAccount(e.text) != kIdValid)
                ShowMessage(rt, rt.Text("Błędny Nr rachunku"));
            return true;  // a warning only
        });
    }
    if (!f.unique_index.empty()) {
        checks.push_back([&rt, &area, &e] {
            if (base::TrimRight(e.text).empty() || !HeldElsewhere(area, e.f->unique_index, e.text))
                return true;
            ShowMessage(rt, rt.Text(e.f->unique_message));
            return false;
        });
    }
    if (hooks.field_check) {
        checks.push_back(
            [&rt, &tables, &hooks, &e] { return hooks.field_check(rt, tables, *e.f, e.text, 0); });
    }
    FieldCheck unique;
    if (!checks.empty()) {
        unique = [checks] {
            for (const FieldCheck& c : checks)
                if (!c()) return false;
            return true;
        };
        field.Valid(unique);
    }
    if (!f.code_of.empty()) {
        CodeField code = hooks.code_field(f.code_of);
        code.name_width = std::min(code.name_width, name_right - name_col + 1);
        const int name_row = code.name_width > 0 ? row : -1;
        FieldCheck also = unique;
        if (fills != nullptr) {
            also = [&rt, &tables, &form, &e, unique, fills, code] {
                if (unique && !unique()) return false;
                std::string name;
                if (base::TrimRight(*fills).empty() && !base::TrimRight(e.text).empty() &&
                    FindCode(rt, tables, code, e.text, &name)) {
                    name.resize(fills->size(), ' ');
                    *fills = name;
                    form.Display();
                }
                return true;
            };
        }
        FieldCheck when;
        if (e.Conditional()) when = [&e] { return e.Asked(); };
        pickers.Attach(form.size() - 1, std::move(code), &e.text, name_row, name_col, also, when);
    }
}

void Store(Runtime& rt, dbf::WorkArea& area, const Edited& e) {
    if (e.f->kind == FieldKind::kChoice) {
        const size_t chosen = static_cast<size_t>(e.text[0] - '1');
        for (size_t i = 0; i < e.f->choice_flags.size(); ++i)
            if (!e.f->choice_flags[i].empty())
                area.record().SetLogical(area.FieldIndex(e.f->choice_flags[i]), i == chosen);
        return;
    }
    if (e.f->kind == FieldKind::kLogical) {
        Check(rt, area.record().SetLogical(e.field, e.logical), area);
        return;
    }
    if (e.f->kind == FieldKind::kNumber) {
        Check(rt, area.record().SetNumber(e.field, e.number), area);
        return;
    }
    Check(rt, area.record().SetString(e.field, e.text), area);
}

}  // namespace

int ChoiceIn(dbf::WorkArea& area, const DictionaryField& f) {
    return ChoiceOf(f, [&area](const std::string& field) {
        return area.record().GetLogical(area.FieldIndex(field));
    });
}

std::string CellText(Runtime& rt, dbf::WorkArea& area, const DictionaryField& f) {
    switch (f.kind) {
        case FieldKind::kChoice:
            return rt.Text(f.choices[static_cast<size_t>(ChoiceIn(area, f) - 1)]);
        case FieldKind::kLogical:
            return area.record().GetLogical(area.FieldIndex(f.field)) ? "T" : "N";
        case FieldKind::kMemo:
        case FieldKind::kFormula: {
            std::string text;
            if (!area.ReadMemo(area.FieldIndex(f.field), &text).ok()) return "?";
            const std::vector<std::string> lines = MemoLines(text);
            return lines.empty() ? std::string() : lines.front();
        }
        case FieldKind::kText:
        case FieldKind::kNumber:
            break;
    }
    std::string value = area.record().GetString(area.FieldIndex(f.field));
    if (!f.allowed_words.empty() && value.size() == 1) {
        const size_t i = f.allowed.find(value[0]);
        if (i != std::string::npos && i < f.allowed_words.size())
            value += rt.Text(f.allowed_words[i]);
    }
    return value;
}

bool EditMemo(Runtime& rt, std::string_view title_utf8, std::string* text) {
    std::vector<std::string> lines = MemoLines(*text);
    const bool fits = static_cast<int>(lines.size()) <= kMemoLines &&
                      std::all_of(lines.begin(), lines.end(), [](const std::string& l) {
                          return static_cast<int>(base::TrimRight(l).size()) <= kMemoWidth;
                      });
    if (!fits) {
        ShowMessage(rt, rt.Text("Tekst za długi do edycji"));
        return false;
    }
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(8, 8, 21, 71);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(8, 8, 21, 71, std::string(console::kFrameDouble) + " ", frame);
    s.Write(8, 13, " " + rt.Text(title_utf8) + " ", rt.Standard(rt.colours().ycobp));
    lines.resize(kMemoLines);
    Form form(rt);
    for (int i = 0; i < kMemoLines; ++i) {
        lines[static_cast<size_t>(i)] = base::TrimRight(lines[static_cast<size_t>(i)]);
        form.Get(10 + i, 10, &lines[static_cast<size_t>(i)], "", kMemoWidth);
    }
    const bool saved = Qrmrdr(rt, form).saved();
    s.Restore(under);
    if (!saved) return false;
    while (!lines.empty() && base::TrimRight(lines.back()).empty()) lines.pop_back();
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) joined += "\r\n";
        joined += base::TrimRight(lines[i]);
    }
    *text = joined;
    return true;
}

bool AskNewFields(Runtime& rt, Tables& tables, const Dictionary& d, const DictionaryHooks& hooks,
                  dbf::WorkArea& area, Form& form, int row, int left, int right) {
    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    size_t label_width = rt.Text(d.key_label).size();
    for (const DictionaryField& f : d.fields)
        if (!f.same_row && !f.browse_only)
            label_width = std::max(label_width, rt.Text(f.label).size());
    const int col = left + 1 + static_cast<int>(label_width) + 1;
    std::vector<Edited> edited;
    edited.reserve(d.fields.size());
    for (const DictionaryField& f : d.fields)
        if (!IsMemo(f) && !f.browse_only)
            edited.push_back({&f, area.FieldIndex(f.field), std::string()});
    for (Edited& e : edited)
        for (const Edited& other : edited) {
            if (!e.f->when_set.empty() && other.f->field == e.f->when_set) e.when = &other.logical;
            if (!e.f->unless_set.empty() && other.f->field == e.f->unless_set)
                e.unless = &other.logical;
            if (!e.f->when_field.empty() && other.f->field == e.f->when_field)
                e.begins = &other.text;
        }
    if (hooks.new_defaults) hooks.new_defaults(rt, area);
    CodePickers pickers(rt, tables, form);
    int r = row - 1;
    int end = col;  // the column after the last field of the row
    for (Edited& e : edited) {
        int c = col;
        if (e.f->same_row) {
            const std::string label = rt.Text(e.f->label);
            c = end + (label.empty() ? 1 : 0);
            s.Write(r, c, label, frame);
            c += static_cast<int>(label.size());
        } else {
            r += 1;
            s.Write(r, left + 1, rt.Text(e.f->label), frame);
        }
        int shown = 1;
        const int length = FieldLength(area, e.field);
        if (e.f->kind == FieldKind::kChoice) {
            e.text = "1";
            s.Write(r + 1, left + 1, rt.Text(e.f->choice_legend), frame);
        } else if (e.f->kind == FieldKind::kNumber) {
            shown = length;
            if (!e.f->initial.empty()) e.number = std::stod(e.f->initial);
        } else if (e.f->kind == FieldKind::kText) {
            e.text = e.f->initial;
            e.text.resize(static_cast<size_t>(length), ' ');
            const bool tmpl = !e.f->picture.empty() && e.f->picture[0] != '@';
            shown = tmpl ? length : std::min(length, right - c);
        } else if (e.f->kind == FieldKind::kLogical) {
            e.logical = e.f->initial == "T";
        }
        if (hooks.new_defaults && e.f->kind != FieldKind::kChoice) Load(area, e);
        std::string* fills = nullptr;
        for (Edited& other : edited)
            if (!e.f->fills.empty() && other.f->field == e.f->fills) fills = &other.text;
        Declare(rt, tables, hooks, form, pickers, area, e, r, c, shown, c + shown + 1, right,
                fills);
        end = c + shown;
        if (!e.f->suffix.empty()) {
            s.Write(r, end, rt.Text(e.f->suffix), frame);
            end += static_cast<int>(rt.Text(e.f->suffix).size());
        }
        if (e.f->kind == FieldKind::kChoice) r += 1;
    }
    if (!edited.empty() && !Qrmrdr(rt, form).saved()) return false;
    for (const Edited& e : edited) Store(rt, area, e);
    for (const DictionaryField& f : d.fields) {
        if (!IsMemo(f) || f.browse_only) continue;
        std::string text;
        if (!EditMemoField(rt, tables, hooks, area, f, &text)) return false;
        Check(rt, area.WriteMemo(area.FieldIndex(f.field), text), area);
    }
    if (hooks.before_commit) hooks.before_commit(rt, area, true);
    return true;
}

void EditInPlace(Runtime& rt, Tables& tables, const DictionaryHooks& hooks, dbf::WorkArea& area,
                 const DictionaryField& f, int row, int col, int width) {
    tables.RLock(area);
    struct Unlock {
        dbf::WorkArea& a;
        ~Unlock() { a.Unlock(); }
    } unlock{area};
    Check(rt, area.Skip(0), area);  // what another station may have written
    if (area.deleted()) return;     // deleted there meanwhile
    if (IsMemo(f)) {
        const int field = area.FieldIndex(f.field);
        std::string text;
        if (!area.ReadMemo(field, &text).ok())
            throw Abandon(ShortenMessage(rt.Text("Błąd odczytu: ") + area.alias()));
        if (!EditMemoField(rt, tables, hooks, area, f, &text)) return;
        Check(rt, area.WriteMemo(field, text), area);
        if (hooks.before_commit) hooks.before_commit(rt, area, false);
        Check(rt, area.Commit(), area);
        return;
    }
    Edited e{&f, area.FieldIndex(f.field), std::string()};
    Load(area, e);
    // A field asked only under a flag is changed only under it.
    if (!f.when_set.empty() && !area.record().GetLogical(area.FieldIndex(f.when_set))) return;
    if (!f.unless_set.empty() && area.record().GetLogical(area.FieldIndex(f.unless_set))) return;
    if (!f.when_field.empty() &&
        !area.record().GetString(area.FieldIndex(f.when_field)).starts_with(f.when_prefix))
        return;
    Form form(rt);
    CodePickers pickers(rt, tables, form);
    // The name of a code shows on the row under the browse.
    Declare(rt, tables, hooks, form, pickers, area, e, row, col, width, 0, -1);
    if (!Qrmrdr(rt, form).saved()) return;
    Store(rt, area, e);
    if (hooks.before_commit) hooks.before_commit(rt, area, false);
    Check(rt, area.Commit(), area);
}

CodeField CodeFieldOver(const Dictionary& d) {
    CodeField f;
    f.table = d.table;
    f.indexes = d.indexes;
    f.code_field = d.key_field;
    f.name_field = d.name_field;
    return f;
}

PickDictionary PickOf(const Dictionary& d, const DictionaryHooks& hooks) {
    PickDictionary p;
    p.table = d.table;
    p.indexes = d.indexes;
    p.code_field = d.key_field;
    p.name_field = d.name_field;
    p.form_title = " Nowy rekord ";
    p.code_label = d.key_label;
    p.code_picture = d.key_picture;
    p.zero_pad = d.zero_pad;
    p.can_insert = !d.formula_symbol;
    p.columns = [&d](Runtime& rt, dbf::WorkArea& a) {
        std::vector<BrowseColumn> cols{FieldColumn(rt, a, d.key_field, d.key_heading)};
        BrowseColumn name = FieldColumn(rt, a, d.name_field, "NAZWA");
        name.width = std::min(name.width, 40);
        cols.push_back(name);
        return cols;
    };
    p.new_record = [&d, hooks](NewRecord& n) {
        return AskNewFields(n.rt, n.tables, d, hooks, n.area, n.form, n.code_row + 1, 13, 62);
    };
    return p;
}

}  // namespace kestrel::common
