// TEMPFILE: a free name for a temporary file.
#pragma once

#include <string>

#include "platform/base/clock.h"

namespace kestrel::common {

/// A free temporary name in `dir` (the current directory when empty): the
/// last 6 digits of the time of day in hundredths of a second, a counter of
/// 2 digits kept between calls (wrapping from 99 to 0) and a full stop; the
/// caller appends the extension. The name is tried by creating and deleting
/// the file; a name in use is skipped. "" when no file can be created there.
std::string TempFile(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::common
