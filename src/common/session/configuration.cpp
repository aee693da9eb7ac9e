#include "common/session/configuration.h"

#include <cctype>
#include <cstdlib>

#include "platform/base/text.h"
#include "platform/dbf/record.h"

namespace kestrel::common {
namespace {

std::string Key(std::string_view name) {
    return base::AsciiUpper(name);
}

}  // namespace

bool RoundAsStored(memfile::MemValue* value) {
    if (value->type != memfile::MemValue::Type::kNumeric) return true;
    std::string stored;
    if (!dbf::FormatNumber(value->number, value->width, value->decimals, &stored)) return false;
    value->number = std::strtod(stored.c_str(), nullptr);
    return true;
}

const memfile::MemValue* Configuration::Find(std::string_view name) const {
    auto it = index_.find(Key(name));
    return it == index_.end() ? nullptr : &entries_[it->second].value;
}

bool Configuration::Has(std::string_view name, MemValue::Type type) const {
    const MemValue* v = Find(name);
    return v != nullptr && v->type == type;
}

std::string Configuration::Text(std::string_view name, std::string_view fallback) const {
    const MemValue* v = Find(name);
    return v && v->type == MemValue::Type::kChar ? v->text : std::string(fallback);
}

bool Configuration::Logical(std::string_view name, bool fallback) const {
    const MemValue* v = Find(name);
    return v && v->type == MemValue::Type::kLogical ? v->logical : fallback;
}

double Configuration::Number(std::string_view name, double fallback) const {
    const MemValue* v = Find(name);
    return v && v->type == MemValue::Type::kNumeric ? v->number : fallback;
}

void Configuration::Set(std::string_view name, MemValue value) {
    std::string key = Key(name);
    auto it = index_.find(key);
    if (it != index_.end()) {
        entries_[it->second].value = std::move(value);
        return;
    }
    index_.emplace(key, entries_.size());
    entries_.push_back({key, std::move(value)});
}

void Configuration::Remove(std::string_view name) {
    auto it = index_.find(Key(name));
    if (it == index_.end()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(it->second));
    Reindex();
}

void Configuration::Clear() {
    entries_.clear();
    index_.clear();
}

void Configuration::Assign(std::vector<memfile::MemEntry> entries) {
    entries_ = std::move(entries);
    Reindex();
}

void Configuration::Reindex() {
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) {
        // A name given twice: the later one wins, as a restore would leave it.
        index_[Key(entries_[i].name)] = i;
    }
}

}  // namespace kestrel::common
