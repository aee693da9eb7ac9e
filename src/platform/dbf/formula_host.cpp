#include "platform/dbf/formula_host.h"

#include "platform/dbf/formula_value.h"

namespace kestrel::dbf {

using formula::Value;

WorkArea* WorkspaceHost::Area(int number) {
    return number == 0 ? ws_.current() : ws_.Find(number);
}

bool WorkspaceHost::ResolveField(std::string_view alias, std::string_view field,
                                 formula::FieldRef* ref, bool* alias_open) {
    WorkArea* area = alias.empty() ? ws_.current() : ws_.Find(alias);
    *alias_open = area != nullptr;
    if (area == nullptr) return false;
    const int index = area->FieldIndex(field);
    if (index < 0) return false;
    ref->area = area->number();
    ref->field = index;
    ref->table = area->serial();
    return true;
}

bool WorkspaceHost::ReadField(const formula::FieldRef& ref, Value* out, formula::Error* error) {
    WorkArea* area = ws_.Find(ref.area);
    if (area == nullptr || area->serial() != ref.table) {
        // Closed since the reference was made, perhaps reopened with another
        // table: the caller resolves the name again.
        *error = formula::Error::Undefined(formula::ErrorKind::kUndefinedAlias, "");
        return false;
    }
    const Field& f = area->table().fields()[static_cast<size_t>(ref.field)];
    const Record* rec = area->eof() ? nullptr : &area->record();
    if (f.type == FieldType::kMemo && rec != nullptr) {
        std::string text;
        if (!area->ReadMemo(ref.field, &text).ok()) {
            *error = formula::Error::Host(
                "B\x88\xA5"
                "d odczytu memo " +
                f.name);
            return false;
        }
        *out = Value::String(text);
        return true;
    }
    *out = FieldValue(f, rec, ref.field);
    return true;
}

bool WorkspaceHost::Eof() {
    WorkArea* a = ws_.current();
    return a == nullptr || a->eof();
}

bool WorkspaceHost::Bof() {
    WorkArea* a = ws_.current();
    return a == nullptr || a->bof();
}

int64_t WorkspaceHost::RecNo() {
    WorkArea* a = ws_.current();
    return a == nullptr ? 0 : a->recno();
}

int64_t WorkspaceHost::RecCount() {
    WorkArea* a = ws_.current();
    return a == nullptr ? 0 : a->table().record_count();
}

bool WorkspaceHost::Deleted() {
    WorkArea* a = ws_.current();
    return a != nullptr && !a->eof() && a->deleted();
}

bool WorkspaceHost::Found() {
    WorkArea* a = ws_.current();
    return a != nullptr && a->found();
}

int WorkspaceHost::Select(std::string_view alias) {
    if (alias.empty()) return ws_.current() ? ws_.current_number() : 0;
    WorkArea* a = ws_.Find(alias);
    return a == nullptr ? 0 : a->number();
}

std::string WorkspaceHost::Alias(int area) {
    WorkArea* a = Area(area);
    return a == nullptr ? "" : a->alias();
}

bool WorkspaceHost::Seek(const Value& key, bool soft, bool last, bool* found,
                         formula::Error* error) {
    WorkArea* a = ws_.current();
    if (a == nullptr || a->order() == 0) {
        *error = formula::Error::Host("Brak indeksu dla dbseek()");
        return false;
    }
    std::string text;
    AppendKeyText(key, &text);
    if (!a->Seek(text, soft, last).ok()) {
        *error = formula::Error::Host(
            "B\x88\xA5"
            "d odczytu indeksu");
        return false;
    }
    *found = a->found();
    return true;
}

}  // namespace kestrel::dbf
