#include "platform/formula/transform.h"

#include "platform/formula/date.h"
#include "platform/formula/number_format.h"
#include "platform/picture/picture.h"

namespace kestrel::formula {

std::string TransformNumber(const Value& v, std::string_view picture) {
    const picture::Picture p = picture::Parse(picture);
    // Without a template the number prints as str() would print it.
    const int width = p.tmpl.empty() ? static_cast<int>(StrDefault(v).size()) : 0;
    return picture::FormatNumber(v.number(), p, width, v.decimals());
}

std::string TransformString(std::string_view text, std::string_view picture) {
    return picture::FormatText(text, picture::Parse(picture));
}

bool TransformValue(const Value& v, std::string_view picture, std::string* out) {
    switch (v.type()) {
        case Type::kNumber:
            *out = TransformNumber(v, picture);
            return true;
        case Type::kString:
            *out = TransformString(v.str(), picture);
            return true;
        case Type::kDate:
            *out = Dtoc(v.julian());
            return true;
        case Type::kLogical:
            *out = picture::FormatLogical(v.logical(), picture::Parse(picture));
            return true;
        case Type::kNil:
            out->clear();
            return true;
        case Type::kArray:
            return false;
    }
    return false;
}

}  // namespace kestrel::formula
