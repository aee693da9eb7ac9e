// The company's configuration: the NAGL… variables restored from QRM.MEM,
// with the start-up defaults applied. Read everywhere through the runtime;
// changed by start-up, the parameter editor, the settings screens and the
// formulas the program runs.
//
// The values live in one place: the formula engine's table of public
// variables (variables()), which the program's formula Runtimes share
// (Runtime::formulas()). A formula reads a configuration variable as a
// public variable, and what it assigns to one, new or not, the program
// reads here. The typed view below converts at each call: C texts, L
// logicals, D dates (whole Julian days, 0 empty), N numbers, whose MEM width
// and decimals travel as the number's integer width and decimals (width =
// integer width + decimals + 1, or the integer width alone without
// decimals), so a restored entry is written back with its own width. Public
// variables holding NIL or an array are not configuration variables.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/formula/names.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::common {

/// Rounds a numeric value to its decimals as a numeric field of its width
/// would store it (the check that a configuration file is written with);
/// false when the number does not fit its width.
bool RoundAsStored(memfile::MemValue* value);

class Configuration {
  public:
    using MemValue = memfile::MemValue;

    /// The variable's value (names without regard to case, as far as their
    /// first ten characters), or nothing.
    std::optional<MemValue> Find(std::string_view name) const;
    /// True when the variable exists with the given type.
    bool Has(std::string_view name, MemValue::Type type) const;

    /// Typed reads; the fallback when the variable is absent or of another type.
    std::string Text(std::string_view name, std::string_view fallback = "") const;
    bool Logical(std::string_view name, bool fallback = false) const;
    double Number(std::string_view name, double fallback = 0) const;

    /// Defines or replaces a variable (a new one goes to the end).
    void Set(std::string_view name, MemValue value);
    void Remove(std::string_view name);
    void Clear();

    /// The variables in the order they were defined, as a MEM file holds
    /// them (names upper case).
    std::vector<memfile::MemEntry> entries() const;
    /// Replaces every variable (of a name given twice the later value wins).
    void Assign(std::vector<memfile::MemEntry> entries);

    /// The store itself, for the formula engine.
    formula::Variables& variables() { return vars_; }
    const formula::Variables& variables() const { return vars_; }

  private:
    formula::Variables vars_;
};

}  // namespace kestrel::common
