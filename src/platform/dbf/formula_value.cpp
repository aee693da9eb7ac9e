#include "platform/dbf/formula_value.h"

#include "platform/dbf/index.h"
#include "platform/formula/date.h"

namespace kestrel::dbf {

using formula::Value;

Value FieldValue(const Field& f, const Record* rec, int i) {
    switch (f.type) {
        case FieldType::kNumeric:
            return Value::Number(rec ? rec->GetNumber(i) : 0, f.decimals,
                                 f.length - (f.decimals > 0 ? f.decimals + 1 : 0));
        case FieldType::kDate:
            return Value::Date(rec ? formula::Stod(rec->GetDate(i)) : 0);
        case FieldType::kLogical:
            return Value::Logical(rec && rec->GetLogical(i));
        case FieldType::kMemo:
            return Value::String("");
        default:
            return Value::String(rec ? rec->Raw(i) : std::string(f.length, ' '));
    }
}

void AppendKeyText(const Value& v, std::string* key) {
    switch (v.type()) {
        case formula::Type::kString:
            key->append(v.str());
            break;
        case formula::Type::kNumber: {
            int width = v.width() > 0 ? v.width() : 10;
            if (v.decimals() > 0) width += v.decimals() + 1;
            key->append(NumericKey(v.number(), width, v.decimals()));
            break;
        }
        case formula::Type::kDate:
            key->append(formula::Dtos(v.julian()));
            break;
        case formula::Type::kLogical:
            key->push_back(v.logical() ? 'T' : 'F');
            break;
        default:
            break;  // NIL or an array: a blank key
    }
}

}  // namespace kestrel::dbf
