// Lookups of the employee record's coded fields: the territorial register
// (voivodeship, district, commune), the occupation classification and the
// dictionary tables of the register.
//
// Lookups seek the tables through their index files and leave every area's
// order and record as they found them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/session/letters.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_checks.h"

namespace kestrel::registry {

// --- Territorial register (PKGMINY) ------------------------------------------

/// What the three address fields have chosen so far: the code of the
/// voivodeship (2 digits) and of the district (4).
struct TerritoryChoice {
    std::string voivodeship;
    std::string district;
};

/// The territorial register opened with the indexes the lookups need
/// (PKGMINY1, PKGMINY2, PKGMINY3, PKGMINY6).
dbf::WorkArea& OpenTerritory(common::Tables& tables);

/// Voivodeship: `name` is upper-cased in place and sought among voivodeship
/// rows; the code found is remembered and the lower levels cleared. No match
/// gives the warning "<-Błąd" (the value is still accepted).
Verdict LookupVoivodeship(dbf::WorkArea& gminy, const common::LetterSet& letters, std::string* name,
                          TerritoryChoice* choice);
/// District among the districts of the remembered voivodeship.
Verdict LookupDistrict(dbf::WorkArea& gminy, const common::LetterSet& letters, std::string* name,
                       TerritoryChoice* choice);
/// Commune among the communes of the remembered district.
Verdict LookupCommune(dbf::WorkArea& gminy, const common::LetterSet& letters, std::string* name,
                      const TerritoryChoice& choice);
/// KOD_WOJEW: the two digits of the voivodeship named `name`; "" when none.
std::string VoivodeshipCode(dbf::WorkArea& gminy, const common::LetterSet& letters,
                            std::string_view name);
/// The names of the voivodeship, district and commune of a seven-digit
/// territorial code ("" for a level that is not found).
struct TerritoryNames {
    std::string voivodeship, district, commune;
};
TerritoryNames NamesOfTerritory(dbf::WorkArea& gminy, std::string_view code);

enum class TerritoryLevel { kVoivodeship, kDistrict, kCommune };
struct TerritoryRow {
    std::string code;  // as stored, seven characters
    std::string name;  // CP852, trailing blanks cut
};
/// The units of `level` in the order of their names: every voivodeship;
/// the districts of voivodeship `parent` (2 digits); the communes of
/// district `parent` (4 digits). None for a parent of the wrong length.
std::vector<TerritoryRow> TerritoryRows(dbf::WorkArea& gminy, TerritoryLevel level,
                                        std::string_view parent);

// --- Occupation classification (PKKZIS) -----------------------------------------

/// PKKZIS with PKKZIS1 (all codes).
dbf::WorkArea& OpenProfessions(common::Tables& tables);

struct Profession {
    std::string code;  // six characters
    std::string name;  // "" when the code is not in the classification
};
/// The occupation of a six-character code.
Profession FindProfession(dbf::WorkArea& kzis, std::string_view code);
/// Its four ancestors: the groups of the first 1, 2, 3 and 4 characters,
/// each padded to six.
std::vector<Profession> ProfessionAncestors(dbf::WorkArea& kzis, std::string_view code);
/// The name over two lines: the first at most `width` (43) characters cut at
/// a word boundary, the rest on the second.
void SplitName(std::string_view name, size_t width, std::string* first, std::string* second);

// --- Dictionary tables ---------------------------------------------------------

/// A coded field of the record checked against its dictionary: an empty
/// value is accepted; a value missing from the dictionary is refused with
/// the dictionary's message; a known one gives its name in `*name`.
/// Fields: URZ_SKARB, STANOW_, DZIAL_, KONTO_KOSZ, RODZ_UM_PR, RODZ_PL,
/// RODZ_ZATR, GRUPA_KAL, GRUPA_ALG, STOP_POKR, RODZAJ_ZZ, TYTUL_PODM,
/// GRUPA_INW, KOD_FUND, STOP_NIEZD, KOD_PRACY, EKD_, KZIS_, KOD_WYKSZ,
/// PRZ_WY_UB, PRZYCZ_ZW, KOD_ROZ_U, KOD_POD_PR, the country codes and
/// RODZAJ_DOD. The table is opened through `tables` (with the index the
/// check seeks) unless it is open there already, and stays open there.
Verdict CheckCode(common::Tables& tables, std::string_view field, std::string_view value,
                  std::string* name = nullptr);
/// The registration country: an empty code shows "Błędny kod kraju" and is
/// accepted; an unknown one is refused with it.
Verdict CheckRegistrationCountry(common::Tables& tables, std::string_view code,
                                 std::string* name = nullptr);

}  // namespace kestrel::registry
