#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// One cell of a print matrix (a record of PKTBW).
struct MatrixCell {
    int row = 1;                    // WIERSZ_: row within an employee's block, from 1
    int column = 1;                 // NR_KOL: column, from 1
    int width = 10;                 // SZER_KOL: characters
    std::string heading;            // OPIS_, trimmed (CP852)
    std::string content;            // ZAWARTOSC_, trimmed: a code or a formula
    char type = 'N';                // TYP_POLA: 'C', 'N', 'D' or 'L'
    std::string picture;            // MASKA_, trimmed
    bool total = false;             // SUMA_
    bool total_by_formula = false;  // WZOR_SUMY
    bool option = false;            // P_X
};

/// A print matrix: its header (PKNTBW) and its cells (PKTBW) in the order
/// of row and column.
struct MatrixDefinition {
    std::string symbol;        // TBW_, trimmed
    char type = '1';           // TYP_: '1'..'6'
    std::string title;         // NAZWA_, trimmed
    std::string condition;     // WARUNEK_, trimmed (blank: every employee)
    int sort = 1;              // NR_IND: 1 by symbols, 2 alphabetic, 3 own key
    std::string sort_key;      // WZOR_, trimmed
    int level_chars = 0;       // IL_ZNAKOW
    std::string level_name;    // NAZWA_SUMY, trimmed
    std::string list_symbols;  // TYP_LISTY, trimmed ("" = all lists)
    std::string start;         // WZOR_START, trimmed
    std::vector<MatrixCell> cells;
};

enum class MatrixRead {
    kRead,
    kMissing,       // no header record of the symbol
    kBadStructure,  // PKTBW lacks a field of its structure
};

/// Reads matrix `symbol` (up to 4 characters) of the company: the header
/// of PKNTBW and its cells of PKTBW, ordered by row and column. Deleted
/// records do not count. A company without PKNTBW has no matrix; a PKTBW
/// without one of the cell fields is kBadStructure ("Błędna struktura
/// zbioru PKTBW"). The areas' orders and records are left as they were.
MatrixRead ReadMatrix(common::Tables& tables, std::string_view symbol, MatrixDefinition* out);

}  // namespace kestrel::payroll
