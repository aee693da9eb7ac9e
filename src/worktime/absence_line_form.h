// The questions of one line of the absence entry (3.4), and the layout
// the entry and its line share: the line's columns under the heading of the
// list, the entry row, the row of the hints and the row of the details
// (reporting month, sickness codes, limit).
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/console/keyboard.h"
#include "worktime/data/absence_entry.h"

namespace kestrel::worktime {

inline constexpr int kMonthRow = 6, kEmployeeRow = 7, kStateRow = 9, kHeadingRow = 10;
inline constexpr int kFirstLineRow = 11, kLastLineRow = 19, kEntryRow = 20, kHintRow = 21;
inline constexpr int kDetailRow = 22;
inline constexpr int kValueCol = 15, kNameCol = 23, kStateCol = 60;
// The columns of a line, under the heading at column 1.
inline constexpr int kLpCol = 1, kCodeCol = 4, kCodeNameCol = 9, kTypeCol = 41, kCalCol = 48;
inline constexpr int kFromCol = 56, kToCol = 59, kQtyCol = 62, kQty2Col = 70;
inline constexpr int kZusCol = 2, kSickCol = 24, kLimitCol = 42;

/// Binds `k` for the read under way: it sets `*pressed` and leaves the read.
void EndOn(console::Keyboard& kb, int k, bool* pressed);

/// "YYYY.MM".
std::string MonthText(int year, int month);

/// Months counted from year 0, to compare months.
int MonthNumber(const SettlementMonth& m);

/// The hint row: cleared, then `legend` (UTF-8) when not empty.
void WriteHint(common::Runtime& rt, std::string_view legend);

/// What a line is asked with: the employee's entry in `month` while the
/// settlement month is `settlement`.
struct LineContext {
    common::Runtime& rt;
    common::Tables& tables;
    AbsenceEntry& entry;
    const EntryEmployee& employee;
    SettlementMonth month, settlement;
};

/// Asks the code of `line` on the entry row and, for codes not of type
/// "E", the calendar month (F1), the days with the collision question, the
/// quantities (proposed unless an `existing` line keeps code and days),
/// the reporting month of reported codes and the sickness codes of
/// benefits. False when the operator left with Esc.
bool AskAbsenceLine(const LineContext& context, AbsenceLine* line, bool existing);

}  // namespace kestrel::worktime
