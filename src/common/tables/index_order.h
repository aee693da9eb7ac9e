// Which index of a work area was read from a given index file.
#pragma once

#include <string_view>

#include "platform/dbf/work_area.h"

namespace kestrel::common {

/// The order (1-based) of `area`'s index read from index file `name`
/// ("PKURZ2"), 0 when the area has no such index.
int OrderOf(dbf::WorkArea& area, std::string_view name);

}  // namespace kestrel::common
