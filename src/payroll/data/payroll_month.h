// What the functions of the payroll month share: the open lists and the
// choice among them, a list by its key, and the month's flags of the control
// record that every change of list positions clears.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// The lists a function of the month may work on.
struct OpenLists {
    std::vector<PayrollList> lists;  // the open lists, in the order of PKLISTY2
    std::string refusal;             // CP852; "" when `lists` is not empty
};

/// The open lists of PKLISTY (opened through `tables`, index PKLISTY2: open
/// lists first). None: "Brak aktywnej listy plac". Two open while several
/// may not be (NAGLALP false): "Sprzeczne informacje w zb.: PKLISTY". With
/// NAGLALP every open list is returned and the caller lets the operator
/// choose ("Aktywne listy płac:").
OpenLists FindOpenLists(common::Runtime& rt, common::Tables& tables);

/// The list of key `key` (rok_lst+typ_lst+str(nr_lst,4)), deleted records
/// skipped; false when there is none.
bool FindList(common::Tables& tables, std::string_view key, PayrollList* out);

/// The key of a list written as the operator writes it on the command line,
/// "YYYY/S/N" (year, symbol of one or two characters, number 1..9999), or
/// the key itself; "" when `text` is neither.
std::string ListKeyFromText(std::string_view text);

/// "number/symbol/month/year (payment date)" as the pickers and the headers
/// of menu 4 show a list: the number in 4 characters, the date DD.MM.YYYY.
std::string ListCaption(const PayrollList& list);

/// Clears AKT_ZUS, AKT_KZP and AKT_PPK of the control record under its
/// record lock, committed at once: the month's insurance, loan-fund and PPK
/// data must be made again after any change of list positions. A failed
/// write abandons with "Błąd zapisu: PKSTER".
void ClearMonthFlags(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::payroll
