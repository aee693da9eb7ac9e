// Who is at the keyboard: identification of an operator (Alt+U in the main
// menu) and the rights check every protected function asks (QRMYIDENT).
#pragma once

#include <string>

#include "common/session/operators.h"
#include "common/session/runtime.h"

namespace kestrel::common {

/// Reads the company's operator list (whether there is one) into the
/// runtime's operator state, keeping the current operator when he is still
/// on the list with the same rights; called at every start and reload.
void RefreshOperatorList(Runtime& rt);

/// QRMYIDENT(): the identification dialog. Returns true when an operator
/// identified himself, or when the company has no list (the warning about
/// missing passwords is shown once per run).
bool IdentifyOperator(Runtime& rt);

/// QRMYIDENT(mask[, announce]): true when the company has no operator list
/// or the current operator holds one of the kinds in `mask`; otherwise
/// false, with the refusal on the message line when `announce`.
bool CheckRights(Runtime& rt, unsigned mask, bool announce = true);

/// The operator confirms his password before a function that destroys data
/// (deleting a list's positions, a month opened out of sequence): true at
/// once when the company has no operator list; false on Esc, and when
/// nobody has identified himself ("Brak uprawnień do tej funkcji"). A wrong
/// password gives "Błędne hasło" and is asked again.
bool ConfirmPassword(Runtime& rt);

/// Reads a password at (row, col) showing "*" for every character; false
/// on Esc. At most `width` characters.
bool ReadMaskedText(Runtime& rt, int row, int col, int width, std::string* out);

}  // namespace kestrel::common
