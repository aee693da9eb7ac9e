// The pages of the employee record as forms over an EmployeeRecord.
//
// Every page is declared once as a list of labelled fields; the same list
// serves the entry of the registration and update dialogs (the Gets with
// their pictures, conditions and field checks) and the read-only display
// of a whole record (striking off, the browse's full information).
//
// Entry works on a copy: the record is changed only when the page is
// accepted (not on Esc). Dictionary codes are checked against their tables
// and show the name of the code beside the field.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_record.h"

namespace kestrel::registry {

enum class Page {
    kLegalPerson,  // legal person: names, NIP, foreign number, tax office, seat
    kIdentity,     // 1: identity and registration address
    kAddresses,    // 2: residence and correspondence addresses
    kEmployment,   // 3: employment (short or full form)
    kTax,          // 4: tax and deductions
    kTitle,        // 5: insurance title and disability (without the extra titles)
    kInsurance,    // 6: insurance flags and dates
    kIncapacity,   // 7: incapacity, occupation, education, special work, fund
    kReport,       // 8: change codes for the insurance office (and dismissal)
    kAllowances,   // 9: allowances and deductions (a list: see allowances.h)
};

/// The pages of a record of `kind` in their order; `short_card` gives a
/// non-staff person or a legal person the short employment form, which
/// ends the record after page 3. The lists of page 5 (additional titles)
/// and page 9 (allowances) are entered by their own routines
/// (insurance_titles.h, allowances.h); EnterPage takes page 9 as accepted.
std::vector<Page> PagesOf(EmployeeKind kind, bool short_card);

/// What ended a page.
enum class PageExit {
    kNext,       // accepted (Enter on the last field, PgDn, Ctrl+W)
    kPrevious,   // PgUp
    kEscape,     // Esc: nothing of the page was taken
    kSwitchCard  // F12 on the employment page: the short-card switch flips
};

/// The working state of a run of pages.
struct PageContext {
    common::Runtime& rt;
    common::Tables& tables;
    /// PKPRAC (for the duplicate PESEL search); may be null.
    dbf::WorkArea* prac = nullptr;
    /// PKKTYUB, for the list of additional titles under the title page;
    /// may be null (the list is then not shown).
    dbf::WorkArea* ktyub = nullptr;
    /// PKDOD, for the allowances page; may be null (the page is then empty).
    dbf::WorkArea* dod = nullptr;
    /// Record number of the record being edited (excluded from the PESEL
    /// search); 0 for none.
    uint32_t recno = 0;
    /// The update dialog: the dismissal fields on page 8, the birth date
    /// required for a person.
    bool update = false;
    /// Short employment form for non-staff persons and legal persons.
    bool short_card = false;
    /// Reference month of the seniority display.
    int ref_year = 0, ref_month = 0;
    /// When set, F11 calls it with the name of the field under the cursor
    /// (NAZWISKO, IMIONA and PESEL for the clear identity).
    std::function<void(const std::string& field)> field_history = nullptr;
    /// When set, a surname changed in its field (clear values, trimmed) must
    /// be confirmed before the cursor leaves it; false undoes the edit.
    std::function<bool(const std::string& before, const std::string& after)> confirm_surname =
        nullptr;
};

/// Entry of one page over `employee`; the record takes the values only
/// when the page is accepted.
PageExit EnterPage(PageContext& ctx, Page page, EmployeeRecord* employee);

/// Shows one page read-only and waits for a key: PgDn, Enter or Down give
/// kNext, PgUp or Up kPrevious, Esc kEscape.
PageExit ShowPage(PageContext& ctx, Page page, const EmployeeRecord& employee);

/// The whole record read-only, page by page in the registration order;
/// false when the operator left it with Esc.
bool ShowRecord(PageContext& ctx, const EmployeeRecord& employee);

/// The heading of a page (UTF-8), e.g. "Adres zamieszkania".
std::string PageTitle(Page page);

}  // namespace kestrel::registry
