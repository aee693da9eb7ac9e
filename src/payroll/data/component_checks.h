// The checks of a payroll component's fields (menu 8.4) and of a list
// symbol's matrix (menu 8.3), and what follows from them, without a screen: the dictionary dialog
// shows the messages, the tests call the same functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"

namespace kestrel::payroll {

/// The comma-separated tokens of TYP_LISTY or TYP_NIEOB, trimmed; blank
/// text has none, and an empty token between two commas is kept as "".
std::vector<std::string> SplitTokens(std::string_view text);

/// TYP_LISTY: "" when every token is a list symbol of PKSLST (blank text is
/// every symbol); otherwise "Błędny typ: " (an empty token or one longer
/// than two characters) or "Nieznany typ listy: " followed by the token in
/// double quotes. CP852.
std::string ListKindsProblem(common::Tables& tables, std::string_view text);

/// TYP_NIEOB: "" when every token is an absence code of PKRNB; otherwise
/// "Błędny typ: " (empty or longer than four characters) or "Nieznany typ
/// nieob.: " followed by the token in double quotes. CP852.
std::string AbsenceKindsProblem(common::Tables& tables, std::string_view text);

/// The columns of the tax income record NAZWA_POLA may name, KW_PPK_ZAK
/// only when the PPK module is on (`ppk`, NAGLPPK20).
std::vector<std::string> IncomeFieldNames(bool ppk);
/// Whether NAZWA_POLA `name` is blank or one of IncomeFieldNames(ppk).
bool IsIncomeFieldName(std::string_view name, bool ppk);

/// TBW_ of a list symbol: "" when blank or a print matrix of PKNTBW of type
/// "1" (a payroll list); otherwise "Błędny symbol tabulogramu" (no such
/// matrix) or "Błędny typ tabulogramu" (a matrix of another printout).
/// CP852.
std::string MatrixProblem(common::Tables& tables, std::string_view symbol);

/// On the record buffer of a PKSPL area: when TYLKO_MEM is set, a component
/// computed in memory only is an algorithm kept off the list: TYP_ "A",
/// POZA_LISTA true, DRUK_ false, TYTUL_WYP blank, ZASILEK_ false.
void ForceMemoryOnly(dbf::WorkArea& pkspl);

/// The values a new component starts with: IL_MC_WST 0, MC_WYP_LST false,
/// SEKW_OBL 0, TYLKO_MEM false, POZA_LISTA true, DRUK_ false, TYTUL_WYP
/// blank, ZASILEK_ false (the record buffer of a PKSPL area).
void SetNewComponentDefaults(dbf::WorkArea& pkspl);

/// Completes a new component once its fields are entered: SEKW_WYDR takes
/// SEKW_OBL, then ForceMemoryOnly.
void CompleteNewComponent(dbf::WorkArea& pkspl);

}  // namespace kestrel::payroll
