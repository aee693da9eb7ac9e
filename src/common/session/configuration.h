// The company's configuration: the NAGL… variables restored from QRM.MEM,
// with the start-up defaults applied. Read everywhere through the runtime;
// changed only by start-up, the parameter editor and the settings screens.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/memfile/mem_file.h"

namespace kestrel::common {

/// Rounds a numeric value to its decimals as a numeric field of its width
/// would store it (the check that a configuration file is written with);
/// false when the number does not fit its width.
bool RoundAsStored(memfile::MemValue* value);

class Configuration {
  public:
    using MemValue = memfile::MemValue;

    /// The variable's value (names without regard to case), or nullptr.
    const MemValue* Find(std::string_view name) const;
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

    /// The variables in their order.
    const std::vector<memfile::MemEntry>& entries() const { return entries_; }
    void Assign(std::vector<memfile::MemEntry> entries);

  private:
    void Reindex();

    std::vector<memfile::MemEntry> entries_;
    std::unordered_map<std::string, size_t> index_;  // upper-case name -> position
};

}  // namespace kestrel::common
