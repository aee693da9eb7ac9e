// The absence lines (PKNIEOB) entered in a settlement month, for the browse
// of absences.
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

struct AbsenceLine {
    std::string number;  // NR_PRAC, six characters
    int line = 0;        // LP_
    std::string code;    // KOD_NIEOB, trimmed
    int cal_year = 0, cal_month = 0;
    int from = 0, to = 0;  // DZ_ROZP, DZ_ZAK
    double quantity = 0, quantity2 = 0;
    int zus_year = 0, zus_month = 0;
};

/// Every live line entered in `month`, by employee and line number.
std::vector<AbsenceLine> MonthAbsences(common::Tables& tables, const SettlementMonth& month);

}  // namespace kestrel::worktime
