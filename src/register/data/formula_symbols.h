// The one namespace of formula symbols: payroll components and optional
// components, attendance and absence codes, allowance kinds,
// extended-structure keys and user functions all become variables of the
// formula language, so a new symbol of any of them must be free in all the
// others.
#pragma once

#include <string>
#include <string_view>

#include "common/tables/table_layer.h"

namespace kestrel::registry {

/// True for a letter followed by up to three letters or digits (trailing
/// blanks allowed): the form every symbol of the namespace takes.
bool IsFormulaSymbol(std::string_view symbol);

/// The table other than `own_table` that already holds `symbol`, checked in
/// the order PKSRDOD, PKRNB, PKROB, PKSPL, PKOSPL, PKUMTR, PKFUNC (optional
/// components, extended-structure keys and function names compared in upper
/// case; PKOSPL has no index and is read through); "" when it is free. The
/// tables are opened through `tables` (and stay open there); a table the
/// company does not have (yet) holds nothing.
std::string SymbolTakenIn(common::Runtime& rt, common::Tables& tables, std::string_view symbol,
                          std::string_view own_table);

}  // namespace kestrel::registry
