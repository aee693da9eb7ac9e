// The algorithm tables of the insurance module as their editor sees them:
// a row per title group (or per key of more fields), the row's own fields
// (key parts, flags, texts) and its formulas, one memo per target field
// named like it, in the order the transfer computes them (WARUNEK_, the
// row's condition, first where the table has one).
//
// PKASKLD, PKAPDST, PKAOKRN, PKAZASL, PKASKWN and PKAWYNG feed the
// transfer 6.2; PKASPRZ holds the checks of 6.A.2. PKAWYNG has one row and
// no key. No screen here; texts are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace kestrel::insurance {

enum class AlgorithmKind {
    kContributions,  // PKASKLD
    kBenefits,       // PKAZASL
    kComponents,     // PKASKWN
    kTotals,         // PKAWYNG
    kBases,          // PKAPDST
    kPeriods,        // PKAOKRN
    kChecks,         // PKASPRZ
};

/// A field of a row shown in the editor's browse.
struct RowField {
    std::string field;
    std::string heading;
    std::string label;    // in the row's form: "Grupa tytułów:"
    std::string picture;  // text fields: "@!", "99"; "" for logicals
    bool key = false;     // a part of the row's key: asked for a new row only
};

struct AlgorithmTable {
    AlgorithmKind kind;
    std::string table;
    std::string index;  // "" for the table of one row
    std::vector<RowField> fields;
    std::vector<std::string> formulas;  // memo fields, in order
};

/// `ppk` adds KW_PPK_ZAK to PKASKLD (kept only when NAGLPPK20).
AlgorithmTable DescribeAlgorithms(AlgorithmKind kind, bool ppk = false);

/// The title of a formula's editor window: " ALG.: " + the field.
std::string FormulaTitle(const std::string& field);

}  // namespace kestrel::insurance
