// The import of employees from a CSV file: every row is registered as the
// registration dialog registers a person, with the same field checks, the
// scrambled identity, the change log entry and the indexes.
//
// The file is UTF-8 text (a byte-order mark is skipped) in the quoting of
// RFC 4180: fields separated by commas or semicolons (whichever the header
// line uses, outside quotes), a field in double quotes may hold the
// separator, line breaks and "" for a quote. The first line names the
// columns: fields of PKPRAC, and NAZWISKO, IMIONA and PESEL for the
// identity in clear (the scrambled fields, MASTER_ and the dismissal are
// not imported). Values: texts as they stand (converted to CP852, cut at
// nothing: a longer value refuses the row), numbers with a decimal point or
// comma, dates YYYY-MM-DD or YYYYMMDD, logicals T, Y, 1 (true) or N, F, 0
// (false). An empty cell leaves the registration's default. NIE_PRAC and
// OS_PRAWNA choose the kind of record (staff by default); without NR_PRAC
// (column absent or cell empty) the registration's next free number of the
// kind is taken.
//
// A row is refused, with nothing of it written, when a value cannot be read
// or does not fit its field, when a check of the registration refuses it,
// when the number exists, and when a live record carries its PESEL already
// (so that importing one file twice does not register everyone twice; a
// second record of one person is registered in the dialog). Warnings of
// the checks (a wrong PESEL check digit, an unknown commune) do not refuse.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/base/status.h"

namespace kestrel::registry {

/// A CSV file read into cells (UTF-8); `lines` gives the line each record
/// starts on: lines[0] the header's, lines[r + 1] that of rows[r]. Blank
/// lines are skipped.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> lines;
};
/// Reads `text`. InvalidArgument "line N: ..." for a quote left open or
/// text after a closing quote; an empty file has no header.
base::Status ReadCsv(std::string_view text, CsvTable* out);

struct ImportNote {
    int line = 0;
    std::string text;  // UTF-8: "FIELD: message" or the register's message
};

struct ImportOutcome {
    std::vector<std::string> registered;  // the numbers, in the file's order
    std::vector<ImportNote> refused;
    std::vector<ImportNote> warnings;
};

/// Registers the rows of `csv` in the company of `tables`. A file that
/// cannot be read as CSV, without a header, or whose header names an
/// unknown or not importable field, or one field twice, gives
/// InvalidArgument and writes nothing. Otherwise every row is registered or
/// refused (see above) and Ok is returned; common::Abandon passes a failure
/// of the tables.
base::Status ImportEmployees(common::Runtime& rt, common::Tables& tables, std::string_view csv,
                             ImportOutcome* out);

}  // namespace kestrel::registry
