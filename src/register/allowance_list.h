// QRMREJDOD: the standing allowances and deductions of an employee (PKDOD),
// screen 9 of the registration and page 9 of the update.
//
// The lines of the employee are listed ("Lp", "Symb", "Nazwa", "Czasowy?",
// "Zakres m-cy", "T/F", "Kwota", "%"); the operator types a line number
// (the next free one proposed), then its symbol, time limit, month range
// and value. Each line is checked against the dictionary PKSRDOD and the
// other lines — "Błędny symbol dodatku", `Zdublowany "globalny" symbol`,
// "Kolizja zakresów miesięcy" — and stored at once. F10 on the line number
// ends the list; in the update F8 there deletes the line after a question.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "common/table_layer.h"
#include "register/title_list.h"

namespace kestrel::registry {

/// A symbol as the dictionary takes it: a letter followed by up to three
/// letters or digits, upper case (trailing blanks allowed).
bool AllowanceSymbolWellFormed(std::string_view symbol);

/// What a symbol's value is, from its PKSRDOD entry.
enum class AllowanceValueKind { kPercent, kAmount, kFlag };

struct AllowanceListOptions {
    /// The update: F8 deletes a line.
    bool update = false;
    /// Told the record number of every line stored.
    std::function<void(uint32_t recno)> written;
};

/// Runs the list for employee `number` over `dod` (PKDOD with its indexes,
/// PKDOD1 controlling). kDone after F10, kEscape after Esc (lines stored so
/// far stay).
ListEnd EditAllowances(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& dod,
                       std::string_view number, const AllowanceListOptions& options = {});

}  // namespace kestrel::registry
