#include "common/screen/form.h"

#include <algorithm>

#include "common/screen/messages.h"
#include "common/session/letter_conversions.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using picture::EditBuffer;
using picture::Kind;

// Width a text template takes: its template positions with @R, else all.
int TemplateWidth(const picture::Picture& p) {
    if (!p.insert_literals) return static_cast<int>(p.tmpl.size());
    int n = 0;
    for (char t : p.tmpl) {
        const char u = t >= 'a' && t <= 'z' ? static_cast<char>(t - 'a' + 'A') : t;
        n += std::string_view("X9#ANLY!").find(u) != std::string_view::npos ? 1 : 0;
    }
    return n;
}

}  // namespace

Form::Form(Runtime& rt) : rt_(rt), upper_(UpperTable(rt.letters())) {}

Field& Form::Get(int row, int col, std::string* var, std::string_view pic, int width) {
    Field& f = fields_.emplace_back();
    f.row_ = row;
    f.col_ = col;
    f.kind_ = Kind::kText;
    f.text_ = var;
    f.picture_ = picture::Parse(pic);
    if (width <= 0) width = static_cast<int>(var->size());
    if (width <= 0) width = TemplateWidth(f.picture_);
    f.width_ = std::max(width, 1);
    var->resize(static_cast<size_t>(f.width_), ' ');
    return f;
}

Field& Form::Get(int row, int col, double* var, int width, int decimals, std::string_view pic) {
    Field& f = fields_.emplace_back();
    f.row_ = row;
    f.col_ = col;
    f.kind_ = Kind::kNumber;
    f.number_ = var;
    f.picture_ = picture::Parse(pic);
    f.width_ = width;
    f.decimals_ = decimals;
    return f;
}

Field& Form::Get(int row, int col, picture::Date* var, std::string_view pic) {
    Field& f = fields_.emplace_back();
    f.row_ = row;
    f.col_ = col;
    f.kind_ = Kind::kDate;
    f.date_ = var;
    f.picture_ = picture::Parse(pic);
    f.width_ = 10;
    return f;
}

Field& Form::Get(int row, int col, bool* var, std::string_view pic) {
    Field& f = fields_.emplace_back();
    f.row_ = row;
    f.col_ = col;
    f.kind_ = Kind::kLogical;
    f.logical_ = var;
    f.picture_ = picture::Parse(pic);
    f.width_ = 1;
    return f;
}

EditBuffer Form::Buffer(const Field& f) const {
    switch (f.kind_) {
        case Kind::kText:
            return EditBuffer::ForText(*f.text_, f.picture_, f.width_, upper_);
        case Kind::kNumber:
            return EditBuffer::ForNumber(*f.number_, f.picture_, f.width_, f.decimals_);
        case Kind::kDate:
            return EditBuffer::ForDate(*f.date_, f.picture_);
        case Kind::kLogical:
            break;
    }
    return EditBuffer::ForLogical(*f.logical_, f.picture_);
}

std::string Form::Shown(const Field& f) const {
    switch (f.kind_) {
        case Kind::kText:
            if (f.picture_.tmpl.empty()) return picture::FormatText(*f.text_, f.picture_, upper_);
            // The template as editing lays it out (a short template is widened).
            return Buffer(f).text();
        case Kind::kNumber:
            return picture::FormatNumber(*f.number_, f.picture_, f.width_, f.decimals_);
        case Kind::kDate:
            return picture::FormatDate(*f.date_);
        case Kind::kLogical:
            break;
    }
    return picture::FormatLogical(*f.logical_, f.picture_, 'T', 'N');
}

int Form::Window(const Field& f, int size) const {
    const int s = f.picture_.scroll_width;
    return s > 0 && s < size ? s : size;
}

void Form::Draw(const Field& f, console::Attr attr) {
    const std::string text = Shown(f);
    rt_.screen().Write(
        f.row_, f.col_,
        text.substr(0, static_cast<size_t>(Window(f, static_cast<int>(text.size())))), attr);
}

void Form::DrawActive(const Field& f, EditBuffer& b) {
    const int window = Window(f, b.size());
    const int first = b.Scroll(window);
    const console::Attr attr = rt_.console().colour().enhanced;
    const int end = rt_.screen().Write(
        f.row_, f.col_, b.text().substr(static_cast<size_t>(first), static_cast<size_t>(window)),
        attr);
    // A shown value longer than the buffer (a DB/CR mark) is blanked meanwhile.
    const int shown = Window(f, static_cast<int>(Shown(f).size()));
    if (f.col_ + shown > end) rt_.screen().Repeat(f.row_, end, ' ', f.col_ + shown - end, attr);
    rt_.screen().SetCursor(f.row_, f.col_ + b.pos() - first);
}

void Form::Display() {
    const console::ColourSpec& c = rt_.console().colour();
    for (const Field& f : fields_) Draw(f, f.read_only_ ? c.standard : c.unselected);
}

