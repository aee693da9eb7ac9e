// The table catalogue: the layout of every company table (QRMSTRUCT) and the
// key expression and condition of every index file (QRMMTRI).
//
// The catalogue is the only definition of the layouts. It is used to create
// a missing table, to rebuild a table whose stored layout is older, and to
// rebuild index files. Names are upper case without extension; index files
// are named after their table with a digit or letter appended ("PKPRAC1",
// "PKPRACC") and lie beside it. Key expressions and conditions are formulas
// over the table's fields (see common/tables/index_keys.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/record.h"

namespace kestrel::common {

struct CatalogueField {
    const char* name;
    char type;  // C N L D M
    uint16_t length;
    uint8_t decimals;
};

struct CatalogueIndex {
    const char* name;       // file name without extension: "PKPRAC1"
    const char* key;        // key expression
    const char* condition;  // "" when every record is indexed
};

struct TableLayout {
    const char* name;         // "PKPRAC"
    const char* description;  // UTF-8, shown by the re-indexing menu; "" when none
    int stated_fields;        // the field count the catalogue text gives
    std::span<const CatalogueField> fields;
    std::span<const CatalogueIndex> indexes;

    /// A memo table: its layout has an M field (and so a .DBT file).
    bool memo() const;
    /// The layout as the table engine takes it for creation.
    std::vector<dbf::FieldSpec> Specs() const;
    /// The index of the given name (any case), or nullptr.
    const CatalogueIndex* FindIndex(std::string_view index) const;
    /// Index of a field by name (any case), -1 when absent.
    int FieldIndex(std::string_view field) const;
};

/// Every table of the catalogue, in catalogue order (the order the
/// re-indexing menu offers them).
std::span<const TableLayout> CatalogueTables();

/// The table of the given name (any case, without extension), or nullptr.
const TableLayout* FindTable(std::string_view name);

/// Every index file of `table` in catalogue order (the first is the
/// controlling one); empty for an unknown table. A function that writes a
/// table opens them all, so that none of its index files goes stale.
std::vector<std::string> IndexFiles(std::string_view table);

/// QRMSTRUCT: the field list of a table. False when the name is unknown or
/// the table's layout comes with its code table instead (PKKZIS).
bool TableStructure(std::string_view name, std::vector<dbf::FieldSpec>* out);

/// QRMMTRI: the index `index` of table `table`, or nullptr when the pair is
/// not in the catalogue.
const CatalogueIndex* IndexDefinitionOf(std::string_view table, std::string_view index);

/// Tables a company may lack: created on first use (after a question)
/// instead of being reported missing.
bool IsCreatable(std::string_view table);

/// Tables created with an initial content (component list, default
/// algorithms, code dictionaries).
bool HasInitialContent(std::string_view table);

/// Tables that do not live in the company directory (PKDRUK: program
/// directory; PKH: the password directory).
bool IsOutsideCompany(std::string_view table);

}  // namespace kestrel::common
