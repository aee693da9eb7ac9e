// The editors of the insurance module's algorithm tables (6.3.4, 6.4.5,
// 6.5.5, 6.6.4, 6.A.3, 6.C.4, 6.D.4), one screen for all of them
// (insurance/data/algorithm_tables.h describes each table).
//
// A browse shows a row per title group (per key) with its own fields and
// how many of its formulas are defined. Enter opens the list of the row's
// formulas, " ALG.: " and the field name ("*" after a defined one); Enter
// there edits the formula in the program's formula editor, the row locked
// meanwhile, and a formula saved with Ctrl+W is stored in the memo of that
// field. F4 changes the row's own fields (not the key), Ins adds a row
// (its key asked; "Istnieje rekord o takim kluczu" refuses a key in use;
// the table of one row takes one row only), Del deletes the current row
// after the question. Entry needs rights kind 4 or 6, changes kind 4.
#pragma once

#include "common/session/runtime.h"
#include "insurance/data/algorithm_tables.h"
#include "insurance/menu6.h"

namespace kestrel::insurance {

/// `title` (UTF-8) heads the screen.
void EditAlgorithms(common::Runtime& rt, AlgorithmKind kind, const char* title,
                    const FormulaEditorFn& edit_formula);

}  // namespace kestrel::insurance
