// The help box shown when the operating system refuses to open one more
// file (too many open files).
#pragma once

#include <string>

#include "common/session/runtime.h"

namespace kestrel::common {

/// Shows the full-screen box (rows 3-22) with "Plik: " + `file`, the
/// warning and one page of instructions per operating-system family, switched
/// with the left and right arrows (wrapping); returns when Esc is pressed,
/// with the screen restored. The caller abandons the operation.
void ShowTooManyFiles(Runtime& rt, const std::string& file);

}  // namespace kestrel::common
