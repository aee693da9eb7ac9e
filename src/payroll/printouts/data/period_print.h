// The summaries of the lists of a month (4.8.4, matrix type 2), of a
// period (4.8.5, type 3) and the pay of a period per employee (4.8.9, type
// 5), on the print-matrix engine: every list whose list month (for 4.8.9
// also: payment month) lies in the months asked for, of the symbols the
// matrix admits, summed per employee.
#pragma once

#include <string>
#include <vector>

#include "payroll/data/payroll_host.h"
#include "payroll/printouts/data/payroll_list_print.h"

namespace kestrel::payroll {

/// The lists of PKLISTY whose list month (ROK_LST, MC_LST), or with
/// `by_payment` whose payment month (DATA_WYP), lies from `from` to `to`,
/// both included, deleted records skipped, in key order.
std::vector<PayrollList> ListsOfMonths(common::Tables& tables, YearMonth from, YearMonth to,
                                       bool by_payment = false);

/// "Rodzaj wydruku:" of the period summary.
enum class PeriodGrouping {
    kSynthetic = 1,         // every employee, the final total
    kDepartments = 2,       // every employee, a total per department
    kBrigades = 3,          // every employee, a total per brigade
    kGroups = 4,            // every employee, a total per algorithm group
    kDepartmentTotals = 5,  // the totals per department only
};

struct SummaryRequest {
    std::string matrix;
    char type = '2';     // '2' the month (4.8.4), '3' the period (4.8.5)
    YearMonth from, to;  // the months; from == to for a month
    int sort = 1;        // "Rodzaj sortu:" of 4.8.4: 1 numbers, 2 names, 3 brigades, 4 departments
    char layout = 'Z';   // "Typ wydruku:" of 4.8.4: Z or P
    PeriodGrouping grouping = PeriodGrouping::kSynthetic;  // 4.8.5
    bool by_payment = false;                    // 4.8.9 "Typ wydruku:" 2: by payment date
    std::string first_employee, last_employee;  // 4.8.9: the range (blank: all)
    /// The months are looked for in the annual archives too (NAGLARL).
    bool archives = false;
};

/// The lists of the months of `request` in the annual archives the months
/// touch (those of their years; with `by_payment` also of the year before,
/// whose lists may be paid in January), each with the archive's name,
/// leaving out every list whose key is among `working` (the lists found in
/// the working tables): a list is gathered once, from the working tables
/// when both hold it. Fails with "Ponad 25 katalogów archiwalnych" or
/// "Brak pliku ARCH2024/PKLISTY.DBF" (abandons, CP852).
struct ArchiveLists {
    std::string archive;
    std::vector<PayrollList> lists;
};
std::vector<ArchiveLists> ArchivedListsOfMonths(common::Tables& tables, YearMonth from,
                                                YearMonth to, bool by_payment,
                                                const std::vector<PayrollList>& working);

/// Prints the summary into `out` (open). "Brak list płac w podanym
/// okresie" when no list lies in the months; the engine's messages
/// otherwise. With `archives` the lists of the months come from the
/// working tables and from the archives of their years
/// (ArchivedListsOfMonths), the positions of each from its own source; a
/// printout whose every list lies in one archive reads that archive's year
/// tables throughout (brigades included), as for the working tables. A period summary grouped by
/// departments, brigades or groups sorts by them and totals each.
PayrollListOutcome PrintSummary(common::Runtime& rt, common::Tables& tables,
                                const SummaryRequest& request, printing::PrintOutput& out,
                                MatrixObserver* observer);

}  // namespace kestrel::payroll
