// Menu 9.7.3 "Edycja parametrów firmy": the editor of the company's
// configuration file QRM.MEM.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::utilities {

/// The check line of an entry (CP852, up to two lines; empty when there is
/// nothing to say): the printer type, the tax and statistical numbers, the
/// bank and insurance accounts, and a type other than the catalogue's.
std::vector<std::string> CheckLines(const common::Runtime& rt, const memfile::MemEntry& entry);

/// Why the entries cannot be saved (CP852 message), "" when they can:
/// "Brak danych do zapisu", "Błędna wartość zmiennej: NAME" (a number
/// wider than its width), "Rozmiar zbioru > 64 k". On success numbers are
/// rounded to their decimals in `entries`.
std::string PrepareForSave(const common::Runtime& rt, std::vector<memfile::MemEntry>* entries);

/// A name for a new variable: upper case, "_", digits and capitals, not
/// beginning with a digit, at most 10 characters.
bool ValidVariableName(const std::string& name);

/// QRM973: the editor. Saving requests a reload of the configuration.
void Qrm973(common::Runtime& rt);

}  // namespace kestrel::utilities
