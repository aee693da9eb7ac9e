// The allowed values of the form-position fields of the income kinds
// (PKRDOCH, menu 8.2): for a field, the rows of the official form version it
// names, each with its label and the source the rows were read from. They
// are shipped as data (data/tax_form_rows.txt, built into the program); a
// field without rows there is not checked.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrel::payroll {

/// The rows one PKRDOCH field may name.
struct TaxFormRows {
    std::string field;   // "LP_PIT8CN"
    std::string form;    // "PIT-8C (10)"
    std::string source;  // address and title of what the rows were read from
    std::vector<std::pair<std::string, std::string>> rows;  // value, label
};

/// Reads blocks "FIELD name form", "SOURCE text", "ROW value label"; lines
/// that are blank or begin with "#" are skipped. False, with "line N:
/// reason" in `*error` and `*out` empty, for an unknown line, a SOURCE or
/// ROW outside a block, a ROW before the block's SOURCE, a ROW without a
/// label, a value longer than three characters or repeated in its block, a
/// second block of one field, or a block without rows.
bool ParseTaxFormRows(std::string_view text, std::vector<TaxFormRows>* out, std::string* error);

/// The text of the shipped file (data/tax_form_rows.txt).
std::string_view ShippedTaxFormRowsText();

/// The shipped blocks. A shipped file that does not parse is a build fault;
/// its test catches it, and the program then checks no field.
const std::vector<TaxFormRows>& ShippedTaxFormRows();

/// The block of `field` in `all`, or nullptr.
const TaxFormRows* FindTaxFormRows(const std::vector<TaxFormRows>& all, std::string_view field);

/// True when `value` (trailing blanks ignored) is blank or one of the rows.
bool TaxFormRowAllowed(const TaxFormRows& rows, std::string_view value);

/// The values of `rows`, blank first, for the <F3> list.
std::vector<std::string> TaxFormRowValues(const TaxFormRows& rows);

}  // namespace kestrel::payroll
