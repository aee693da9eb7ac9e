// Data-entry forms: the read of the pending fields, as every data-entry
// screen of the system does it.
//
// A screen declares its fields on a Form, each bound to one of its own
// variables (text, number, date or logical), at a row and column with a
// picture; then it runs the read. The read writes a field's variable when
// the operator leaves the field (never on Esc), so after the read — or in a
// `valid` check — the variables hold the values typed:
//
//     std::string nazwisko(30, ' ');
//     double kwota = 0;
//     bool aktywny = true;
//     Form form(rt);
//     form.Get(5, 20, &nazwisko, "@!S20");
//     form.Get(6, 20, &kwota, 9, 2, "@E 999,999.99").Valid([&] {
//         if (kwota > 0) return true;
//         ShowMessage(rt, rt.Text("Kwota musi być dodatnia"));
//         return false;  // the cursor stays in the field
//     });
//     form.Get(7, 20, &aktywny).When([&] { return kwota > 1000; });
//     ReadResult r = Qrmrdr(rt, form);
//     if (!r.saved()) return;
//
// Keys: Up/Shift+Tab the previous field (the first stays), Down/Tab/Enter
// the next one; Enter on the last field, or typing past the end of the
// last field, ends the read and saves; PgUp, PgDn and Ctrl+W (Ctrl+End)
// save and end at once; Esc ends without taking the field being edited.
// Inside a field: Left, Right, Home, End, Backspace, Del, Ctrl+Y (clear to
// the end), Ins (insert or overwrite; the cursor is a half block while
// inserting). Typing past the end of a field moves to the next one.
// `valid` runs on every way out but Esc; false keeps the cursor in the
// field. `when` runs when the cursor would enter a field; false (or a
// read-only field) skips it in the direction of travel. Fields are shown in
// the console's unselected colour, the one being edited in the enhanced
// colour, read-only ones in the standard colour.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "platform/picture/edit.h"
#include "platform/picture/picture.h"

namespace kestrel::common {

enum class ReadEnd { kEscape, kSaved };

struct ReadResult {
    ReadEnd end = ReadEnd::kSaved;
    /// The field the read ended on (declaration order), -1 when no field
    /// could be entered.
    int last_field = -1;
    /// The key that ended the read (Esc, Enter, PgDn, Ctrl+W …; 0 when no
    /// field could be entered).
    int last_key = 0;
    /// True when a variable was written with a changed value.
    bool updated = false;

    bool saved() const { return end == ReadEnd::kSaved; }
};

/// A check run by the read; see Form.
using FieldCheck = std::function<bool()>;

class Field {
  public:
    /// Pre-validation: the field is entered only when it returns true.
    Field& When(FieldCheck check) {
        when_ = std::move(check);
        return *this;
    }
    /// Validation on leaving; false keeps the cursor (the check shows its
    /// own message, ShowMessage).
    Field& Valid(FieldCheck check) {
        valid_ = std::move(check);
        return *this;
    }
    /// Shown but never entered.
    Field& ReadOnly(bool on = true) {
        read_only_ = on;
        return *this;
    }

    int row() const { return row_; }
    int col() const { return col_; }
    picture::Kind kind() const { return kind_; }

  private:
    friend class Form;

    int row_ = 0, col_ = 0;
    picture::Kind kind_ = picture::Kind::kText;
    std::string* text_ = nullptr;
    double* number_ = nullptr;
    picture::Date* date_ = nullptr;
    bool* logical_ = nullptr;
    picture::Picture picture_;
    int width_ = 0;
    int decimals_ = 0;
    FieldCheck when_, valid_;
    bool read_only_ = false;
};

class Form {
  public:
    explicit Form(Runtime& rt);

    /// A text field. Its width is `width`, else the variable's length, else
    /// what the template takes; the variable is padded (or cut) to it.
    Field& Get(int row, int col, std::string* var, std::string_view picture = {}, int width = 0);
    /// A number of `width` characters with `decimals` places (a template in
    /// the picture decides the look instead).
    Field& Get(int row, int col, double* var, int width, int decimals,
               std::string_view picture = {});
    /// A date, shown and typed as YYYY-MM-DD; a date that does not exist is
    /// refused with a tone and the cursor stays.
    Field& Get(int row, int col, picture::Date* var, std::string_view picture = {});
    /// A one-letter T/N field: "t", "T" and "Y" mean yes, "n", "N", "f", "F" no.
    Field& Get(int row, int col, bool* var, std::string_view picture = {});

    /// Runs the read from field `start`. Fields stay declared afterwards.
    ReadResult Read(int start = 0);
    /// Shows every field with its variable's value.
    void Display();
    /// Forgets the fields.
    void Clear() { fields_.clear(); }
    int size() const { return static_cast<int>(fields_.size()); }
    Field& field(int i) { return fields_[static_cast<size_t>(i)]; }
    /// The field being edited (-1 outside a read): for checks shared by fields.
    int current() const { return current_; }
    /// What the field being edited holds as typed so far (its buffer, not
    /// yet its variable); "" outside a read. Hot keys that open a pick
    /// window for the field read it.
    std::string Typed() const { return active_ ? active_->text() : std::string(); }

    bool insert_mode() const { return insert_; }
    void set_insert_mode(bool on) { insert_ = on; }

  private:
    enum class Exit { kUp, kDown, kEnter, kTypedOut, kSave, kEsc };

    picture::EditBuffer Buffer(const Field& f) const;
    std::string Shown(const Field& f) const;
    int Window(const Field& f, int size) const;
    void Draw(const Field& f, console::Attr attr);
    void DrawActive(const Field& f, picture::EditBuffer& b);
    bool Enterable(Field& f);
    int Find(int from, int step);
    bool Commit(Field& f, const picture::EditBuffer& b);
    Exit Edit(Field& f, int* key);

    Runtime& rt_;
    picture::CaseTable upper_;
    std::deque<Field> fields_;
    int current_ = -1;
    const picture::EditBuffer* active_ = nullptr;
    bool insert_ = false;
    bool updated_ = false;
};

/// QRMRDR: reads the pending fields of `form` — clears row 0, runs the
/// read, forgets the fields, shows "CZEKAJ..." and clears the message row.
ReadResult Qrmrdr(Runtime& rt, Form& form);

}  // namespace kestrel::common
