#include "common/tables/index_order.h"

#include <string>

#include "platform/base/text.h"

namespace kestrel::common {

namespace {

// Whether the file name of `path`, upper-cased, begins with `name` and a
// full stop. Asked for every index on every change of order: no copies.
bool NamedAs(const std::string& path, std::string_view name) {
    const size_t slash = path.find_last_of('/');
    const size_t from = slash == std::string::npos ? 0 : slash + 1;
    if (path.size() - from < name.size() + 1) return false;
    for (size_t j = 0; j < name.size(); ++j)
        if (base::AsciiUpper(path[from + j]) != name[j]) return false;
    return path[from + name.size()] == '.';
}

}  // namespace

int OrderOf(dbf::WorkArea& area, std::string_view name) {
    for (size_t i = 0; i < area.index_count(); ++i)
        if (NamedAs(area.index(i).path(), name)) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace kestrel::common
