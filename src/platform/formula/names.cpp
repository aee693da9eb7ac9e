#include "platform/formula/names.h"

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
    const int i = Find(name);
    if (i < 0 || !entries_[i].defined) return false;
    *out = entries_[i].value;
    return true;
}

void Variables::Release(std::string_view name) {
    const int i = Find(name);
    if (i < 0) return;
    entries_[i].value = Value();
    entries_[i].defined = false;
}

void Variables::ReleaseAll() {
    for (Entry& e : entries_) {
        e.value = Value();
        e.defined = false;
    }
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
