// Upper case of the ASCII letters only: names of files, tables, fields and
// variables. Bytes above 127 (CP852 letters) are left as they are; the
// Polish letters have their own conversions in the letter sets.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::base {

inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

}  // namespace kestrel::base
