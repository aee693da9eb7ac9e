// TableHost: what formulas need from the open tables.
//
// The table engine implements this interface; the formula library knows
// nothing else about tables. Work areas are numbered from 1; 0 means "the
// current work area" wherever an area is passed. A FieldRef is opaque to
// the formula library: the host fills it in ResolveField() and gets it back
// in ReadField(). A program keeps its references after the table closes; the
// host tells such a stale reference from a live one (see ReadField).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/formula/error.h"
#include "platform/formula/value.h"

namespace kestrel::formula {

struct FieldRef {
    int area = 0;
    int field = 0;
    uint32_t table = 0;  // the host's identity of the table it was resolved against
};

class TableHost {
  public:
    virtual ~TableHost() = default;

    /// Resolves `alias->field`, or `field` in the current work area when
    /// `alias` is empty (names in any case). Returns true and fills *ref when
    /// the field exists. Otherwise returns false and sets *alias_open to
    /// whether the alias names an open table (always true for an empty alias
    /// while a table is selected).
    virtual bool ResolveField(std::string_view alias, std::string_view field, FieldRef* ref,
                              bool* alias_open) = 0;

    /// The current record's value of a resolved field: numbers with the
    /// field's width and decimals, text and memo fields as strings, dates as
    /// Julian days, logicals. An empty table yields the empty value of the
    /// field's type. Returns false with *error set when it cannot be read.
    /// When the table `ref` was resolved against is no longer open (its work
    /// area closed, perhaps reused by another table) the error is of kind
    /// kUndefinedAlias: the evaluator then resolves the field again by its
    /// name and alias, and never reads the other table's field in its place.
    virtual bool ReadField(const FieldRef& ref, Value* out, Error* error) = 0;

    // The table functions of the language, on the current work area.
    virtual bool Eof() = 0;
    virtual bool Bof() = 0;
    virtual int64_t RecNo() = 0;
    virtual int64_t RecCount() = 0;
    virtual bool Deleted() = 0;
    virtual bool Found() = 0;
    /// Number of the current work area, or of the area with `alias` open
    /// (0 when none); `alias` empty means the current one.
    virtual int Select(std::string_view alias) = 0;
    /// Alias of work area `area` (0 = current), upper case; "" when unused.
    virtual std::string Alias(int area) = 0;
    /// dbseek(key, soft, last) on the current area's controlling index.
    /// Returns false with *error set when the seek cannot be done.
    virtual bool Seek(const Value& key, bool soft, bool last, bool* found, Error* error) = 0;
};

}  // namespace kestrel::formula
