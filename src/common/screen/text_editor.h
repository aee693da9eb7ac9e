// The full-screen editor of memo texts (formulas, descriptions).
//
// A framed window shows the text of a TextBuffer (text_buffer.h): lines are
// wrapped at the line length with soft line breaks, Enter ends a paragraph
// with CR LF. The frame carries the title and the cursor position
// "W/K:" (line/column) on its top row and the key legends on its bottom
// row.
//
//     TextEditorOptions o;                       // rows 7-21, columns 12-66, 54
//     o.title = rt.Text(" Algorytm ");
//     if (EditText(rt, o, &text)) WriteTheMemo(text);
//
// Keys: the cursor keys, Home/End (line), PgUp/PgDn (a window's height),
// Ctrl+Home or Ctrl+PgUp (beginning of the text), Ctrl+PgDn (end of the
// text), Ins (insert or overwrite; the cursor is a half block while
// inserting), Del, Backspace, Ctrl+Y (delete the line), Enter (a new
// paragraph). Ctrl+W saves and ends (Ctrl+End is the same key code, so it
// is no cursor key here), Esc ends without saving and asks nothing. A
// byte that does not fit in the maximum length gives a tone.
//
// Extra keys: `keys` is offered every key but Ctrl+W and Esc before the
// editor acts on it; when it returns true the editor does nothing more with
// it. It may insert text at the cursor (Insert) and open windows of its own
// over the editor (restoring what they covered, or calling Redraw).
//
// Drawing: each key repaints only the window rows whose text changed, and
// the position on the frame.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/screen/text_buffer.h"
#include "common/session/runtime.h"
#include "platform/console/screen.h"

namespace kestrel::common {

class TextEditor;

struct TextEditorOptions {
    /// The text window (inclusive); the frame goes round it.
    int top = 7, left = 12, bottom = 21, right = 66;
    int line_length = 54;
    size_t max_length = 65000;
    /// CP852 texts on the frame: the title (top row, from the left), the
    /// legends (bottom row, from the left) and more legends after the
    /// title, each one frame character apart. Empty legends:
    /// " <Ctrl+W>-Zapis " and " <Esc>-Wyjście ".
    std::string title;
    std::vector<std::string> legends;
    std::vector<std::string> title_legends;
    /// Starts in insert mode (otherwise overwriting).
    bool insert = true;
    /// Only looks: no change is taken, Enter and Ctrl+W end like Esc.
    bool read_only = false;
    /// Extra keys (above); may be empty.
    std::function<bool(int key, TextEditor& editor)> keys;
};

class TextEditor {
  public:
    /// An editor over `text` (CP852, as stored).
    TextEditor(Runtime& rt, TextEditorOptions options, std::string_view text);

    /// Shows the window, edits until Ctrl+W (true) or Esc (false), and
    /// puts back the screen it covered and the cursor shape. Like a read
    /// of a form it clears row 0 first and shows "CZEKAJ..." at the end
    /// (not when it only shows a text).
    bool Run();

    /// The text to store: the text given when nothing was changed,
    /// otherwise the buffer's stored form.
    std::string Text() const;
    bool changed() const { return changed_; }

    TextBuffer& buffer() { return buffer_; }
    const TextEditorOptions& options() const { return options_; }
    bool insert_mode() const { return insert_; }

    /// Inserts CP852 text at the cursor (line breaks start paragraphs); a
    /// tone and false when it does not fit.
    bool Insert(std::string_view text);
    /// Draws the whole window again at the next key (after a window of a
    /// key handler that did not restore the screen).
    void Redraw();

  private:
    void DrawFrame();
    void Paint();
    void Handle(int key);
    void Beep();

    Runtime& rt_;
    TextEditorOptions options_;
    std::string original_;
    TextBuffer buffer_;
    bool changed_ = false;
    bool insert_;
    int first_line_ = 0;              // the text line on the window's first row
    std::vector<std::string> shown_;  // what each window row shows
    std::vector<bool> shown_valid_;
    std::string position_;  // the "W/K:" text shown
    console::Attr attr_ = 0;
};

/// Runs the editor over *text; on Ctrl+W *text takes the edited text and
/// the result is true.
bool EditText(Runtime& rt, const TextEditorOptions& options, std::string* text);

}  // namespace kestrel::common
