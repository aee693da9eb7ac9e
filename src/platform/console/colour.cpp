#include "platform/console/colour.h"

#include <cctype>
#include <string>

#include "platform/base/text.h"

namespace kestrel::console {
namespace {

// `s` without its blanks, in upper case.
std::string UpperWithoutBlanks(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != ' ') out += base::AsciiUpper(c);
    return out;
}

// One side of a pair without its "+" and "*": a colour letter group or a number.
std::optional<int> ParseColour(const std::string& s) {
    if (s.empty() || s == "N") return 0;
    if (std::isdigit(static_cast<unsigned char>(s[0]))) {
        int n = 0;
        for (char c : s) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
            n = n * 10 + (c - '0');
            if (n > 15) return std::nullopt;
        }
        return n;
    }
    // Any order of the letters B, G, R combines them (GR == RG == brown).
    int value = 0;
    for (char c : s) {
        switch (c) {
            case 'B':
                value |= 1;
                break;
            case 'G':
                value |= 2;
                break;
            case 'R':
                value |= 4;
                break;
            case 'W':
                value |= 7;
                break;
            default:
                return std::nullopt;
        }
    }
    return value;
}

}  // namespace

std::optional<Attr> ParseColourPair(std::string_view pair) {
    std::string p = UpperWithoutBlanks(pair);
    bool bright = false;
    bool blink = false;
    std::string clean;
    for (char c : p) {
        if (c == '+')
            bright = true;
        else if (c == '*')
            blink = true;
        else
            clean += c;
    }
    std::string fg = clean;
    std::string bg;
    if (auto slash = clean.find('/'); slash != std::string::npos) {
        fg = clean.substr(0, slash);
        bg = clean.substr(slash + 1);
    }
    int f;
    int b;
    if (fg == "I" || bg == "I") {
        f = 0;
        b = 7;
    } else if (fg == "X" || bg == "X") {
        f = 0;
        b = 0;
    } else if (fg == "U") {
        f = 1;
        b = 0;
    } else {
        auto pf = ParseColour(fg);
        auto pb = ParseColour(bg);
        if (!pf || !pb) return std::nullopt;
        f = *pf;
        b = *pb & 0x07;
    }
    if (bright) f |= 0x08;
    return MakeAttr(f, b, blink);
}

std::optional<ColourSpec> ParseColourSpec(std::string_view text, const ColourSpec& base) {
    ColourSpec spec = base;
    Attr* slots[] = {&spec.standard, &spec.enhanced, &spec.border, &spec.background,
                     &spec.unselected};
    size_t slot = 0;
    size_t start = 0;
    while (slot < 5) {
        size_t comma = text.find(',', start);
        std::string_view part = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!base::IsBlank(part)) {
            auto attr = ParseColourPair(part);
            if (!attr) return std::nullopt;
            *slots[slot] = *attr;
        }
        ++slot;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return spec;
}

}  // namespace kestrel::console
