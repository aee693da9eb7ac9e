// Dictionary code fields of the forms: a validator that seeks the typed code
// and shows the dictionary's name beside the field, and a picker bound to F3
// while the cursor is in the field, named in row 21. Each subsystem knows
// its own code fields (which table, which message, which hint) and hands
// them in:
//
//   Tables tables(rt);
//   Form form(rt);
//   CodePickers pickers(rt, tables, form);
//   form.Get(8, 20, &dzial, "@!");
//   pickers.Attach(0, departments, &dzial, 8, 26);
//   Qrmrdr(rt, form);
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/dictionary/dictionary.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::common {

struct CodeField {
    std::string table;
    std::vector<std::string> indexes;  // the first by the code; none: record order
    std::string code_field;
    std::string name_field;
    std::string message = "Błędny kod";  // UTF-8: a code missing from the dictionary
    std::string hint;                    // UTF-8: "<F3>-Urzędy skarbowe"
    int name_width = 30;                 // how much of the name is shown
    /// Codes the field may hold at all (communes: all seven characters);
    /// nullptr: any code the dictionary has.
    std::function<bool(std::string_view code)> acceptable;
    /// The picker's window.
    std::function<PickDictionary()> pick;
    /// A code out of a fixed list instead of a table (table and pick unused):
    /// the codes allowed (CP852), none of them with a name; F3 offers them in
    /// a list choice.
    std::vector<std::string> values;
};

/// A column of the maintenance dialog computed from the current record
/// (shown after the key, never edited).
struct ComputedColumn {
    std::string heading;  // UTF-8
    int width = 0;
    std::function<std::string(Runtime& rt, dbf::WorkArea& area)> value;  // CP852
};

/// What the maintenance dialog of a subsystem's dictionaries needs from
/// that subsystem.
struct DictionaryHooks {
    /// The code field named by DictionaryField::code_of; abandons on a name
    /// it does not know.
    std::function<CodeField(std::string_view name)> code_field;
    /// For dictionaries of formula symbols: whether the typed key has the
    /// form of a symbol ("Błędny symbol" otherwise) …
    std::function<bool(std::string_view symbol)> is_symbol;
    /// … and the table other than `own_table` of the namespace that holds
    /// it already ("" when it is free).
    std::function<std::string(Runtime& rt, Tables& tables, std::string_view symbol,
                              std::string_view own_table)>
        symbol_taken;
    std::vector<ComputedColumn> computed;

    // The rest is optional, for dictionaries whose records need more than
    // the description says.

    /// A further check of a non-key field as the operator leaves it, after
    /// the description's own: `text` as typed (text fields), `number` (N
    /// fields). False keeps the cursor; the check shows its own message.
    std::function<bool(Runtime& rt, Tables& tables, const DictionaryField& f, std::string_view text,
                       double number)>
        field_check;
    /// A check of a new key, after the form check and before the dialog
    /// looks for a record of that key; false refuses the key (the check
    /// shows its own message). The key as the operator typed it, trimmed.
    std::function<bool(Runtime& rt, Tables& tables, std::string_view key)> key_check;
    /// Sets the values a new record starts with in the record buffer of the
    /// reserved record; the new-record box then starts from them.
    std::function<void(Runtime& rt, dbf::WorkArea& area)> new_defaults;
    /// Called with the record buffer of the current record before it is
    /// committed (a new record, once its fields were asked, or an in-place
    /// change): sets what follows from the fields.
    std::function<void(Runtime& rt, dbf::WorkArea& area, bool is_new)> before_commit;
    /// Edits a memo or formula field instead of the dialog's memo editor;
    /// true when the operator saved *text. `area` stands on the record whose
    /// field it is (a new record: its other fields already in the buffer).
    std::function<bool(Runtime& rt, Tables& tables, dbf::WorkArea& area, const DictionaryField& f,
                       std::string* text)>
        edit_memo;
    /// A line (CP852) shown under the browse for the current record; empty
    /// function: none.
    std::function<std::string(Runtime& rt, dbf::WorkArea& area)> under_browse;
    /// F7 of the dictionaries with a search by name ("<F7>-Wydruk"): prints
    /// the dictionary. `area` stands on the table in the browse's order
    /// (the dialog brings the browse back to its record afterwards);
    /// `columns` are the browse's, their values read from the current
    /// record. Empty function: no F7.
    std::function<void(Runtime& rt, const Dictionary& d, dbf::WorkArea& area,
                       const std::vector<BrowseColumn>& columns)>
        print;
};

/// Seeks `code` (padded to the code field) in the dictionary; true and its
/// name (CP852, padded) in *name when it is there and acceptable.
bool FindCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view code,
              std::string* name);

/// The validator: an empty code is accepted and clears the name beside the
/// field; a code missing from the dictionary (or a dictionary missing
/// altogether) gives the field's message and is refused; a known code shows
/// its name at (row, col) (when row >= 0) and is accepted.
bool ValidateCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view code, int row,
                  int col);

/// The picker opener: the window over the dictionary positioned on `typed`;
/// Enter gives the code to the calling field as typed input.
bool PickCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view typed);

/// F3 for the time of the object's life: opens the picker of the code field
/// the cursor is in; F3 elsewhere does nothing. Row 21 names the picker
/// while the cursor is in such a field and gets back what it held after.
class CodePickers {
  public:
    CodePickers(Runtime& rt, Tables& tables, Form& form);
    ~CodePickers();
    CodePickers(const CodePickers&) = delete;
    CodePickers& operator=(const CodePickers&) = delete;

    /// Makes field `index` of the form (declared already, bound to `var`) a
    /// code field of `f`: the hint on entering, the validator on leaving
    /// with the name shown at (name_row, name_col) (name_row < 0: nowhere);
    /// `also` (optional) is asked after a known or empty code; `when`
    /// (optional) decides whether the field is entered at all.
    void Attach(int index, CodeField f, std::string* var, int name_row, int name_col,
                FieldCheck also = nullptr, FieldCheck when = nullptr);

  private:
    struct Bound {
        int index;
        CodeField field;
    };
    void ShowHint(const CodeField& f);
    void ClearHint();

    Runtime& rt_;
    Tables& tables_;
    Form& form_;
    std::deque<Bound> bound_;  // stable addresses for the checks
    console::HotKeyAction saved_;
    console::ScreenRegion row21_;  // what row 21 held before a hint
};

}  // namespace kestrel::common
