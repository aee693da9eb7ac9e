// The shipped payroll setup as text: records of the payroll tables written
// one block per record, reviewed like code (data/payroll/*.setup; the
// format is described in docs/payroll-setup.md).
//
//   # a comment: a line whose first non-blank character is "#"
//   [PKTAB]                    a record of table PKTAB begins
//   ROK_: 2026                 FIELD: value
//   PROC_POD: 12
//   [PKFUNC]
//   FUN_: ren2
//   WZOR_:                     a memo field: the text follows, indented
//       if(year(pklisty->data_wyp) < 2008,
//          6.5/100, 4.5/100)
//
// A field line starts in the first column; its name is taken in any case.
// The value is the rest of the line after the colon, blanks around it cut.
// A memo field whose value is empty takes the lines below it that are
// indented (by blanks or tabs): the indentation of the first of them is
// taken off every line, a blank line inside the text is kept, blank lines
// at its end are dropped, and the lines are joined by CR LF as memo texts
// are stored. In memo text "#" is text. Values: texts in UTF-8 (converted
// to CP852, every letter must exist there, not longer than the field),
// numbers with a decimal point (within the field's width and decimals),
// logicals T, Y (true) or F, N (false), dates YYYY-MM-DD.
//
// Every error names the file and line: "PKTAB.setup:12: ...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"
#include "platform/dbf/table.h"

namespace kestrel::common {

struct SetupField {
    std::string name;   // upper case
    std::string value;  // UTF-8, memo lines joined by CR LF
    int line = 0;
};

struct SetupRecord {
    std::string table;   // upper case, a table of the catalogue
    std::string source;  // the file's name
    int line = 0;        // of the "[TABLE]" line
    std::vector<SetupField> fields;

    /// The field of that name (upper case), or nullptr.
    const SetupField* Find(std::string_view name) const;
};

/// Reads the records of one file's text (`source` names it in errors),
/// appending them to `*out`. Every table, field and value is checked
/// against the table catalogue; InvalidArgument "source:line: reason" for
/// the first fault, and nothing of the file is appended then.
base::Status ParseSetup(std::string_view text, std::string_view source,
                        std::vector<SetupRecord>* out);

/// Reads every "*.setup" file of `dir` in the order of their names; a
/// missing folder has no records.
base::Status ReadSetupDir(const std::string& dir, std::vector<SetupRecord>* out);

/// The records of `table` (any case), in their order.
std::vector<const SetupRecord*> RecordsOf(const std::vector<SetupRecord>& records,
                                          std::string_view table);

/// Writes the values of `record` into `*rec`, a record of `table` (memo
/// texts into the table's memo file); the fields it does not name are left
/// as they are.
base::Status FillSetupRecord(const SetupRecord& record, dbf::Table& table, dbf::Record* rec);

/// Whether the stored `rec` holds every value `record` gives (texts
/// compared without their padding, memo texts as stored).
bool SetupRecordMatches(const SetupRecord& record, const dbf::Table& table, const dbf::Record& rec);

}  // namespace kestrel::common
