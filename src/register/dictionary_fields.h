// Dictionary code fields of the register's forms: a validator that seeks the
// typed code and shows the dictionary's name beside the field, and a picker
// bound to F3 while the cursor is in the field, named in row 21.
//
//   common::Tables tables(rt);
//   common::Form form(rt);
//   CodePickers pickers(rt, tables, form);
//   form.Get(8, 20, &dzial, "@!");
//   pickers.Attach(0, CodeFieldOf("2.7.2"), &dzial, 8, 26);
//   common::Qrmrdr(rt, form);
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::registry {

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
    std::function<common::PickDictionary()> pick;
};

/// The code field of a dictionary: a menu number of menus 2.7 and 2.8
/// ("2.7.8"), "GMINY" (communes of PKGMINY) or "KDURZ" (official tax-office
/// codes of PKKDURZ). Abandons on an unknown name.
CodeField CodeFieldOf(std::string_view dictionary);

/// Seeks `code` (padded to the code field) in the dictionary; true and its
/// name (CP852, padded) in *name when it is there and acceptable.
bool FindCode(common::Runtime& rt, common::Tables& tables, const CodeField& f,
              std::string_view code, std::string* name);

/// The validator: an empty code is accepted and clears the name beside the
/// field; a code missing from the dictionary (or a dictionary missing
/// altogether) gives the field's message and is refused; a known code shows
/// its name at (row, col) (when row >= 0) and is accepted.
bool ValidateCode(common::Runtime& rt, common::Tables& tables, const CodeField& f,
                  std::string_view code, int row, int col);

/// The picker opener: the window over the dictionary positioned on `typed`;
/// Enter gives the code to the calling field as typed input.
bool PickCode(common::Runtime& rt, common::Tables& tables, const CodeField& f,
              std::string_view typed);

/// F3 for the time of the object's life: opens the picker of the code field
/// the cursor is in; F3 elsewhere does nothing. Row 21 names the picker
/// while the cursor is in such a field and gets back what it held after.
class CodePickers {
  public:
    CodePickers(common::Runtime& rt, common::Tables& tables, common::Form& form);
    ~CodePickers();
    CodePickers(const CodePickers&) = delete;
    CodePickers& operator=(const CodePickers&) = delete;

    /// Makes field `index` of the form (declared already, bound to `var`) a
    /// code field of `f`: the hint on entering, the validator on leaving
    /// with the name shown at (name_row, name_col) (name_row < 0: nowhere);
    /// `also` (optional) is asked after a known or empty code.
    void Attach(int index, CodeField f, std::string* var, int name_row, int name_col,
                common::FieldCheck also = nullptr);

  private:
    struct Bound {
        int index;
        CodeField field;
    };
    void ShowHint(const CodeField& f);
    void ClearHint();

    common::Runtime& rt_;
    common::Tables& tables_;
    common::Form& form_;
    std::deque<Bound> bound_;  // stable addresses for the checks
    console::HotKeyAction saved_;
    console::ScreenRegion row21_;  // what row 21 held before a hint
};

}  // namespace kestrel::registry
