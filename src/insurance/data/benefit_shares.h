// The amount of a benefit line of PKZASIL when one payroll component pays
// several absences of the month: each line declares its own absences' share
// of the component, and the shares of all the lines add up to the
// component to the grosz, so no amount is declared twice or lost.
//
// The absences that make lines in a title group are taken in the order the
// lines are written; each has its days (ILOSC_ of PKNIEOB). With D the days
// of the absences the component pays, and C(k) the days of those absences
// up to and including the k-th, the k-th absence's share of amount A is
//   round(A * C(k) / D) - round(A * C(k-1) / D)        (to 2 decimals)
// so the shares telescope to round(A) whatever the rounding of each one.
// A line of several absences (RAZ_NA_MC) declares the sum of their shares.
//
// The benefit rows' formulas reach it as UDZIALNB(amount, codes): `codes` is
// the comma-separated list of the absence codes the component pays (as
// LISTA_NB is written: blanks around a code ignored, case ignored). Outside
// a benefit line, or for a line none of whose absences has one of the
// codes, the share is 0.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::formula {
class Runtime;
}

namespace kestrel::insurance {

/// One absence that makes (or joins) a benefit line.
struct ServedAbsence {
    uint32_t recno = 0;  // record of PKNIEOB
    std::string code;    // its own code, four characters
    double days = 0;     // ILOSC_
};

/// The benefit line being written, as UDZIALNB sees it.
struct BenefitLineContext {
    std::vector<ServedAbsence> served;  // every absence of the group's lines, in line order
    std::set<uint32_t> line;            // the absences of the line being written; empty outside
};

/// The share of `amount` that falls to the absences of `context.line` among
/// the served absences whose code is in `codes` (four characters each).
double BenefitShare(double amount, const BenefitLineContext& context,
                    const std::set<std::string>& codes);

/// Registers UDZIALNB(amount, codes) on `engine`, reading `context` (which
/// must outlive the engine's use). A first argument that is not a number or
/// a second that is not text fails with the engine's argument error.
void RegisterBenefitShare(formula::Runtime& engine, const BenefitLineContext* context);

}  // namespace kestrel::insurance
