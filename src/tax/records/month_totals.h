// The totals of one tax month of the income records (PKDOCH), per income
// kind, as the browse of the records shows them on F3.
//
// The tax month of a record is the month of its payment date DATA_WYP
// (not the list month). Deleted records do not count. The columns are the
// record's own amounts: "Ulgi+zw." adds the relief ULGA_ and the exemption
// ZWOLN_, "Ubezp.zdr." is UBEZP_ZDRO, the health contribution deducted from
// the tax (the part collected but not deducted, UBEZP_ZDD, stays out, as it
// does of the tax), and "Podatek" is PODATEK_, the tax before reliefs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::tax {

/// The heading of the totals (UTF-8), 76 characters.
inline constexpr const char* kTotalsHeading =
    "Tyt. Ilość  Przychód   Koszt uz. Ubezp.społ.  Ulgi+zw.  Ubezp.zdr.   Podatek";

struct KindTotals {
    std::string kind;  // TYTUL_WYP
    int count = 0;     // records
    double revenue = 0, costs = 0, social = 0, reliefs = 0, health = 0, tax = 0;
};

/// The totals of the tax month `yyyymm` ("202603") per income kind, in the
/// order of the kinds; none when the month has no visible record.
std::vector<KindTotals> MonthTotals(common::Tables& tables, std::string_view yyyymm);

/// One line of the totals under kTotalsHeading: every value ends where its
/// heading ends (76 characters).
std::string TotalsLine(const KindTotals& t);

/// `value` right-aligned in `width` with two decimals (a decimal point);
/// when that does not fit, rounded to whole units; when even that does not
/// fit, `width` asterisks, so that a cut number is never shown.
std::string FitAmount(double value, int width);

}  // namespace kestrel::tax
