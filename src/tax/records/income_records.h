// The income records of PKDOCH as values, for the browse and the
// command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::tax {

/// One record of PKDOCH.
struct IncomeRecord {
    std::string employee;  // NR_PRAC
    std::string year;      // ROK_LST
    std::string symbol;    // TYP_LST, two characters
    int number = 0;        // NR_LST
    std::string month;     // MC_LST
    std::string paid;      // DATA_WYP "YYYYMMDD", "" when empty
    std::string kind;      // TYTUL_WYP
    double revenue = 0, costs = 0, tax = 0, relief = 0, exemption = 0;  // PRZYCHOD_ ... ZWOLN_
    double social = 0, health = 0, health_rest = 0;  // UBEZP_SPOL, UBEZP_ZDRO, UBEZP_ZDD
    double exempt = 0, percent = 0, exempt_2 = 0, union_dues = 0, exempt_e = 0;
    double ppk_employer = 0;  // KW_PPK_ZAK
    bool automatic = false;   // AUTOMAT_
};

/// The visible records of PKDOCH in the order of PKDOCH1 (list year, list
/// number, employee, kind); only year `year` and employee `employee` when
/// they are not empty.
std::vector<IncomeRecord> ReadIncomeRecords(common::Tables& tables, std::string_view year = {},
                                            std::string_view employee = {});

}  // namespace kestrel::tax
