// What the payroll printouts without matrix share: amounts as they print,
// the employees' names, and the page rows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// The rows of a page below which a printout starts the next one.
inline constexpr int kPrintoutPageRows = 60;

/// Asked between the employees of a printout: true stops it (the screens
/// ask "Przerwać wydruk?" after Esc; the command line never stops).
using PrintStop = std::function<bool()>;

/// An amount through "@E 9,999,999.99" (12 characters, decimal comma,
/// blanks for thousands), "" when `blank_zero` and the amount is 0.
std::string Amount(double value, bool blank_zero = false);

/// `text` cut or padded to `width` (CP852 bytes).
std::string Fit(std::string_view text, size_t width);

/// The names of the register (PKPRAC), read by employee number.
class EmployeeNames {
  public:
    explicit EmployeeNames(common::Tables& tables);

    /// "SURNAME FIRST NAMES" of the clear fields (CP852, trimmed), "" when
    /// the register has no such employee.
    std::string Of(std::string_view number);
    /// The department (DZIAL_) of the employee, "" when none.
    std::string Department(std::string_view number);

  private:
    bool Seek(std::string_view number);
    dbf::WorkArea* area_ = nullptr;
};

}  // namespace kestrel::payroll
