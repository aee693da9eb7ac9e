// The payslips of a payroll list as PDF documents, one per employee, for
// sending by e-mail.
//
// Each employee's payslip is the one layout P of the payroll list prints
// for him (the list's matrix of type 1, or the one named): it is written
// into its own print file for the printer in force and rendered into
// <company>/WYDRUKI/PASKI/<list>/<NR_PRAC>.pdf, <list> being
// PayslipDirectoryName (2026_12_A_1). A PDF appears under its final name
// only when it is complete (and encrypted, when asked): it is written under
// a temporary name and renamed. A run that completes removes the PDFs of
// the directory that belong to no employee of this run; an employee whose
// PDF could not be written loses the one an earlier run left, so after a
// run the directory holds no payslip older than the list, nor an
// unprotected one when protection was asked. A refusal before the first
// employee changes nothing.
//
// Protection (qpdf, AES-256) follows the company parameter NAGLPSHAS: "P"
// the employee's PESEL opens his payslip, "F" the company password
// NAGLPSHSL, anything else (blank, "N") no password. An employee without a
// PESEL when it is the password gets no PDF and a message naming him.
#pragma once

#include <string>
#include <vector>

#include "payroll/printouts/data/matrix_print.h"
#include "payroll/printouts/data/pdf_encryption.h"

namespace kestrel::payroll {

enum class PayslipPassword { kNone, kPesel, kCompany };

/// The rule of NAGLPSHAS ("P", "F", anything else none; any case).
PayslipPassword PayslipPasswordRule(const common::Configuration& config);

/// The directory name of a list: year, month (two digits), symbol and
/// number joined by "_" ("2026_12_A_1"); characters that are not letters
/// or digits of the symbol become "-".
std::string PayslipDirectoryName(const PayrollList& list);

/// <company>/WYDRUKI/PASKI/<list>/ (ends with "/").
std::string PayslipDirectory(const common::Runtime& rt, const PayrollList& list);

struct PayslipPdfRequest {
    PayrollList list;
    int sort = 1;        // as "Rodzaj sortu:" (1-5)
    std::string matrix;  // "" = TBW_ of the list symbol
    bool encrypt = false;
    PdfEncryption encryption;
};

struct PayslipPdfOutcome {
    /// What stopped the run (CP852): a refusal before any PDF was written,
    /// or a failure of the whole run; "" when every employee was tried.
    std::string message;
    bool interrupted = false;
    std::string directory;
    int employees = 0;  // employees whose payslip the list prints
    int written = 0;    // PDFs written
    /// One line per employee without his PDF (CP852), in print order.
    std::vector<std::string> failures;
};

/// Writes the payslips of `request.list`. With `encrypt` the password rule
/// must name a password ("Nie określono hasła pasków PDF (NAGLPSHAS)", for
/// "F" "Brak hasła pasków PDF (NAGLPSHSL)") and qpdf must run ("Brak
/// programu qpdf - paski nie mogą być zaszyfrowane"). The observer sees
/// each employee and may interrupt between employees.
PayslipPdfOutcome WritePayslipPdfs(common::Runtime& rt, common::Tables& tables,
                                   const PayslipPdfRequest& request, MatrixObserver* observer);

}  // namespace kestrel::payroll
