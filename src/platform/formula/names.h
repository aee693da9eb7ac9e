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
/// formulas create by assignment). One table for the whole program, owned
/// by its configuration (common::Configuration), and shared by the Runtimes
/// the program creates, so that what a formula assigns the program reads
/// and the other way round. Compiled formulas refer to entries by index, so
/// entries are never removed, only released (made undefined again).
///
/// The table also owns the array pool of the formulas run over it (see
/// ArrayPool): the arrays they make, stored in its variables or not. It must
/// outlive the Runtimes that use it. Movable, not copyable (a move leaves
/// Runtimes over either table dangling).
class Variables {
  public:
    Variables() = default;
    Variables(Variables&&) noexcept = default;
    Variables& operator=(Variables&& other) noexcept;

    /// Index of `name`, creating an undefined entry when there is none.
    int Intern(std::string_view name);
    /// Index of `name`, or -1.
    int Find(std::string_view name) const;

    /// Defines (or redefines) a variable.
    void Set(std::string_view name, Value value) { Set(Intern(name), std::move(value)); }
    void Set(int index, Value value) {
        Entry& e = entries_[index];
        e.value = std::move(value);
        if (!e.defined) {
            e.defined = true;
            order_.push_back(index);
        }
    }
    /// The value of a defined variable; false when it is undefined.
    bool Get(std::string_view name, Value* out) const;
    /// The defined variable's value, or nullptr.
    const Value* Lookup(std::string_view name) const;

    bool IsDefined(int index) const { return entries_[index].defined; }
    const Value& Get(int index) const { return entries_[index].value; }
    const std::string& Name(int index) const { return entries_[index].name; }
    size_t size() const { return entries_.size(); }
    /// Indexes of the defined variables in the order they were defined (a
    /// redefinition keeps its place; one released and defined again goes
    /// to the end).
    const std::vector<int>& defined() const { return order_; }

    /// Makes one variable, or all, undefined again.
    void Release(std::string_view name);
    void ReleaseAll();

    /// The pool of the arrays formulas make over this table.
    ArrayPool& arrays() { return arrays_; }

  private:
    struct Entry {
        std::string name;
        Value value;
        bool defined = false;
    };
    // First, so that it ends after the values that hold its arrays.
    ArrayPool arrays_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int> index_;
    std::vector<int> order_;
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
