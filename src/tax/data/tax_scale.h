// The tax scale: the brackets of PKTAB and the scale loaded from them into
// the public variables the payroll formulas read.
//
// PKTAB holds one row per bracket of a scale valid in year ROK_ from month
// OD_MC to month MC_DO (index PKTAB1: year, MC_DO, PONAD_KW). A row taxes
// the part of the yearly income between PONAD_KW and DO_KWOTY at PROC_POD
// percent; KWOTA_POD is the tax on PONAD_KW; ULGA_POD the annual
// tax-reducing amount, the same in every row of one scale; the last bracket
// is open (DO_KWOTY 999999999.99).
//
// Loading (QRMTABELA) puts bracket k's upper bound in NAGLTBKk (0 for the
// open one) and its rate in NAGLTBPk, the annual relief in NAGLTBUR and the
// monthly one in NAGLTBU. Brackets a scale does not have are set to 0, so
// nothing of a longer scale loaded before stays behind.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/session/configuration.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"
#include "platform/formula/names.h"

namespace kestrel::tax {

/// DO_KWOTY of the open bracket.
inline constexpr double kOpenBound = 999999999.99;
/// Most brackets one scale may have.
inline constexpr int kMaxBrackets = 9;

/// One row of PKTAB.
struct ScaleRow {
    int year = 0;        // ROK_
    int from_month = 1;  // OD_MC
    int to_month = 12;   // MC_DO
    double above = 0;    // PONAD_KW
    double up_to = 0;    // DO_KWOTY
    double tax = 0;      // KWOTA_POD
    double rate = 0;     // PROC_POD
    double relief = 0;   // ULGA_POD
};

/// True for the upper bound of the open bracket.
bool IsOpen(double up_to);

/// What is wrong with the rows of one scale, in the order they are checked
/// row by row.
enum class ScaleFault {
    kNone,
    kDifferentReliefs,  // a row's ULGA_POD differs from the first row's
    kTooManyRows,       // more than nine rows
    kBadTable,          // a gap or overlap, an empty bracket, a wrong
                        // KWOTA_POD, or a last bracket that is not open
};

/// Checks the rows of one scale, given in order of PONAD_KW: each row must
/// begin where the one before ended (the first at 0), end above its
/// beginning, carry as KWOTA_POD the tax of the brackets below it (the sum
/// of (DO_KWOTY - PONAD_KW) * PROC_POD / 100 rounded to grosze) and the
/// first row's relief; the last must be open. No rows is kBadTable.
ScaleFault CheckScale(const std::vector<ScaleRow>& rows);

/// The monthly relief of an annual one: from 2009 on a twelfth truncated to
/// whole grosze (3089 -> 257.41, 3600 -> 300.00), before 2009 rounded.
double MonthlyRelief(double annual, int year);

/// A scale as the payroll formulas read it.
struct LoadedScale {
    std::array<double, kMaxBrackets> limits{};  // 0: the open bracket (or none)
    std::array<double, kMaxBrackets> rates{};
    double annual_relief = 0;
    double monthly_relief = 0;
};

/// The loaded form of checked rows of a scale of `year`.
LoadedScale Loaded(const std::vector<ScaleRow>& rows, int year);

/// Writes `scale` into the public variables NAGLTBK1-9, NAGLTBP1-9,
/// NAGLTBUR and NAGLTBU.
void Publish(common::Configuration& config, const LoadedScale& scale);
/// The scale the public variables hold now (absent ones read 0).
LoadedScale Published(const formula::Variables& publics);

/// The rate of the first bracket whose upper bound is at least `amount`,
/// or that is open (STAWKAPOD); 0 when no scale is loaded.
double RateFor(const LoadedScale& scale, double amount);

/// "2026/07": the year and month in the scale's messages.
std::string YearMonth(int year, int month);

/// QRMTABELA: loads the scale valid in `year` and `month` into the public
/// variables: the first row of PKTAB from (year, month) on in index order,
/// when it is of that year, selects the scale by its MC_DO. Abandons with
/// "Brak tabeli podatk. " + year/month when the year has no scale from that
/// month on, and with "Różne ulgi w tabeli ", "Tabela … ma ponad 9 poz." or
/// "Błędna tabela " + year/month when its rows are wrong (the variables
/// are then left as they were). PKTAB is opened and closed here.
void Qrmtabela(common::Runtime& rt, int year, int month = 12);

// --- the rows of PKTAB, for the editor and the demo ---------------------

/// PKTAB opened in `tables` with its index PKTAB1.
dbf::WorkArea& OpenScaleTable(common::Tables& tables);
/// The current record of PKTAB as a row.
ScaleRow ReadRow(dbf::WorkArea& area);
/// Writes `row` into the record buffer of PKTAB (the caller commits); an
/// error when a value does not fit its field.
base::Status WriteRow(dbf::WorkArea& area, const ScaleRow& row);

/// Two rows clash when they have the same key (year, MC_DO, PONAD_KW) or
/// cover the same amounts in months of the same year that overlap.
bool RowsClash(const ScaleRow& a, const ScaleRow& b);
/// True when `row` clashes with a row of PKTAB other than record `self`
/// (0: a new row). The area's order and record are kept; a read error
/// abandons.
bool ClashesInTable(common::Runtime& rt, dbf::WorkArea& area, const ScaleRow& row, uint32_t self);

}  // namespace kestrel::tax
