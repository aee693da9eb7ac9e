#include "common/session/configuration.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/text.h"
#include "platform/dbf/record.h"
#include "platform/formula/number_format.h"

namespace kestrel::common {
namespace {

using formula::Value;
using memfile::MemValue;

Value ToFormula(const MemValue& v) {
    switch (v.type) {
        case MemValue::Type::kChar:
            return Value::String(v.text);
        case MemValue::Type::kNumeric:
            return Value::Number(v.number, v.decimals,
                                 v.width - (v.decimals > 0 ? v.decimals + 1 : 0));
        case MemValue::Type::kLogical:
            return Value::Logical(v.logical);
        case MemValue::Type::kDate:
            return Value::Date(static_cast<int32_t>(v.julian));
    }
    return Value();
}

// Nothing for NIL and arrays.
std::optional<MemValue> FromFormula(const Value& v) {
    switch (v.type()) {
        case formula::Type::kString:
            return MemValue::Char(v.str());
        case formula::Type::kNumber: {
            const int decimals = v.decimals();
            const int width = formula::IntegerWidth(v) + (decimals > 0 ? decimals + 1 : 0);
            return MemValue::Numeric(v.number(), std::min(width, 255), decimals);
        }
        case formula::Type::kLogical:
            return MemValue::Logical(v.logical());
        case formula::Type::kDate:
            return MemValue::Date(v.julian());
        default:
            return std::nullopt;
    }
}

}  // namespace

bool RoundAsStored(memfile::MemValue* value) {
    if (value->type != memfile::MemValue::Type::kNumeric) return true;
    std::string stored;
    if (!dbf::FormatNumber(value->number, value->width, value->decimals, &stored)) return false;
    value->number = std::strtod(stored.c_str(), nullptr);
    return true;
}

std::optional<memfile::MemValue> Configuration::Find(std::string_view name) const {
    const Value* v = vars_.Lookup(name);
    return v == nullptr ? std::nullopt : FromFormula(*v);
}

bool Configuration::Has(std::string_view name, MemValue::Type type) const {
    const std::optional<MemValue> v = Find(name);
    return v && v->type == type;
}

std::string Configuration::Text(std::string_view name, std::string_view fallback) const {
    const Value* v = vars_.Lookup(name);
    return v && v->IsString() ? v->str() : std::string(fallback);
}

bool Configuration::Logical(std::string_view name, bool fallback) const {
    const Value* v = vars_.Lookup(name);
    return v && v->IsLogical() ? v->logical() : fallback;
}

double Configuration::Number(std::string_view name, double fallback) const {
    const Value* v = vars_.Lookup(name);
    return v && v->IsNumber() ? v->number() : fallback;
}

void Configuration::Set(std::string_view name, MemValue value) {
    vars_.Set(name, ToFormula(value));
}

void Configuration::Remove(std::string_view name) {
    vars_.Release(name);
}

void Configuration::Clear() {
    vars_.ReleaseAll();
}

std::vector<memfile::MemEntry> Configuration::entries() const {
    std::vector<memfile::MemEntry> out;
    for (int i : vars_.defined()) {
        if (std::optional<MemValue> v = FromFormula(vars_.Get(i)))
            out.push_back({vars_.Name(i), std::move(*v)});
    }
    return out;
}

void Configuration::Assign(std::vector<memfile::MemEntry> entries) {
    Clear();
    for (memfile::MemEntry& e : entries) Set(e.name, std::move(e.value));
}

}  // namespace kestrel::common
