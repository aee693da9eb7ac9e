// What the review and correction of list positions (menu 4.6) does with the
// records of PKPLACE, without a screen: the three orders of the browse and
// their searches, the summaries of the windows F3, F4 and F9, deleting and
// correcting one position, and the annual archive directories whose PKPLACE
// the browse may show instead of the current one.
//
// The functions work on a work area of PKPLACE opened with PKPLACE1,
// PKPLACE2 and PKPLACE3 (in any order among its indexes), current or
// archived; they leave its order as they found it unless they say so.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/archive_tables.h"
#include "payroll/data/payroll_records.h"
#include "payroll/data/positions.h"

namespace kestrel::payroll {

/// The orders of the browse, each by one index file of PKPLACE.
enum class ReviewOrder {
    kByMonth,     // PKPLACE2: year, list month, employee, component (F5)
    kByList,      // PKPLACE1: year, list symbol, list number, employee, component (F6)
    kByEmployee,  // PKPLACE3: year, employee, component, list month (F7)
};

/// The index files the browse opens PKPLACE with: all of them, as it writes.
const std::vector<std::string>& ReviewIndexes();
/// "PKPLACE2", "PKPLACE1" or "PKPLACE3".
const char* IndexOf(ReviewOrder order);
/// Makes `order` the controlling index of `place`; abandons on a read
/// failure.
void SetReviewOrder(common::Runtime& rt, dbf::WorkArea& place, ReviewOrder order);

/// What the operator typed into the search box; parts left blank (and all
/// parts after the first blank one in the order's key) are not sought.
struct ReviewKey {
    std::string year;       // "YYYY"
    std::string month;      // "1".."12" or "01".."12"
    std::string symbol;     // list symbol, one or two characters
    int number = 0;         // list number, 0: not given
    std::string employee;   // employee number, zero-padded to six when shorter
    std::string component;  // component symbol
};

/// The beginning of a key of `order`'s index made of the parts of `key`
/// in that index's sequence, up to the first part that is blank.
std::string SearchKey(ReviewOrder order, const ReviewKey& key);

enum class SearchOutcome {
    kFound,  // a position with that beginning is current
    kNext,   // none: the next position in the order is current
    kEnd,    // none and nothing after it: the last position is current
};

/// Soft seek of SearchKey(order, key) in `place` (set to `order`). A blank
/// key goes to the first position.
SearchOutcome Search(common::Runtime& rt, dbf::WorkArea& place, ReviewOrder order,
                     const ReviewKey& key);
/// "" for kFound, else "Brak klucza - następny rekord" or "Brak klucza -
/// koniec zbioru" (CP852).
std::string SearchMessage(common::Runtime& rt, SearchOutcome outcome);

/// The position of the current record of `place` (deleted ones included).
Position ReadPlace(dbf::WorkArea& place);

/// One line of a summary window.
struct SummaryLine {
    std::string symbol;  // SKLADN_PL
    std::string name;    // the component's NAZWA_, "" when PKSPL lacks it
    double amount = 0;   // summed over the lists for the month's summary
    bool deduction = false;
    bool off_list = false;
};

struct Summary {
    std::vector<SummaryLine> lines;  // by component
    double total = 0;                // payable: PayableTotal of the lines
};

/// The window F3 of the current position: the employee's positions on its
/// list that are not auxiliary amounts; total = payable minus deductions.
Summary PayableOfList(dbf::WorkArea& place, const std::vector<Component>& components);
/// The window F4: every position of the employee on the list, auxiliary
/// amounts included; total as F3 (auxiliary amounts left out).
Summary AllOfList(dbf::WorkArea& place, const std::vector<Component>& components);
/// The window F9: the employee's positions that are not auxiliary amounts
/// on every list of the year and list month of the current position, one
/// line per component with the amounts summed; total as F3.
Summary PayableOfMonth(dbf::WorkArea& place, const std::vector<Component>& components);

/// Del on the current position of `place`: a position transferred to the
/// tax records (AKT_DOCH) is refused with "Aktualiz. DOCH. - blokada
/// kasow." (returned, CP852, nothing changed); otherwise it is deleted
/// under its record lock and the month's flags of PKSTER are cleared
/// (ClearMonthFlags); "" returned. A record another station deleted
/// meanwhile is left alone.
std::string DeletePlace(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place);

/// What a correction may change in a position.
struct Correction {
    double amount = 0;     // KWOTA_
    bool blocked = false;  // NIE_ALG: the recalculation keeps the amount
};

/// Whether the current position of `place` may be corrected: "" when it
/// may, else the refusal (CP852): "Aktualiz. DOCH. - blokada korekty" for a
/// position transferred to the tax records, "Zmiana dopuszczalna w aktywnej
/// liście" for a position of a list that is not open (or no longer exists).
std::string CorrectionRefusal(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place);

/// Writes `c` into the current position of `place` under its record lock,
/// read again first (another station may have changed it; a record deleted
/// meanwhile is left alone and false returned). A position left with the
/// amount 0 and not blocked is deleted, as only a blocked position may hold
/// 0. The month's flags of PKSTER are cleared. The refusals of
/// CorrectionRefusal are the caller's to ask first. A failed write abandons
/// with "Błąd zapisu: " and the table.
bool CorrectPlace(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place,
                  const Correction& c);

}  // namespace kestrel::payroll
