// The one way the payroll dictionaries edit their formulas and
// descriptions: a component's algorithm (8.4), a user function's body and
// its comment (8.5) and a selection set's formula (8.9) all come here.
//
// A formula is edited in the formula editor of its kind (formula_editor.h:
// F1/F2 help, the import keys); once Ctrl+W saved it, the save test
// (payroll/data/formula_save_test.h) runs under "CZEKAJ..." and each of its
// messages is shown on the message row with a tone and acknowledged with a
// key. The test only warns: the text is saved whatever it says. An empty
// formula is not tested (a component entered by hand has none). A comment
// is plain text: the text editor without the formula keys and no test.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

enum class FormulaField {
    kAlgorithm,     // PKSPL ALGORYTM_: a number
    kFunctionBody,  // PKFUNC WZOR_: any value
    kComment,       // PKFUNC KOMENTARZ_: free text, never evaluated
    kSelectionSet,  // PKZEST WZOR_: a logical
};

/// Edits *text (CP852, as stored) of the given field; true when the
/// operator saved it with Ctrl+W (the caller writes it), false on Esc (*text
/// as it was). `parameters` is the parameter list (PAR_) of the user
/// function whose body is edited.
bool EditFormulaField(common::Runtime& rt, common::Tables& tables, FormulaField field,
                      std::string* text, std::string_view parameters = {});

}  // namespace kestrel::payroll
