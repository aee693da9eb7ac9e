// What the update and the striking off share: the question for an
// employee number ("   Nr pracownika:" with the register's pick window) and
// the record shown page by page under the dialog's title.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/employee_pages.h"

namespace kestrel::registry {

inline constexpr int kNumberRow = 6;

/// Asks "   Nr pracownika:" at row 6 column 9 (typed at column 27) with
/// "<F3>-Kartoteka pracowników" and "<F10>-Koniec" on row 21. The typed
/// number is normalised to six digits; "000000" and text that is not a
/// number are refused with a tone. F3 opens the register's pick window
/// (PKPRAC must be open in `tables` with PKPRAC1 and PKPRAC2). Returns the
/// number, or "" when the operator ended with F10 or Esc.
std::string AskEmployeeNumber(common::Runtime& rt, common::Tables& tables);

/// Row 5 of a page: the dialog's `title` (UTF-8) at column 22, "Strona:"
/// and the page number at column 69 and, at column 1, "<PageDown>",
/// "<PageUp/PageDown>" or "<PageUp>" by where the page stands among `count`.
void PageHeader(common::Runtime& rt, std::string_view title, size_t page, size_t count);

/// The whole record read-only, page by page in the registration order,
/// under PageHeader: PgDn, Enter and Down go on, PgUp and Up back. True
/// when the operator went past the last page, false on Esc.
bool ShowEmployee(PageContext& ctx, const EmployeeRecord& employee, std::string_view title);

}  // namespace kestrel::registry
