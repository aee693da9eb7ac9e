// A small compiler for index keys and conditions over the fields of one
// table, without the formula engine (formula_key.h has the full language):
//   field names, "quoted text", numbers, .T. .F., parentheses, + (joins text,
//   adds numbers), ! .NOT. .AND. .OR., = == <> # < > <= >= and the
//   functions Str(n[,w[,d]]) StrZero(n,w[,d]) DToS(d) SubStr(s,from[,len])
//   Left(s,n) Right(s,n) Upper(s) Year(d) Month(d) Day(d) Empty(x)
//   Space(n) IIf(c,a,b) Descend(d) (of a date: 5231808 - Julian day, as a number).
// Names are case-insensitive and functions may be cut to four letters
// ("subs", "empt", "uppe"), as xBase allows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/index.h"
#include "platform/dbf/record.h"

namespace kestrel::dbf {

/// Compiles a key expression. Text keys are used as they are, numbers as
/// NumericKey of their width (a field's width, 10 otherwise), dates as
/// "YYYYMMDD" and logicals as "T"/"F". InvalidArgument names the fault.
Status CompileKey(const std::vector<Field>& fields, std::string_view text, KeyFunction* out);
/// Compiles a condition; an empty text gives an empty function (no condition).
Status CompileCondition(const std::vector<Field>& fields, std::string_view text, ForFunction* out);

}  // namespace kestrel::dbf
