#include "printing/data/spool_text.h"

#include <cstring>

namespace kestrel::printing {
namespace {

constexpr char kEsc = '\x1b';
constexpr char kFs = '\x1c';

// Dot-matrix commands followed by one argument byte.
bool TakesArgument(char c) {
    return std::strchr("WS-A+UjJ3", c) != nullptr && c != '\0';
}

// A brace sequence of the print program: a name of a control variable or
// the job header.
bool SymbolicAt(std::string_view bytes, size_t i) {
    if (bytes[i] != '{' || i + 1 >= bytes.size()) return false;
    const char next = bytes[i + 1];
    return next == 'Y' || bytes.substr(i + 1, 6) == "VDOSPR";
}

}  // namespace

std::vector<std::string> ReadableLines(std::string_view bytes, char type) {
    std::vector<std::string> lines;
    std::string line;
    auto end_line = [&] {
        lines.push_back(line);
        line.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == kEsc && i + 1 < bytes.size()) {
            const char command = bytes[++i];
            if (command == '(' || command == '&' || command == '*') {
                while (i + 1 < bytes.size() && !(bytes[i + 1] >= '@' && bytes[i + 1] <= 'Z')) ++i;
                ++i;  // the closing capital
            } else if (TakesArgument(command)) {
                ++i;
            }
            continue;
        }
        if (c == kFs) {
            ++i;
            continue;
        }
        if (type == 'V' && SymbolicAt(bytes, i)) {
            const size_t close = bytes.find('}', i);
            if (close == std::string_view::npos) break;
            i = close;
            continue;
        }
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            end_line();
            continue;
        }
        if (c == '\n' || c == '\f') {
            end_line();
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20) continue;
        line += c;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace kestrel::printing
