// Names formulas use: public variables and host-declared slots.
//
// Names are not case-sensitive and, as in the xBase family, only their first
// ten characters count: NormalizeName() is the one place that says so.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/formula/value.h"

namespace kestrel::formula {

/// Upper case, cut to the first ten characters.
std::string NormalizeName(std::string_view name);

/// The public variables of a run (the NAGL... configuration, variables that
/// formulas create by assignment). One table, owned by the Runtime; compiled
/// formulas refer to entries by index, so entries are never removed, only
/// released (made undefined again).
class Variables {
  public:
    /// Index of `name`, creating an undefined entry when there is none.
    int Intern(std::string_view name);
    /// Index of `name`, or -1.
    int Find(std::string_view name) const;

    /// Defines (or redefines) a variable.
    void Set(std::string_view name, Value value) { Set(Intern(name), std::move(value)); }
    void Set(int index, Value value) {
        entries_[index].value = std::move(value);
        entries_[index].defined = true;
    }
    /// The value of a defined variable; false when it is undefined.
    bool Get(std::string_view name, Value* out) const;

    bool IsDefined(int index) const { return entries_[index].defined; }
    const Value& Get(int index) const { return entries_[index].value; }
    const std::string& Name(int index) const { return entries_[index].name; }
    size_t size() const { return entries_.size(); }

    /// Makes one variable, or all, undefined again.
    void Release(std::string_view name);
    void ReleaseAll();

  private:
    struct Entry {
        std::string name;
        Value value;
        bool defined = false;
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int> index_;
};

/// Names the host binds to slots: slot i of the vector bound with
/// Runtime::BindSlots() is the value of the i-th declared name. Declare all
/// names before compiling the formulas that use them.
class SlotLayout {
  public:
    /// Slot of `name`; declaring a name twice returns its first slot.
    int Declare(std::string_view name);
    /// Slot of `name`, or -1.
    int Find(std::string_view name) const;
    const std::string& Name(int slot) const { return names_[slot]; }
    size_t size() const { return names_.size(); }

  private:
    std::vector<std::string> names_;
    std::unordered_map<std::string, int> index_;
};

}  // namespace kestrel::formula
