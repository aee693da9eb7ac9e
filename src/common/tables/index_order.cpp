#include "common/tables/index_order.h"

#include <string>

#include "platform/base/text.h"

namespace kestrel::common {

int OrderOf(dbf::WorkArea& area, std::string_view name) {
    for (size_t i = 0; i < area.index_count(); ++i) {
        const std::string& path = area.index(i).path();
        const size_t slash = path.find_last_of('/');
        std::string file = path.substr(slash == std::string::npos ? 0 : slash + 1);
        file = base::AsciiUpper(file);
        if (file.rfind(std::string(name) + ".", 0) == 0) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace kestrel::common
