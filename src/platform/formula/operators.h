// The operators' meaning, as the xBase family defines it.
//
//   + - numbers; strings (a - b moves a's trailing blanks to the end of the
//       result); date + n, n + date, date - n give dates; date - date days.
//   * / % ^ numbers only. Division (and %) by zero gives 0, not an error.
//   = for strings compares only as many characters as the right operand has
//       ("abc" = "ab" is true, "ab" = "abc" false, "x" = "" true); == needs
//       equal length; != <> # are the negation of =. < <= > >= compare strings
//       the same prefix way, by byte value.
//   Comparing different types is an error, except that NIL equals only NIL.
//   $ is the substring test; "" $ x is false.
//
// Decimals of results: + - the larger of the operands', * their sum, / % ^
// kSetDecimals.
#pragma once

#include <algorithm>
#include <string>

#include "platform/formula/bytecode.h"
#include "platform/formula/error.h"
#include "platform/formula/number_format.h"
#include "platform/formula/value.h"

namespace kestrel::formula {

/// a := a <op> b for ADD SUB MUL DIV MOD POW. On a type error returns false
/// with *error set (Błędny argument oper.: "<op>").
bool Arithmetic(Op op, Value& a, const Value& b, Error* error);

/// a := a <op> b for EQ EQEQ NE LT LE GT GE IN, as a logical.
bool Comparison(Op op, Value& a, const Value& b, Error* error);

/// a := a <op> b for two numbers, the common case, inline (the evaluators
/// use it before Arithmetic() and Comparison()). False for the operators it
/// leaves to those two. `V` is a Value or the fast evaluator's register
/// copy of one (number(), decimals(), SetNumber(), SetLogical()).
template <class V>
[[gnu::always_inline]] inline bool NumberBinary(Op op, V& a, double b, int db) {
    const double x = a.number();
    const int da = a.decimals();
    switch (op) {
        case Op::kAdd:
            a.SetNumber(x + b, std::max(da, db));
            return true;
        case Op::kSub:
            a.SetNumber(x - b, std::max(da, db));
            return true;
        case Op::kMul:
            a.SetNumber(x * b, da + db);
            return true;
        case Op::kDiv:  // division by zero gives 0
            if (b == 0)
                a.SetNumber(0);
            else
                a.SetNumber(x / b, kSetDecimals);
            return true;
        case Op::kLt:
            a.SetLogical(x < b);
            return true;
        case Op::kLe:
            a.SetLogical(!(x > b));  // as Comparison(), also for NaN
            return true;
        case Op::kGt:
            a.SetLogical(x > b);
            return true;
        case Op::kGe:
            a.SetLogical(!(x < b));
            return true;
        default:
            return false;
    }
}

/// String comparison: <0, 0, >0. Not exact: equal as soon as `b` is used up.
int CompareStrings(const std::string& a, const std::string& b, bool exact);

/// The operator's spelling in messages ("+", "==", ".AND.") and its error
/// sub-code.
const char* OperatorText(Op op);
int OperatorErrorNumber(Op op);
Error OperatorError(Op op);

}  // namespace kestrel::formula
