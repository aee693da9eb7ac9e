// The official dictionaries of the register (menu 2.C): countries, tax
// offices, territorial units and occupations. Their rows come from the
// program (the files of the data/ folder) or from the official public files
// the administrator downloads; the operator only browses them.
//
// A rebuild never leaves a half-written dictionary: the new table is
// written beside the working one as NAME@.DBF (through a temporary copy
// such as KRJTMP.DBF when the text must be recoded into the letter set in
// force), its index files are built as NAMEn@.NTX, and only then are the
// files renamed into place while the old table is held exclusively. Any
// failure removes the new files and leaves the working dictionary as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/session/letters.h"
#include "common/session/runtime.h"
#include "platform/base/status.h"
#include "platform/dbf/table.h"

namespace kestrel::registry {

enum class OfficialList { kCountries, kTaxOffices, kTerritory, kOccupations };

struct OfficialListInfo {
    OfficialList list;
    const char* table;      // "PKSKODK"
    const char* temporary;  // the recoding copy: "KRJTMP"
    const char* code_field;
    const char* name_field;
    const char* menu;   // "2.C.2."
    const char* title;  // UTF-8
};

const OfficialListInfo& InfoOf(OfficialList list);

/// The rows of an official list read from a file, CP852, each in the order
/// of the table's fields (countries: code, short name, full name; tax
/// offices: code, name; territory: code, name; occupations: code, name,
/// "T"/"F" school occupation).
struct ListRows {
    std::vector<std::vector<std::string>> rows;
    /// Countries: the file gives no short names; they are kept from the
    /// dictionary in force (the full name cut to 15 for a new code).
    bool short_names_missing = false;
    /// Occupations: the file lists only six-digit occupations; the groups
    /// are kept from the dictionary in force.
    bool groups_missing = false;
};

/// Reads the text (UTF-8) of an official list file:
///  - countries: the CSV "type,code,name" or the XSD enumeration of the
///    tax declarations' country dictionary;
///  - tax offices: the CSV "type,code,name" or the XSD of the tax-office
///    code dictionary;
///  - territory: the TERC CSV of the territorial register (WOJ;POW;GMI;
///    RODZ;NAZWA;…): names in capitals, the code WOJ+POW+GMI+RODZ;
///  - occupations: the CSV "code,level,name[,school_occupation]" of the
///    classification, or "code,name" of the six-digit occupations alone.
/// Returns "" when the file is sound, otherwise the reason (UTF-8, short
/// enough for the message line); nothing is taken from a file with any
/// fault.
std::string ParseOfficialList(OfficialList list, std::string_view utf8, ListRows* out);

/// Fills the new table (open exclusively, CP852 text).
using TableFill = std::function<base::Status(dbf::Table& table)>;

/// Rebuilds dictionary `list` in company directory `dir` from `fill` as the
/// header describes, recoding the text when `letters` is not CP852.
/// Returns "" on success (*rows: the records written), otherwise the reason
/// (UTF-8); the working dictionary is then untouched and no new file stays.
/// The new table's header is dated by `clock` (nullptr: the system clock).
std::string RebuildOfficialTable(const std::string& dir, const common::LetterSet& letters,
                                 OfficialList list, const TableFill& fill, uint32_t* rows = nullptr,
                                 const base::Clock* clock = nullptr);

/// Rebuild from the program's own copy (TABLE.tsv of `shipped_dir`).
std::string RebuildFromShipped(const std::string& dir, const std::string& shipped_dir,
                               const common::LetterSet& letters, OfficialList list,
                               uint32_t* rows = nullptr, const base::Clock* clock = nullptr);

/// Import of an official list file at `path` (see ParseOfficialList).
std::string ImportOfficialList(const std::string& dir, const common::LetterSet& letters,
                               OfficialList list, const std::string& path, uint32_t* rows = nullptr,
                               const base::Clock* clock = nullptr);

/// QRMCRKRAJE, QRMCRKDURZ, QRMCRGMINY, QRMCRKZIS: rebuild the company's
/// dictionary from the shipped copy; false when it failed (the dictionary
/// in force stays).
bool Qrmcrkraje(common::Runtime& rt);
bool Qrmcrkdurz(common::Runtime& rt);
bool Qrmcrgminy(common::Runtime& rt);
bool Qrmcrkzis(common::Runtime& rt);

/// The kind of a territorial row by its code: "województwo", "powiat",
/// "gmina miejska" … (UTF-8), "" when the code is malformed.
std::string_view TerritoryKind(std::string_view code);

}  // namespace kestrel::registry
