// Between table fields and formula values.
#pragma once

#include <string>

#include "platform/dbf/record.h"
#include "platform/formula/value.h"

namespace kestrel::dbf {

/// The value of field `index` of `rec` as a formula sees it: numbers with
/// the field's width and decimals, dates as Julian days, logicals, text as
/// stored (padding kept). A null record gives the field's empty value.
/// Memo fields give "" (their text lives in the DBT).
formula::Value FieldValue(const Field& field, const Record* rec, int index);

/// Appends a value as xBase puts it into an index key: text as it is, a
/// number as NumericKey of its width and decimals, a date as "YYYYMMDD", a
/// logical as "T"/"F"; NIL and arrays add nothing.
void AppendKeyText(const formula::Value& v, std::string* key);

}  // namespace kestrel::dbf
