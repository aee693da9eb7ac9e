// The payroll list (4.8.3) written into a print file: by the list's matrix
// (layout Z, the summary; P, the payslips), in amount columns without a
// matrix (B), or on confidential envelopes of the first (1) or second (2)
// kind; then "Słownie złotych do wypłaty:" with the list's net pay in words
// and, when asked for, the denominations the net pay is paid in.
#pragma once

#include <string>
#include <vector>

#include "payroll/printouts/data/matrix_print.h"

namespace kestrel::payroll {

struct PayrollListRequest {
    PayrollList list;
    char layout = 'Z';  // 'Z', 'P', 'B', '1', '2'
    int sort = 1;       // 1 numbers, 2 names, 3 brigades, 4 departments, 5 algorithm groups
    bool denominations = false;
    std::string matrix;  // the matrix of Z and P; "" = TBW_ of the list symbol
    /// The annual archive directory ("ARCH2024") the list is read from; ""
    /// for the working tables.
    std::string archive;
};

struct PayrollListOutcome {
    std::string message;  // what stopped the printout; "" when it was printed
    bool interrupted = false;
    int employees = 0;
};

/// Every list of PKLISTY (deleted records skipped), the newest first: by
/// year, month and payment date descending. None without PKLISTY.
std::vector<PayrollList> AllLists(common::Tables& tables);
/// The same of the PKLISTY of annual archive `archive` ("" for the working
/// tables); a table the archive lacks abandons (OpenArchived).
std::vector<PayrollList> AllLists(common::Tables& tables, const std::string& archive);

/// The sort of the "Rodzaj sortu:" answer (1-5).
MatrixSort ListSort(int sort);

/// The matrix of layout B, made from the list symbol and the components:
/// the number and name (and father's name with IM_OJCA) in the first row,
/// then the components marked DRUK_ (by SEKW_WYDR; every component that is
/// not auxiliary when none is marked) IL_KOL_WYD (3 to 5) to a row, and
/// "Do wypłaty" (the amounts not auxiliary, deductions subtracted). Every
/// amount is totalled. Its title is NAZWA_WYDR (the symbol's name when
/// blank).
MatrixDefinition ColumnsMatrix(common::Runtime& rt, const ListSymbol& symbol,
                               const std::vector<Component>& components);

/// The matrix of an envelope: kind 1 one component to a line, kind 2 two
/// (the printed components as for layout B), zero amounts left blank, the
/// net pay last.
MatrixDefinition EnvelopeMatrix(common::Runtime& rt, char kind,
                                const std::vector<Component>& components);

/// The matrix request of `request` for the engine: its list, sort, layout
/// and subtitle, and the matrix of Z and P (the list symbol's TBW_ unless
/// the request names one) or, for B, 1 and 2, the matrix made into *made,
/// which must outlive the request. "" when the request is ready, else
/// "Błędny symbol listy płac" or "Brak definicji tabulogramu" (CP852).
std::string ListMatrixRequest(common::Runtime& rt, common::Tables& tables,
                              const PayrollListRequest& request, MatrixRequest* r,
                              MatrixDefinition* made);

/// Prints the list into `out` (open). The list symbol must exist ("Błędny
/// symbol listy płac"); Z and P need a matrix of type 1 ("Brak definicji
/// tabulogramu" when the symbol names none). A list of an archive is read
/// with the archive's year tables (ArchivedYear) and the company's
/// register, components, symbols and matrices; an archive lacking one of
/// its tables gives "Brak pliku ARCH2024/PKPLACE.DBF". Messages are CP852.
PayrollListOutcome PrintPayrollList(common::Runtime& rt, common::Tables& tables,
                                    const PayrollListRequest& request, printing::PrintOutput& out,
                                    MatrixObserver* observer);

}  // namespace kestrel::payroll
