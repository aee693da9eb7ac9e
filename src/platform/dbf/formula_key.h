// Index keys and FOR conditions written in the formula language.
//
// The stored expression of an index is compiled by the formula engine once;
// the key function evaluates it over one record at a time through a table
// host that sees only that record (its fields by name, Deleted()). Functions
// the system adds for its keys (Polish collation, unscrambled names, ...)
// are registered on the runtime by `setup`.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/dbf/index.h"
#include "platform/formula/runtime.h"

namespace kestrel::dbf {

using RuntimeSetup = std::function<void(formula::Runtime& rt)>;

/// Compiles a key expression over the fields of a table (the function keeps
/// its own copy of `fields`). The key is the value as xBase stores it: text as
/// it is, a number as NumericKey of its width and decimals, a date as
/// "YYYYMMDD", a logical as "T"/"F". A value that cannot be computed for a
/// record gives a blank key. InvalidArgument carries the engine's message
/// (UTF-8).
Status CompileFormulaKey(const std::vector<Field>* fields, std::string_view text, KeyFunction* out,
                         const RuntimeSetup& setup = nullptr);
/// Compiles a condition; a blank text gives an empty function (no condition).
/// A record for which it cannot be computed is left out.
Status CompileFormulaCondition(const std::vector<Field>* fields, std::string_view text,
                               ForFunction* out, const RuntimeSetup& setup = nullptr);

}  // namespace kestrel::dbf
