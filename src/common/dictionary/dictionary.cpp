#include "common/dictionary/dictionary.h"

#include <cctype>

#include "platform/base/text.h"

namespace kestrel::common {

std::string CompleteKey(const Dictionary& d, std::string_view typed, int width) {
    std::string key = base::Trim(typed);
    if (key.empty()) return {};
    if (d.zero_pad && width == 2 && key.size() == 1 &&
        std::isdigit(static_cast<unsigned char>(key[0])))
        key.insert(0, 1, '0');
    key.resize(static_cast<size_t>(width), ' ');
    return key;
}

}  // namespace kestrel::common
