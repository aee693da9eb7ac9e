// The insurance records of one month as text, for kestrel-tool and the
// tests: every visible record of PKSKLAD, PKPODST, PKOKRES, PKKSKWN and
// PKWYNAG of the declaration month and of PKZASIL of the list month, in the
// order of each table's first index, with every field.
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::insurance {

struct RecordSection {
    std::string table;
    std::vector<std::string> fields;             // the table's field names
    std::vector<std::vector<std::string>> rows;  // one value per field
};

/// Values as text: characters with trailing blanks cut (CP852), numbers
/// with their decimals, logicals "T"/"F", dates "YYYYMMDD" ("" when
/// empty). A table the company lacks gives a section without rows.
std::vector<RecordSection> ReadMonthRecords(common::Runtime& rt, common::Tables& tables, int year,
                                            int month);

/// The tables of the records, in the order ReadMonthRecords gives them.
const std::vector<std::string>& RecordTables();

}  // namespace kestrel::insurance
