// The control list of a payroll list (4.8.2): per employee "Lp", the
// number and the name, then per component its code and name with its
// amount in one of the columns "Pomocnicze" (auxiliary, POZA_LISTA),
// "Płaca" (pay) or "Potrącenia" (deductions), and "Do wypłaty" (the net:
// pay less deductions); the totals of the list close it.
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"
#include "payroll/printouts/data/printout_support.h"
#include "printing/data/print_output.h"

namespace kestrel::payroll {

struct ControlLine {
    std::string symbol;  // trimmed
    std::string name;    // CP852, trimmed
    double auxiliary = 0;
    double pay = 0;
    double deduction = 0;
};

struct ControlEmployee {
    int lp = 0;
    std::string number;
    std::string name;  // CP852
    std::vector<ControlLine> lines;
    double net = 0;  // "Do wypłaty"
};

/// The employees of the list with positions, by number, each with the
/// visible positions in the order of the components' symbols.
std::vector<ControlEmployee> ControlListOf(common::Runtime& rt, common::Tables& tables,
                                           const PayrollList& list);

struct ControlListEnd {
    int employees = 0;  // printed
    bool interrupted = false;
};

/// Prints the control list through `out` (narrow, 80 columns, a header
/// QRMNAGL2 on every page with the title "Kontrolny wydruk listy płac" and
/// the list's caption); `stop` is asked before each employee. The date of
/// the header is the working date.
ControlListEnd PrintControlList(common::Runtime& rt, common::Tables& tables,
                                const PayrollList& list, printing::PrintOutput& out,
                                const PrintStop& stop = nullptr);

}  // namespace kestrel::payroll
