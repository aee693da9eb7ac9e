// The tax offices of the company (PKURZ): the dictionary's pick window.
#pragma once

#include <string_view>

#include "common/pick/pick_window.h"

namespace kestrel::common {

/// The PKURZ dictionary: columns "URZ.SK.", "NAZWA", "KOD" and the
/// new-record form, whose official code ("Kod urzędu:") must be in the
/// tax-office code list PKKDURZ (opened through the same Tables) and not
/// used by another office; the list's name fills the office's name.
PickDictionary TaxOfficeDictionary();

/// QRMURZ: the pick window of the tax offices, for a URZ_SKARB field;
/// `typed` is what the field holds. See Pick.
bool PickTaxOffice(Runtime& rt, Tables& tables, std::string_view typed);

}  // namespace kestrel::common
