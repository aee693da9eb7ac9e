// The readable text of a print file, for looking at it on the screen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::printing {

/// The lines of print file contents `bytes` written for printer type
/// `type`, without their control sequences: ESC sequences (the PCL ones
/// with their parameters up to the closing capital, the dot-matrix ones
/// with their argument byte where they take one), FS with its argument,
/// other control bytes, and for type "V" the names in braces ("{YPR10}",
/// the job header "{VDOSPRT:title}"). Lines end at CR LF, a lone CR (the head
/// returns to print over the line) or LF; a form feed ends a line too.
std::vector<std::string> ReadableLines(std::string_view bytes, char type);

}  // namespace kestrel::printing
