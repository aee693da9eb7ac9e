// The dictionaries of absences (menu 3.7) described as data for the common
// maintenance dialog: absence codes, reasons of suspension and kinds of
// absence.
#pragma once

#include <string_view>
#include <vector>

#include "common/dictionary/dictionary.h"
#include "common/tables/table_layer.h"

namespace kestrel::worktime {

/// Dictionaries 3.7.4, 3.7.6 and 3.7.7, in menu order.
const std::vector<common::Dictionary>& AbsenceDictionaries();

/// The absence dictionary of menu entry `menu` ("3.7.4"), or nullptr.
const common::Dictionary* FindAbsenceDictionary(std::string_view menu);

/// The code field of a reason of suspension (KOD_NIEOB of 3.7.6): an absence
/// code of type "G", generated from suspensions, or none.
inline constexpr std::string_view kGeneratedCodeField = "3.7.4G";

/// Whether `code` is an absence code of type "G" in PKRNB (opened through
/// `tables` with PKRNB1 unless it is open there). False for a blank code
/// and when the company has no PKRNB.
bool IsGeneratedAbsenceCode(common::Runtime& rt, common::Tables& tables, std::string_view code);

}  // namespace kestrel::worktime
