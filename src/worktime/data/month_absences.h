// The absence lines (PKNIEOB) entered in a settlement month, for the browse
// and the entry of absences.
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
    // The rest of the record, for the entry.
    int year = 0, month = 0;               // ROK_, MIESIAC_: the month it was entered in
    std::string group;                     // GRUPA_ as stored
    int percentage = 0;                    // PROC_ZAS
    std::string statistical;               // NR_STATYST as stored
    std::string sick1 = " ", sick2 = " ";  // KOD_CHOR_1, KOD_CHOR_2
};

/// The line of the current record of `area` (PKNIEOB).
AbsenceLine ReadAbsenceLine(dbf::WorkArea& area);

/// Every live line entered in `month`, by employee and line number.
std::vector<AbsenceLine> MonthAbsences(common::Tables& tables, const SettlementMonth& month);

}  // namespace kestrel::worktime
