#include "platform/formula/memory_host.h"

#include "platform/formula/names.h"

namespace kestrel::formula {

Value EmptyFieldValue(const MemoryTableHost::Field& f) {
    switch (f.type) {
        case 'C':
            return Value::String(std::string(static_cast<size_t>(f.length), ' '));
        case 'N':
            return Value::Number(0, f.decimals, f.length - (f.decimals > 0 ? f.decimals + 1 : 0));
        case 'D':
            return Value::Date(0);
        case 'L':
            return Value::Logical(false);
        default:
            return Value::String("");
    }
}

int MemoryTableHost::AddTable(Table table) {
    table.alias = NormalizeName(table.alias);
    for (Field& f : table.fields) f.name = NormalizeName(f.name);
    areas_.push_back(Area{std::move(table), 1});
    current_ = static_cast<int>(areas_.size());
    return current_;
}

bool MemoryTableHost::SelectArea(std::string_view alias) {
    const int area = Select(alias);
    if (area == 0) return false;
    current_ = area;
    return true;
}

void MemoryTableHost::GoTo(int area, int64_t recno) {
    if (area == 0) area = current_;
    if (area < 1 || area > static_cast<int>(areas_.size())) return;
    const int64_t count = static_cast<int64_t>(areas_[area - 1].table.records.size());
    areas_[area - 1].recno = recno < 1 ? 1 : (recno > count ? count + 1 : recno);
}

MemoryTableHost::Area* MemoryTableHost::Current() {
    return current_ == 0 ? nullptr : &areas_[current_ - 1];
}

bool MemoryTableHost::ResolveField(std::string_view alias, std::string_view field, FieldRef* ref,
                                   bool* alias_open) {
    const int area = alias.empty() ? current_ : Select(alias);
    *alias_open = area != 0;
    if (area == 0) return false;
    const std::string name = NormalizeName(field);
    const auto& fields = areas_[area - 1].table.fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) {
            *ref = FieldRef{area, static_cast<int>(i)};
            return true;
        }
    }
    return false;
}

bool MemoryTableHost::ReadField(const FieldRef& ref, Value* out, Error*) {
    const Area& a = areas_[ref.area - 1];
    const auto& records = a.table.records;
    if (a.recno < 1 || a.recno > static_cast<int64_t>(records.size())) {
        *out = EmptyFieldValue(a.table.fields[ref.field]);
    } else {
        *out = records[a.recno - 1][ref.field];
    }
    return true;
}

bool MemoryTableHost::Eof() {
    const Area* a = Current();
    return a == nullptr || a->recno > static_cast<int64_t>(a->table.records.size());
}

bool MemoryTableHost::Bof() {
    const Area* a = Current();
    return a == nullptr || a->table.records.empty();
}

int64_t MemoryTableHost::RecNo() {
    const Area* a = Current();
    return a == nullptr ? 0 : a->recno;
}

int64_t MemoryTableHost::RecCount() {
    const Area* a = Current();
    return a == nullptr ? 0 : static_cast<int64_t>(a->table.records.size());
}

bool MemoryTableHost::Deleted() {
    const Area* a = Current();
    if (a == nullptr || a->recno < 1 || a->recno > static_cast<int64_t>(a->table.deleted.size()))
        return false;
    return a->table.deleted[a->recno - 1];
}

int MemoryTableHost::Select(std::string_view alias) {
    if (alias.empty()) return current_;
    const std::string name = NormalizeName(alias);
    for (size_t i = 0; i < areas_.size(); ++i) {
        if (areas_[i].table.alias == name) return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string MemoryTableHost::Alias(int area) {
    if (area == 0) area = current_;
    if (area < 1 || area > static_cast<int>(areas_.size())) return std::string();
    return areas_[area - 1].table.alias;
}

bool MemoryTableHost::Seek(const Value&, bool, bool, bool*, Error* error) {
    *error = Error::Operation("DBSEEK", 2020, "No index");
    return false;
}

}  // namespace kestrel::formula
