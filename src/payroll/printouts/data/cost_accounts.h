// The monthly summary by cost accounts (matrix type 6) on the print-matrix
// engine: the lists of the month (list month, the current tables), the
// matrix's cells of every employee added up per cost account of the
// register (KONTO_KOSZ), one total line per account and a line per coarser
// summing level, then "RAZEM:". SUMA_ columns are added; WZOR_SUMY cells
// evaluate their formula over the summed components of the line.
//
// The account of an employee is KONTO_KOSZ without its left blanks; the
// first `chars` characters of it form the account of the summary (a shorter
// account is its own line, "501" is not "501001"; an employee without an
// account goes to the one line "Bez konta kosztów:"). The coarser levels cut the
// account at the segments of the account mask NAGLMSKON ("@R 999-999999999":
// 3 characters); a mask without a separator cuts at 3 characters (the
// synthetic account) and at 1 (its class). Only cuts shorter than the level
// before them count, so fewer levels may be printed than asked for. The
// labels show the account through the mask: "Konto 501-001:", "Razem konto
// 501:" (NAZWA_SUMY in place of "Razem konto" when the matrix has one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "payroll/data/payroll_host.h"
#include "payroll/printouts/data/matrix_print.h"
#include "payroll/printouts/data/payroll_list_print.h"

namespace kestrel::payroll {

struct CostAccountRequest {
    std::string matrix;  // TBW_ of a matrix of type 6
    YearMonth month;     // the list month
    int chars = 12;      // "Ilość pierwszych znaków konta do sumowania" (1-12)
    int levels = 1;      // "Ilość poziomów sumowania:" (1-3)
};

/// The characters of the account per summing level, finest first:
/// `chars` (clamped to 1-12), then the cuts of `mask` shorter than it,
/// longest first, at most `levels` in all (at least 1).
std::vector<int> AccountLevels(std::string_view mask, int chars, int levels);

/// `prefix` (the first characters of an account) through the account mask,
/// trailing blanks and the separators after the last character dropped:
/// "501   " through "@R 999-999999999" is "501".
std::string MaskedPrefix(std::string_view mask, std::string_view prefix);

/// Prints the summary into `out` (open). "Brak list płac w podanym
/// okresie" when the month has no list; the engine's messages otherwise
/// ("Błędny typ tabulogramu" for a matrix of another type).
PayrollListOutcome PrintCostAccounts(common::Runtime& rt, common::Tables& tables,
                                     const CostAccountRequest& request, printing::PrintOutput& out,
                                     MatrixObserver* observer);

}  // namespace kestrel::payroll
