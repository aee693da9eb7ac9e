// The save test of a formula: after the editor saved a component's
// algorithm (8.4), a user function (8.5) or a selection set (8.9), the
// formula is evaluated once over the namespace of a recalculation with every
// variable empty, to warn of what would stop the recalculation. The text
// stays saved whatever the test finds.
//
// Every namespace variable holds the empty value of its type (0 for amounts
// and quantities, an empty date, false, an empty text, an empty array for
// the members of a repeating attribute), the user functions of PKFUNC are
// bound, and no employee is loaded: the register, the lists and the control
// record (PKPRAC, PKLISTY, PKSTER) are open on a blank record, so a field
// read by alias is empty too. The screens show "CZEKAJ..." while it
// runs and each returned message on the message line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

enum class SavedFormula {
    kAlgorithm,     // ALGORYTM_ of PKSPL or PKROB: must give a number
    kUserFunction,  // WZOR_ of PKFUNC: its body, called with its parameters undefined
    kSelectionSet,  // WZOR_ of PKZEST: must give a logical
};

/// Tests `text` (line breaks of any kind are no part of it); `parameters`
/// is the parameter list of a user function. Returns the messages in CP852,
/// empty when the formula evaluates to a value of its kind: first those of
/// user functions that could not be bound ("Błędna definicja funkcji " /
/// "Błędna nazwa funkcji " + the name in double quotes), then the formula's
/// own: the operator's text of its error, "Błędna lista parametrów" for a
/// parameter list that does not compile, "Błędna wartość algorytmu" for an
/// algorithm that is not numeric or a set that is not logical. A namespace
/// code that cannot be a variable gives its "Błędny kod" / "Błędny klucz"
/// message alone.
std::vector<std::string> SaveTestFormula(common::Runtime& rt, common::Tables& tables,
                                         SavedFormula kind, std::string_view text,
                                         std::string_view parameters = {});

}  // namespace kestrel::payroll
