#include "platform/formula/names.h"

#include <algorithm>
#include <cctype>

#include "platform/base/text.h"

namespace kestrel::formula {

std::string NormalizeName(std::string_view name) {
    return base::AsciiUpper(name.substr(0, 10));
}

int Variables::Intern(std::string_view name) {
    std::string key = NormalizeName(name);
    auto it = index_.find(key);
    if (it != index_.end()) return it->second;
    const int i = static_cast<int>(entries_.size());
    entries_.push_back(Entry{key, Value(), false});
    index_.emplace(std::move(key), i);
    return i;
}

int Variables::Find(std::string_view name) const {
    auto it = index_.find(NormalizeName(name));
    return it == index_.end() ? -1 : it->second;
}

bool Variables::Get(std::string_view name, Value* out) const {
    const Value* v = Lookup(name);
    if (v == nullptr) return false;
    *out = *v;
    return true;
}

const Value* Variables::Lookup(std::string_view name) const {
    const int i = Find(name);
    return i < 0 || !entries_[i].defined ? nullptr : &entries_[i].value;
}

void Variables::Release(std::string_view name) {
    const int i = Find(name);
    if (i < 0 || !entries_[i].defined) return;
    entries_[i].value = Value();
    entries_[i].defined = false;
    order_.erase(std::find(order_.begin(), order_.end(), i));
}

Variables& Variables::operator=(Variables&& other) noexcept {
    if (this == &other) return *this;
    // This table's values go first, so that its pool frees what they held.
    entries_.clear();
    arrays_ = std::move(other.arrays_);
    entries_ = std::move(other.entries_);
    index_ = std::move(other.index_);
    order_ = std::move(other.order_);
    return *this;
}

void Variables::ReleaseAll() {
    for (Entry& e : entries_) {
        e.value = Value();
        e.defined = false;
    }
    order_.clear();
    arrays_.Collect();
}

int SlotLayout::Declare(std::string_view name) {
    std::string key = NormalizeName(name);
    auto it = index_.find(key);
    if (it != index_.end()) return it->second;
    const int i = static_cast<int>(names_.size());
    names_.push_back(key);
    index_.emplace(std::move(key), i);
    return i;
}

int SlotLayout::Find(std::string_view name) const {
    auto it = index_.find(NormalizeName(name));
    return it == index_.end() ? -1 : it->second;
}

}  // namespace kestrel::formula
