// The formula functions of account numbers and of the bank files: what a
// bank's line formula needs to write a payment and to refuse a bad account.
//
//   nrb_ok(text)    .T. when the text is a Polish account number (NRB) of
//                   26 digits whose two check digits pass the international
//                   modulo-97 check for "PL"; blanks and dashes are skipped
//                   and a leading "PL" is allowed. Anything else, an empty
//                   text included, is .F. (never an error: a formula tests
//                   the employee's account with it).
//   nrb(text)       the 26 digits of such an account (blanks, dashes and
//                   "PL" taken off), "" when the text is not one.
//   ror_tekst(text [, n])  the text for a text field of a bank line: blanks
//                   at both ends cut, every double quote made an apostrophe
//                   (a quote would end the field), then cut into lines of 35
//                   characters joined by "|", at most n lines (default 4).
//   przerwij(text)  stops the formula with `text` as its error: the
//                   operator sees that text, and the run that evaluates the
//                   formula stops as on any error of a formula.
//   dky(text), dkz(text)  the clear value of a scrambled name or PESEL (as
//                   the table layer's index keys read them), for formulas
//                   that write an employee's name.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::formula {
class Runtime;
}

namespace kestrel::payroll {

/// The 26 digits of the account `text` when it passes the NRB check ("PL",
/// blanks and dashes skipped), "" otherwise.
std::string NrbDigits(std::string_view text);

/// ror_tekst() of `text` with at most `lines` lines.
std::string BankText(std::string_view text, int lines);

/// Registers the functions above with `engine` (DKY and DKZ only when the
/// engine has no function of that name yet).
void RegisterAccountFunctions(formula::Runtime& engine);

}  // namespace kestrel::payroll
