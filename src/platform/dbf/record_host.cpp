#include "platform/dbf/record_host.h"

#include "platform/dbf/formula_value.h"
#include "platform/formula/names.h"

namespace kestrel::dbf {

bool RecordHost::ResolveField(std::string_view alias, std::string_view field,
                              formula::FieldRef* ref, bool* alias_open) {
    *alias_open = alias.empty();
    if (!alias.empty()) return false;
    const std::string name = formula::NormalizeName(field);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name == name) {
            *ref = formula::FieldRef{1, static_cast<int>(i)};
            return true;
        }
    }
    return false;
}

bool RecordHost::ReadField(const formula::FieldRef& ref, formula::Value* out, formula::Error*) {
    // Keys never read memo texts: a memo field is "" here.
    *out = FieldValue(fields_[static_cast<size_t>(ref.field)], rec_, ref.field);
    return true;
}

bool RecordHost::Seek(const formula::Value&, bool, bool, bool*, formula::Error* error) {
    *error = formula::Error::Host("Brak indeksu");
    return false;
}

}  // namespace kestrel::dbf
