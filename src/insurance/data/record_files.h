// The monthly insurance records as the browse and correction screens and
// the record listings see them: for each of PKSKLAD, PKZASIL, PKKSKWN,
// PKWYNAG, PKPODST and PKOKRES its columns (field, heading, kind of value),
// its orders and the fields that give a record's month; and the rules of a
// correction by hand, which are the same for every table:
//
// - only records of the current month (PKSTER) are changed or deleted;
// - key fields, KOREKTA_ and WYP_MC_P are shown, never changed;
// - logicals are T/N; "U/D" is blank, "U" or "D"; FORMA_OPOD one digit of
//   "123456"; rates (99.99), amounts (999,999,999.99) and the other numbers
//   are never negative;
// - a value that differs from the stored one sets KOREKTA_.
//
// The caller holds the record's lock while the value is edited and stored.
// No screen here; texts are UTF-8 unless said.
#pragma once

#include <string>
#include <vector>

#include "platform/dbf/work_area.h"

namespace kestrel::insurance {

enum class CellKind {
    kKey,        // part of the record's key: shown only
    kYearMonth,  // the record's month, "YYYY-MM" of `field` and `second`: shown only
    kFlag,       // a logical kept by the system (KOREKTA_, WYP_MC_P): shown only
    kLogical,    // T/N
    kChoice,     // one character of `allowed` (upper case; a blank in it allows blank)
    kRate,       // 99.99, >= 0
    kAmount,     // 999,999,999.99, >= 0
    kNumber,     // a number of the field's width and decimals, >= 0
    kDate,       // YYYY-MM-DD
    kText,       // free text in upper case
};

struct RecordColumn {
    std::string field;
    std::string heading;
    CellKind kind = CellKind::kAmount;
    std::string allowed;  // kChoice
    std::string second;   // kYearMonth: the month field
};

/// One order of the browse: its index and the key parts a search asks, in
/// the index's order.
enum class KeyPart { kYear, kMonth, kEmployee };
struct RecordOrder {
    std::string index;
    std::string legend;  // "Sort:M-C,NR PRAC.,TYTUŁ"
    std::vector<KeyPart> parts;
};

enum class RecordKind { kContributions, kBenefits, kComponents, kTotals, kBases, kPeriods };

struct RecordFile {
    RecordKind kind;
    std::string table;
    std::vector<std::string> indexes;  // every index kept up to date
    std::vector<RecordOrder> orders;   // F5, F6 …; the first opens the browse
    std::string year_field, month_field;
    std::vector<RecordColumn> columns;
    int freeze = 0;  // columns kept in view while panning
};

/// The description of a table. `ppk` adds the employer's PPK columns of
/// PKSKLAD (shown only when the company keeps them, NAGLPPK20).
RecordFile DescribeRecords(RecordKind kind, bool ppk = false);

/// The year and month of the current record of `area` by the file's month
/// fields (numbers or texts alike).
void RecordMonth(const RecordFile& f, dbf::WorkArea& area, int* year, int* month);

/// The value of a cell as stored or typed.
struct CellValue {
    std::string text;  // kChoice, kText, kKey (CP852, as stored)
    double number = 0;
    bool logical = false;
    std::string date;  // "YYYYMMDD", "" for the empty date
};

bool Editable(const RecordColumn& c);
/// The cell of the current record as the browse shows it (CP852), `width`
/// wide.
std::string CellText(const RecordColumn& c, dbf::WorkArea& area, int width);
/// The width the column takes in the browse (its heading or its values).
int ColumnWidth(const RecordColumn& c, dbf::WorkArea& area);
/// The entry picture of an editable numeric cell ("@E 999,999,999.99" …).
std::string EntryPicture(const RecordColumn& c, dbf::WorkArea& area);

CellValue ReadCell(const RecordColumn& c, dbf::WorkArea& area);
/// Whether `v` may be stored in the column (the rules above).
bool AcceptableCell(const RecordColumn& c, const CellValue& v);
/// Writes `v` into the current record of `area` (locked by the caller) and
/// commits it; KOREKTA_ is set when the value differs from the stored one.
/// False (nothing written) when it does not differ or is not acceptable; a
/// failed write abandons with "Błąd zapisu: " and the table's alias.
bool StoreCell(dbf::WorkArea& area, const RecordColumn& c, const CellValue& v);

}  // namespace kestrel::insurance
