// The tables that hang off the employee number: additional insurance titles
// (PKKTYUB), standing allowances and deductions (PKDOD), remembered earlier
// values of fields (PKZMPRC), the change log (PKEKPRC) and the values of
// the extended structure (PKUPRC).
//
// Every function works on an area opened through common::Tables with the
// table's index files, the first one controlling (see OpenRegister in
// employee_registration.h). Writers lock the record they change with the
// retrying record lock, commit and unlock; a failed write abandons with
// "Błąd zapisu: " and the table's name. Dates are "YYYYMMDD" ("" empty).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"

namespace kestrel::registry {

// --- PKKTYUB: additional insurance titles -------------------------------

struct InsuranceTitle {
    int line = 0;       // LP_ 1-99
    std::string title;  // TYTUL_PODM, four digits
    std::string from;   // DATA_OD
    std::string to;     // DO_DATA, "" = open
    uint32_t recno = 0;
};

/// The titles of employee `number` in line order (PKKTYUB1).
std::vector<InsuranceTitle> ReadTitles(dbf::WorkArea& ktyub, std::string_view number);
/// Stores a line: over the live record of that line, or a deleted one
/// recalled, or a new one. Returns its record number.
uint32_t WriteTitle(common::Tables& tables, dbf::WorkArea& ktyub, std::string_view number,
                    const InsuranceTitle& title);
/// Deletes line `line` and every later line of the employee (an empty title
/// ends the list).
void DeleteTitlesFrom(common::Tables& tables, dbf::WorkArea& ktyub, std::string_view number,
                      int line);
/// Two periods overlap when the earlier-listed one starts on or before the
/// new start and does not end before it, or starts within the new period
/// (an empty end is open).
bool PeriodsOverlap(const InsuranceTitle& listed, const InsuranceTitle& added);
/// "Zdublowany tytuł ubezpieczenia" (UTF-8) when a title of `listed` equals
/// the added one with an overlapping period, else "".
std::string DuplicateTitleMessage(const std::vector<InsuranceTitle>& listed,
                                  const InsuranceTitle& added);

// --- PKDOD: allowances and deductions ------------------------------------

struct Allowance {
    int line = 0;        // LP_ 1-99
    std::string symbol;  // RODZAJ_DOD
    double value = 0;    // WARTOSC_
    bool timed = false;  // CZASOWY_
    int from_year = 0, from_month = 0, to_year = 0, to_month = 0;
    uint32_t recno = 0;
};

std::vector<Allowance> ReadAllowances(dbf::WorkArea& dod, std::string_view number);
/// Stores a line as WriteTitle does; returns its record number.
uint32_t WriteAllowance(common::Tables& tables, dbf::WorkArea& dod, std::string_view number,
                        const Allowance& allowance);
/// The line proposed for a new allowance: one more than the highest line of
/// the employee, restarting at 1 above 99.
int NextAllowanceLine(const std::vector<Allowance>& lines);
/// The check of a symbol against the other lines (`lines` without the one
/// being edited): `Zdublowany "globalny" symbol` when another line has the
/// symbol without a time limit; *forced_timed tells whether another line has
/// it with one.
std::string AllowanceSymbolMessage(const std::vector<Allowance>& lines, const Allowance& edited,
                                   bool* forced_timed);
/// "Kolizja zakresów miesięcy" when the month range of a time-limited line
/// overlaps that of another time-limited line with the same symbol.
std::string AllowanceRangeMessage(const std::vector<Allowance>& lines, const Allowance& edited);

// --- Deleting rows --------------------------------------------------------

/// Marks record `recno` of `area` deleted (locked while it is written).
void DeleteRow(common::Tables& tables, dbf::WorkArea& area, uint32_t recno);
/// Record numbers of the live rows of `number` in `area`, whose controlling
/// index begins with the employee number.
std::vector<uint32_t> RowsOf(dbf::WorkArea& area, std::string_view number);

// --- PKZMPRC: remembered earlier values ------------------------------------

struct RememberedValue {
    std::string field;  // NAZWA_POLA
    std::string until;  // DATA_DO
    std::string value;  // WARTOSC_ (text, the stored form for scrambled fields)
    uint32_t recno = 0;
};

/// The remembered values of one field in order of DATA_DO.
std::vector<RememberedValue> ReadRemembered(dbf::WorkArea& zmprc, std::string_view number,
                                            std::string_view field);
/// Creates the value of key number + field + date, or recalls a deleted one,
/// or overwrites the present one.
uint32_t Remember(common::Tables& tables, dbf::WorkArea& zmprc, std::string_view number,
                  const RememberedValue& value);
/// Deletes every remembered value of the number.
void ForgetAll(common::Tables& tables, dbf::WorkArea& zmprc, std::string_view number);

// --- PKEKPRC: the change log ----------------------------------------------

inline constexpr std::string_view kLogRegister = "PKPRAC ";
inline constexpr std::string_view kLogTitles = "PKKTYUB";
inline constexpr std::string_view kLogAllowances = "PKDOD  ";
inline constexpr std::string_view kLogExtended = "PKUPRC ";

struct ChangeEntry {
    std::string table;  // PLIK_, seven characters (kLog…)
    uint32_t recno = 0;
    std::string field;  // NAZWA_POLA
    std::string old_value, new_value;
};

/// The sequence number of a new entry of this employee, table, field and
/// day: one more than the highest present, at most 999; 1 for the first.
int NextLogSequence(dbf::WorkArea& ekprc, std::string_view number, std::string_view table,
                    std::string_view field, std::string_view day);
/// Appends one entry dated `day` for operator `ident` (four characters).
void LogChange(common::Tables& tables, dbf::WorkArea& ekprc, std::string_view number,
               const ChangeEntry& entry, std::string_view day, std::string_view ident);

struct LoggedChange {
    ChangeEntry entry;
    std::string day;
    int sequence = 0;
    std::string ident;
};
/// The log of one employee in the order of the controlling index.
std::vector<LoggedChange> ReadLog(dbf::WorkArea& ekprc, std::string_view number);

// --- PKUPRC: values of the extended structure ------------------------------

struct ExtendedValue {
    std::string key;  // KLUCZ_ (upper case)
    int line = 0;     // LP_: 0 for a single field, 1, 2, … for rows
    std::string text;
    uint32_t recno = 0;
};

std::vector<ExtendedValue> ReadExtended(dbf::WorkArea& uprc, std::string_view number);
uint32_t WriteExtended(common::Tables& tables, dbf::WorkArea& uprc, std::string_view number,
                       const ExtendedValue& value);

// --- Rewriting rows in place (undo) ----------------------------------------

/// Writes the row's values over its record (`recno` of the value), recalling
/// it when it was deleted since.
void RewriteTitle(common::Tables& tables, dbf::WorkArea& ktyub, std::string_view number,
                  const InsuranceTitle& title);
void RewriteAllowance(common::Tables& tables, dbf::WorkArea& dod, std::string_view number,
                      const Allowance& allowance);
void RewriteExtended(common::Tables& tables, dbf::WorkArea& uprc, std::string_view number,
                     const ExtendedValue& value);

}  // namespace kestrel::registry
