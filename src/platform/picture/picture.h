// The picture language of displayed and entered values.
//
// A picture is an optional function part ("@" and letters, ended by a blank)
// and a template. The one implementation of the program: data-entry forms,
// print-outs and the formula function transform() all come here.
//
// Functions (letters in either case):
//   E  numbers with a decimal comma and full stops between thousands
//   R  template literals are inserted into the text, not written over it
//   !  all letters in upper case
//   K  the first typed key clears the field (entry only)
//   S<n> the field is n characters wide on screen and scrolls (entry only)
//   Z  zero numbers as blanks
//   B  numbers left-justified
//   X  " DB" after negative numbers (three blanks after the others)
//   C  " CR" after positive numbers (three blanks after the others)
//   D  the date template "9999-99-99"
// Template characters: 9 digits (and the sign of numbers), # digits, blanks
// and the sign, A letters, N letters and digits, X anything, ! anything in
// upper case, L a logical letter, Y a yes/no letter; in number templates ","
// separates thousands (a blank while no digit stands left of it) and "." is
// the decimal point. Every other character is a literal.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/base/dates.h"

namespace kestrel::picture {

struct Picture {
    bool decimal_comma = false;    // @E
    bool insert_literals = false;  // @R
    bool upper = false;            // @!
    bool clear_on_key = false;     // @K
    int scroll_width = 0;          // @S<n>; 0 = the field's own width
    bool zero_blank = false;       // @Z
    bool left_justify = false;     // @B
    bool debit_mark = false;       // @X
    bool credit_mark = false;      // @C
    bool date = false;             // @D
    std::string tmpl;              // the template, "" when none
};

/// Reads a picture; unknown function letters are ignored.
Picture Parse(std::string_view text);

/// A calendar date; year 0 is the empty date.
using Date = base::Date;
using base::IsValidDate;

/// Maps each CP852 byte to its upper-case form. The platform knows only the
/// plain letters; the letter set in force supplies the Polish ones.
using CaseTable = std::array<unsigned char, 256>;
/// a-z to A-Z, every other byte unchanged.
const CaseTable& PlainUpper();

/// |x| rounded half away from zero to `decimals` places (0-15), as digits
/// with a decimal point ("1234.50"); a leading '-' when x < 0 and the
/// rounded value is not zero. Scales by 10^(decimals+1) first, so that 2.345
/// prints as 2.35.
std::string FormatFixed(double x, int decimals);

/// The template of a number of `width` characters with `decimals` places
/// when a picture has none: "999999.99".
std::string NumberTemplate(int width, int decimals);

/// A number through a picture. Without a template the number is written
/// right-aligned in `width` with `decimals` places (asterisks when it does
/// not fit). A value that does not fit the template gives asterisks with the
/// decimal point kept.
std::string FormatNumber(double x, const Picture& p, int width, int decimals);

/// Text through a picture: template positions take the next character
/// ("!" in upper case), literals are written over the text or, with @R,
/// inserted. Without a template the text is unchanged (upper-cased with @!).
std::string FormatText(std::string_view text, const Picture& p,
                       const CaseTable& upper = PlainUpper());

/// "YYYY-MM-DD"; "    -  -  " for the empty date.
std::string FormatDate(const Date& d);

/// One letter: `yes` or `no`, or "Y"/"N" with a Y template.
std::string FormatLogical(bool v, const Picture& p, char yes = 'T', char no = 'F');

}  // namespace kestrel::picture
