// QRMACH: a one-column list choice inside a rectangle of the screen.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"

namespace kestrel::common {

/// Shows `texts` (CP852) one per row from (top, left), cut or padded to the
/// width right - left + 1, in the colours of YCOW5: the bar in the enhanced
/// colour, unselectable rows (`selectable[i]` false; an empty vector makes
/// all selectable) in the unselected colour, skipped by the bar. Up, Down,
/// Home, End, PgUp and PgDn move the bar (the list scrolls when it is longer
/// than the rectangle); a typed character moves it to the next selectable
/// row that begins with it. Enter returns the row (1-based); Esc, Left and
/// Right return 0 when `esc_allowed`, else they are ignored. `initial` is
/// the row where the bar starts (the next selectable one when it is not).
/// Returns 0 at once when no row can be chosen. The rectangle is left as
/// drawn; the caller restores what it covered.
int Qrmach(Runtime& rt, int top, int left, int bottom, int right,
           const std::vector<std::string>& texts, const std::vector<bool>& selectable = {},
           int initial = 1, bool esc_allowed = true);

}  // namespace kestrel::common
