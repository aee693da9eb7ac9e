// Colour texts in the system's notation.
//
// A colour text is up to five comma-separated pairs "fg/bg": standard,
// enhanced, border, background, unselected ("W+/B,N/W,,,N/W"). Colour
// letters: N B G BG R RB GR W (black ... white; the order of the PC palette),
// "+" anywhere in a pair makes the foreground bright, "*" makes it blink,
// "I" alone is inverse (N/W), "U" underline (shown as blue on black), "X"
// blank (N/N). Numbers 0-15 may stand for colours. An empty part leaves that
// slot as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::console {

/// A cell attribute as the PC text mode had it: bits 0-3 foreground (bit 3
/// bright), bits 4-6 background, bit 7 blink.
using Attr = std::uint8_t;

constexpr Attr MakeAttr(int fg, int bg, bool blink = false) {
    return static_cast<Attr>((fg & 0x0F) | ((bg & 0x07) << 4) | (blink ? 0x80 : 0));
}
constexpr int Foreground(Attr a) {
    return a & 0x0F;
}
constexpr int Background(Attr a) {
    return (a >> 4) & 0x07;
}
constexpr bool Blinks(Attr a) {
    return (a & 0x80) != 0;
}

struct ColourSpec {
    Attr standard = MakeAttr(7, 0);
    Attr enhanced = MakeAttr(0, 7);
    Attr border = MakeAttr(0, 0);
    Attr background = MakeAttr(0, 0);
    Attr unselected = MakeAttr(0, 7);

    bool operator==(const ColourSpec&) const = default;
};

/// Parses `text` over `base` (slots not given keep base's values).
/// Returns nothing when a pair has an unknown colour letter.
std::optional<ColourSpec> ParseColourSpec(std::string_view text, const ColourSpec& base = {});

/// Parses one pair ("GR+*/B"); nothing when malformed.
std::optional<Attr> ParseColourPair(std::string_view pair);

}  // namespace kestrel::console
