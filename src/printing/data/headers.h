// Page headers of print-outs, written through the print-out's output with
// the control variables and company lines of the configuration (NAGL1 the
// company's short name, NAGL2-NAGL4 the lines of its stamp, NAGL12 its
// town) and the working date.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"

namespace kestrel::printing {

/// QRMNAGL: the wide header (136 columns) at rows 0-2 and the title from
/// row 3, each line of it centred, underlined and bold. `page` 0 prints no
/// page number. Texts are CP852.
void Qrmnagl(common::Runtime& rt, PrintOutput& out, int page, std::string_view title);

/// QRMNAGL2: the narrow header (80 columns). A stamp line longer than the
/// header pushes the page number right instead of failing. A title of 79
/// or 80 characters is printed as it is, any other is wrapped at 78 and
/// centred.
void Qrmnagl2(common::Runtime& rt, PrintOutput& out, int page, std::string_view title);

/// QRMNAGL3: at the current row, the stamp line with the town and the
/// date filling 78 columns, the company lines, an empty line.
void Qrmnagl3(common::Runtime& rt, PrintOutput& out);

/// The lines of `text` wrapped at `width` (at a blank where there is one).
std::vector<std::string> WrapTitle(std::string_view text, size_t width);

}  // namespace kestrel::printing
