// The formula editor of the payroll dictionaries: the memo text editor
// (common/screen/text_editor.h, rows 7-21, columns 12-66, lines of 54)
// with the keys that help to write a formula.
//
// Keys of every kind of formula:
//   Ctrl+W  stores the text (the caller's `store`), then runs the caller's
//           `test` (the save test, which may only warn: the text stays
//           stored), and ends;
//   Esc     ends without storing; nothing is asked;
//   F1      "Dostępne funkcje": the payroll functions with a line of help
//           each (payroll/data/function_help.h), scrolled with the arrows,
//           the arguments of the current one under the list;
//   F2      "Definicje własnych funkcji": the user functions of PKFUNC;
//           <F3> shows a whole body.
// Import keys: a window of the records of a formula table, titled
// "Rekordy PKSPL, dostępne dla funkcji: "import danych"" (with the table's
// name); <F5>-Import inserts the chosen record's formula at the cursor
// (its soft line breaks dropped, its paragraphs kept) and <F3> shows it
// whole. Which key imports from which table:
//
//   kind                 F6      F7      F8      F9      F11
//   component algorithm                  PKSPL
//   user function        PKFUNC  PKZEST  PKSPL   PKROB   PKRNB
//   selection set                        PKZEST
//   work-time algorithm                  PKROB   PKRNB
//
// F8 imports from the table of the formula's own kind wherever that is one
// table, so the key an operator learns in 8.4 keeps its meaning; a user
// function, shared by all formulas, imports from every formula table.
//
// The import tables are opened through the table layer when they are not
// open yet, and closed again when the window ends; the selected work area,
// the colours and the screen are put back.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/screen/text_editor.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

enum class FormulaKind {
    kComponent,     // ALGORYTM_ of PKSPL (8.4)
    kUserFunction,  // WZOR_ of PKFUNC (8.5)
    kSelectionSet,  // WZOR_ of PKZEST (8.9)
    kWorkTime,      // ALGORYTM_ of PKROB or PKRNB
};

struct FormulaEdit {
    FormulaKind kind = FormulaKind::kComponent;
    /// The window's title (UTF-8), e.g. "Algorytm".
    std::string title;
    /// Writes the text where it is kept; run on Ctrl+W. May be empty when
    /// the caller writes *text itself after EditFormula returned true (then
    /// `test` runs before that write).
    std::function<void(const std::string& text)> store;
    /// The save test, run after `store`; it only warns.
    std::function<void(const std::string& text)> test;
};

/// Edits *text (CP852, as stored). Returns true when the operator saved it
/// with Ctrl+W (*text then holds the new text, unchanged bytes when nothing
/// was changed), false on Esc (*text as it was).
bool EditFormula(common::Runtime& rt, common::Tables& tables, const FormulaEdit& edit,
                 std::string* text);

/// The key-handler of the formula editor for `kind`, for a caller that runs
/// its own TextEditor (the window must outlive the editor's run).
std::function<bool(int key, common::TextEditor& editor)> FormulaKeys(common::Runtime& rt,
                                                                     common::Tables& tables,
                                                                     FormulaKind kind);

}  // namespace kestrel::payroll
