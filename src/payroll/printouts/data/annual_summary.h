// The annual summary of the payroll components per employee (4.8.6, and
// its dBASE export 4.8.B): for each employee of a range and each of his
// components, the amounts of the twelve months of a year and of the year.
// A position counts in the month of its list (selection "L") or in the
// month of its payment date (selection "W"); amounts are summed as stored
// (deductions and auxiliary values too, each in its own component).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/printouts/data/printout_support.h"
#include "printing/data/print_output.h"

namespace kestrel::payroll {

struct AnnualOptions {
    int year = 0;
    char selection = 'L';  // 'L' list month, 'W' payment date
    /// 'A' per employee, 'B' the summary of all employees, 'C' both, 'D'
    /// the summary per department.
    char type = 'A';
    int sort = 1;  // 1 by number, 2 alphabetic
    std::string from = "000000";
    std::string to = "999999";
    /// The year is looked for in the annual archives too (NAGLARL).
    bool archives = false;
};

struct AnnualRow {
    std::string symbol;  // trimmed
    std::string name;    // CP852
    std::array<double, 12> months{};
    double year = 0;
};

struct AnnualEmployee {
    std::string number;
    std::string name;  // CP852
    std::string department;
    std::vector<AnnualRow> rows;  // by component symbol
};

struct AnnualDepartment {
    std::string department;
    std::vector<AnnualRow> rows;
};

struct AnnualSummary {
    std::vector<AnnualEmployee> employees;      // in the order asked
    std::vector<AnnualRow> totals;              // every employee, by symbol
    std::vector<AnnualDepartment> departments;  // by department code
};

/// Collects the summary of the company's positions (PKPLACE) of
/// `options.year` for the employees from `from` to `to` (numbers, both
/// included) that have positions in that year. With `archives` the
/// positions of the archive of the year (and, selected by payment date,
/// of the year before: lists paid in January) are added, except those of
/// a list the working tables hold too (a list counts once, from the
/// working tables). Abandons with "Ponad 25 katalogów archiwalnych" or
/// "Brak pliku ARCH2024/PKPLACE.DBF".
AnnualSummary CollectAnnual(common::Runtime& rt, common::Tables& tables,
                            const AnnualOptions& options);

/// Prints the summary wide (136 columns, the header QRMNAGL on every page):
/// columns "Skł.", "I" … "XII" and "Rok"; per employee (types A and C), the
/// totals of all (B and C), per department (D). `stop` is asked before
/// each employee; true when the printout ran to its end.
bool PrintAnnual(common::Runtime& rt, const AnnualSummary& summary, const AnnualOptions& options,
                 printing::PrintOutput& out, const PrintStop& stop = nullptr);

/// An amount of a column `width` characters wide, right-aligned with a
/// decimal comma and no thousands separators, blank for 0, asterisks when
/// it does not fit.
std::string ColumnAmount(double value, int width);

}  // namespace kestrel::payroll
