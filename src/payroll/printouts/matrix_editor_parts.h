// The parts of the matrix editor (4.8.7) shared by its files.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/printouts/data/matrix_checks.h"
#include "payroll/printouts/data/matrix_definition.h"

namespace kestrel::payroll::matrix_editor {

/// "1 - Lista płac" … for types '1'..'6' (UTF-8), "" for another.
std::string TypeName(char type);
/// Whether matrices of `type` may have their own sort key.
bool HasOwnSort(char type);
/// Whether cells of `type` may total by their formula ("Wzór:").
bool TotalsByFormula(char type);

/// One entry of a choice window: what it shows and what it types.
struct Entry {
    std::string shown;  // CP852
    std::string typed;  // CP852
};

/// A choice window of `entries` titled `title` (UTF-8) over the right part
/// of the work area; returns the chosen entry's index, -1 on Esc (or when
/// there is none). The screen is restored.
int ChooseEntry(common::Runtime& rt, const char* title, const std::vector<Entry>& entries);

/// The codes of `table` (its field `code`, with NAZWA_) in order.
std::vector<Entry> CodesOf(common::Tables& tables, const char* table, const char* code);

/// The matrices of the company, for F3 of a symbol field.
std::vector<Entry> MatrixSymbols(common::Tables& tables);

/// The grid of `m` edited (the keys of the grid screen); returns when the
/// operator ends it with Esc, true when the matrix is to be saved.
bool EditGrid(common::Runtime& rt, common::Tables& tables, MatrixChecks& checks,
              MatrixDefinition* m);

}  // namespace kestrel::payroll::matrix_editor
