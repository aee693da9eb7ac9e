// Where the fields of the employee record stand on its pages and how each
// is checked at entry. Used by employee_pages.cpp only.
#pragma once

#include <string>
#include <vector>

#include "register/data/employee_field_checks.h"
#include "register/employee_pages.h"

namespace kestrel::registry {

// The checks are the register data layer's (employee_field_checks.h).
using Check = FieldCheck;

struct PageField {
    PageField(int r, int c, std::string l, std::string f, Check k = Check::kNone,
              std::string pic = "", std::string ch = "", int b = 0, int vc = 0, int w = 0)
        : row(r),
          col(c),
          label(std::move(l)),
          field(std::move(f)),
          check(k),
          picture(std::move(pic)),
          choices(std::move(ch)),
          beside(b),
          value_col(vc),
          width(w) {}

    int row = 0, col = 0;
    std::string label;  // UTF-8, "" for none
    /// A PKPRAC field, or NAZWISKO, IMIONA, PESEL for the clear identity.
    std::string field;
    Check check = Check::kNone;
    std::string picture;
    std::string choices;  // see Check
    int beside = 0;       // room for the text beside the field (0: 21)
    int value_col = 0;    // the value's column (0: after the label)
    int width = 0;        // shown width of a text (0: the field's)
};

struct PageLabel {
    int row = 0, col = 0;
    std::string text;  // UTF-8
};

/// The fields of `page` for a record of `kind`; `dismissal` adds the
/// end-of-employment fields to page 8.
std::vector<PageField> FieldsOf(Page page, EmployeeKind kind, const PageContext& ctx,
                                bool dismissal);
/// Headings and fixed texts of the page.
std::vector<PageLabel> LabelsOf(Page page, EmployeeKind kind, const PageContext& ctx);

}  // namespace kestrel::registry
