// Key parts of a fixed width, as the index keys of the tables hold them.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kestrel::base {

/// `s` cut or padded with blanks to `width` characters.
inline std::string Padded(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

}  // namespace kestrel::base
