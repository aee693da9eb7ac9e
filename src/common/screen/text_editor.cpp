#include "common/screen/text_editor.h"

#include <algorithm>
#include <cstdio>

#include "common/screen/messages.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

constexpr int kCtrlY = 25;

}  // namespace

TextEditor::TextEditor(Runtime& rt, TextEditorOptions options, std::string_view text)
    : rt_(rt),
      options_(std::move(options)),
      original_(text),
      buffer_(options_.line_length, options_.max_length),
      insert_(options_.insert) {
    if (options_.legends.empty())
        options_.legends = {rt_.Text(" <Ctrl+W>-Zapis "), rt_.Text(" <Esc>-Wyjście ")};
    buffer_.Load(text);
    const int rows = options_.bottom - options_.top + 1;
    shown_.assign(static_cast<size_t>(std::max(rows, 1)), std::string());
    shown_valid_.assign(shown_.size(), false);
}

std::string TextEditor::Text() const {
    return changed_ ? buffer_.Stored() : original_;
}

bool TextEditor::Insert(std::string_view text) {
    if (options_.read_only) return false;
    if (!buffer_.Insert(text)) {
        Beep();
        return false;
    }
    changed_ = true;
    return true;
}

void TextEditor::Redraw() {
    std::fill(shown_valid_.begin(), shown_valid_.end(), false);
    position_.clear();
    DrawFrame();
}

void TextEditor::Beep() {
    rt_.console().Tone(kToneFrequency, kToneTicks);
}

void TextEditor::DrawFrame() {
    auto& s = rt_.screen();
    const TextEditorOptions& o = options_;
    s.Box(o.top - 1, o.left - 1, o.bottom + 1, o.right + 1, console::kFrameDouble, attr_);
    const console::Attr bar = rt_.Standard(rt_.colours().ycobp);
    auto legends = [&s, bar](int row, int col, const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            s.Write(row, col, text, bar);
            col += static_cast<int>(text.size()) + 1;
        }
    };
    const int after_title = o.left + 1 + static_cast<int>(o.title.size());
    if (!o.title.empty()) s.Write(o.top - 1, o.left + 1, o.title, bar);
    legends(o.top - 1, o.title.empty() ? after_title : after_title + 1, o.title_legends);
    legends(o.bottom + 1, o.left + 1, o.legends);
}

void TextEditor::Paint() {
    auto& s = rt_.screen();
    const TextEditorOptions& o = options_;
    const int rows = static_cast<int>(shown_.size());
    const int width = o.right - o.left + 1;
    // Keep the cursor's line in the window.
    const int row = buffer_.row();
    if (row < first_line_) first_line_ = row;
    if (row >= first_line_ + rows) first_line_ = row - rows + 1;
    for (int r = 0; r < rows; ++r) {
        const int i = first_line_ + r;
        std::string text = i < buffer_.line_count() ? buffer_.line(i) : std::string();
        text.resize(static_cast<size_t>(width), ' ');
        const size_t k = static_cast<size_t>(r);
        if (shown_valid_[k] && shown_[k] == text) continue;
        s.Write(o.top + r, o.left, text, attr_);
        shown_[k] = std::move(text);
        shown_valid_[k] = true;
    }
    char pos[32];
    std::snprintf(pos, sizeof pos, " W/K:%4d/%-3d", row + 1, buffer_.col() + 1);
    if (position_ != pos) {
        position_ = pos;
        s.Write(o.top - 1, o.right - static_cast<int>(position_.size()), position_, attr_);
    }
    s.SetCursorShape(insert_ && !o.read_only ? console::CursorShape::kHalfBlock
                                             : console::CursorShape::kUnderline);
    s.SetCursor(o.top + row - first_line_, o.left + buffer_.col());
}

void TextEditor::Handle(int k) {
    const int page = static_cast<int>(shown_.size());
    const bool edit = !options_.read_only;
    bool changed = false;
    switch (k) {
        case key::kLeft:
            buffer_.Left();
            return;
        case key::kRight:
            buffer_.Right();
            return;
        case key::kUp:
            buffer_.Up();
            return;
        case key::kDown:
            buffer_.Down();
            return;
        case key::kHome:
            buffer_.Home();
            return;
        case key::kEnd:
            buffer_.End();
            return;
        case key::kPgUp:
            first_line_ = std::max(first_line_ - page, 0);
            buffer_.Up(page);
            return;
        case key::kPgDn:
            first_line_ = std::max(std::min(first_line_ + page, buffer_.line_count() - page), 0);
            buffer_.Down(page);
            return;
        case key::kCtrlHome:
        case key::kCtrlPgUp:
            buffer_.Top();
            return;
        case key::kCtrlPgDn:
            buffer_.Bottom();
            return;
        case key::kIns:
            insert_ = !insert_;
            return;
        case key::kEnter:
            changed = edit && buffer_.Enter();
            break;
        case key::kBackspace:
            changed = edit && buffer_.Backspace();
            break;
        case key::kDel:
            changed = edit && buffer_.Delete();
            break;
        case kCtrlY:
            changed = edit && buffer_.DeleteLine();
            break;
        default:
            if (!edit || !console::IsPrintable(k)) return;
            changed = buffer_.Type(static_cast<unsigned char>(k), insert_);
            if (!changed) Beep();
            break;
    }
    changed_ = changed_ || changed;
}

bool TextEditor::Run() {
    auto& s = rt_.screen();
    const TextEditorOptions& o = options_;
    const console::ScreenRegion under = s.Save(o.top - 1, o.left - 1, o.bottom + 1, o.right + 1);
    const console::CursorShape shape = s.cursor_shape();
    attr_ = rt_.Standard(rt_.colours().ycow);
    // As every read: no "CZEKAJ..." while the operator types, and again
    // once the text is taken.
    if (!o.read_only) s.Clear(0, 0, 0, console::kCols - 1, attr_);
    Redraw();
    bool saved = false;
    for (;;) {
        Paint();
        const int k = Qrminkey(rt_);
        if (k == key::kCtrlEnd) {  // Ctrl+W
            saved = !o.read_only;
            break;
        }
        if (k == key::kEsc || (o.read_only && k == key::kEnter)) break;
        if (o.keys && o.keys(k, *this)) continue;
        Handle(k);
    }
    s.Restore(under);
    s.SetCursorShape(shape);
    if (!o.read_only) ShowWait(rt_);
    return saved;
}

bool EditText(Runtime& rt, const TextEditorOptions& options, std::string* text) {
    TextEditor editor(rt, options, *text);
    if (!editor.Run()) return false;
    *text = editor.Text();
    return true;
}

}  // namespace kestrel::common