bool Form::Enterable(Field& f) {
    if (f.read_only_) return false;
    if (!f.when_) return true;
    const bool ok = f.when_();
    Display();
    return ok;
}

int Form::Find(int from, int step) {
    for (int i = from; i >= 0 && i < size(); i += step)
        if (Enterable(field(i))) return i;
    return -1;
}

bool Form::Commit(Field& f, const EditBuffer& b) {
    if (!b.changed()) return true;
    switch (f.kind_) {
        case Kind::kText: {
            const std::string v = b.TextValue();
            updated_ = updated_ || v != *f.text_;
            *f.text_ = v;
            return true;
        }
        case Kind::kNumber: {
            const double v = b.NumberValue();
            updated_ = updated_ || v != *f.number_;
            *f.number_ = v;
            return true;
        }
        case Kind::kDate: {
            const auto d = b.DateValue();
            if (!d) return false;
            updated_ = updated_ || *d != *f.date_;
            *f.date_ = *d;
            return true;
        }
        case Kind::kLogical: {
            const bool v = b.LogicalValue();
            updated_ = updated_ || v != *f.logical_;
            *f.logical_ = v;
            return true;
        }
    }
    return true;
}

Form::Exit Form::Edit(Field& f, int* key_out) {
    EditBuffer b = Buffer(f);
    active_ = &b;
    struct Reset {
        const EditBuffer*& slot;
        ~Reset() { slot = nullptr; }
    } reset{active_};
    auto& s = rt_.screen();
    for (;;) {
        s.SetCursorShape(insert_ ? console::CursorShape::kHalfBlock
                                 : console::CursorShape::kUnderline);
        DrawActive(f, b);
        const int k = Qrminkey(rt_);
        *key_out = k;
        Exit exit;
        switch (k) {
            case key::kLeft:
                b.Left();
                continue;
            case key::kRight:
                b.Right();
                continue;
            case key::kHome:
                b.Home();
                continue;
            case key::kEnd:
                b.End();
                continue;
            case key::kBackspace:
                b.Backspace();
                continue;
            case key::kDel:
                b.Delete();
                continue;
            case key::kIns:
                insert_ = !insert_;
                continue;
            case 25:  // Ctrl+Y
                b.ClearToEnd();
                continue;
            case key::kUp:
            case key::kShiftTab:
                exit = Exit::kUp;
                break;
            case key::kDown:
            case key::kTab:
                exit = Exit::kDown;
                break;
            case key::kEnter:
                exit = Exit::kEnter;
                break;
            case key::kPgUp:
            case key::kPgDn:
            case key::kCtrlEnd:
                exit = Exit::kSave;
                break;
            case key::kEsc:
                exit = Exit::kEsc;
                break;
            default:
                if (!console::IsPrintable(k)) continue;
                if (!b.Type(static_cast<unsigned char>(k), insert_) || !b.typed_out()) continue;
                exit = Exit::kTypedOut;
                break;
        }
        if (exit == Exit::kEsc) return exit;
        if (!Commit(f, b)) {
            // Not a real date: stay until it is one or the operator leaves with Esc.
            rt_.console().Tone(kToneFrequency, kToneTicks);
            b.Home();
            continue;
        }
        if (f.valid_ && !f.valid_()) {
            // A message's wait leaves "CZEKAJ..." behind; the operator types on.
            rt_.screen().Clear(0, 60, 0, 68, rt_.Standard(rt_.colours().ycow));
            b = Buffer(f);
            Display();
            continue;
        }
        return exit;
    }
}

ReadResult Form::Read(int start) {
    ReadResult r;
    updated_ = false;
    auto& s = rt_.screen();
    const console::CursorShape saved_shape = s.cursor_shape();
    Display();
    int i = Find(std::max(start, 0), +1);
    while (i >= 0) {
        current_ = i;
        Field& f = field(i);
        int k = 0;
        const Exit exit = Edit(f, &k);
        r.last_field = i;
        r.last_key = k;
        Draw(f, rt_.console().colour().unselected);
        if (exit == Exit::kEsc) {
            r.end = ReadEnd::kEscape;
            break;
        }
        if (exit == Exit::kSave) break;
        if (exit == Exit::kUp) {
            const int prev = Find(i - 1, -1);
            if (prev >= 0) i = prev;
            continue;
        }
        const int next = Find(i + 1, +1);
        if (next >= 0) {
            i = next;
        } else if (exit == Exit::kDown) {
            continue;  // Down on the last field stays there
        } else {
            break;  // Enter or typing past the end of the last field
        }
    }
    current_ = -1;
    r.updated = updated_;
    s.SetCursorShape(saved_shape);
    Display();
    return r;
}

ReadResult Qrmrdr(Runtime& rt, Form& form) {
    rt.screen().Clear(0, 0, 0, console::kCols - 1, rt.Standard(rt.colours().ycow));
    const ReadResult r = form.Read();
    form.Clear();
    ShowWait(rt);
    ClearMessageRow(rt);
    return r;
}

}  // namespace kestrel::common
