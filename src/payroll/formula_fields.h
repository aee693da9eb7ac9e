// The one way the payroll dictionaries edit their formulas and
// descriptions: a component's algorithm (8.4), a user function's body and
// its comment (8.5) and a selection set's formula (8.9) all come here.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll {

enum class FormulaKind {
    kAlgorithm,     // PKSPL ALGORYTM_: a number
    kFunctionBody,  // PKFUNC WZOR_: any value
    kComment,       // PKFUNC KOMENTARZ_: free text, never evaluated
    kSelectionSet,  // PKZEST WZOR_: a logical
};

/// Edits *text of the given kind; true when the operator saved it (the
/// caller writes it), false on Esc or when the text is longer than the
/// editor holds (it is then left as it was, with a message). A formula
/// that does not compile is saved all the same and its error shown: the
/// text is the operator's, the message only warns.
bool EditFormulaField(common::Runtime& rt, common::Tables& tables, FormulaKind kind,
                      std::string* text);

}  // namespace kestrel::payroll
