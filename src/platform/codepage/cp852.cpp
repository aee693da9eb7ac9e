#include "platform/codepage/cp852.h"

#include <algorithm>
#include <array>

namespace kestrel::codepage {
namespace {

// Bytes 0x80-0xFF of code page 852.
constexpr std::array<char16_t, 128> kHigh = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, 0x0142, 0x00EB, 0x0150, 0x0151,
    0x00EE, 0x0179, 0x00C4, 0x0106, 0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x0104, 0x0105, 0x017D, 0x017E, 0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A, 0x015E, 0x2563, 0x2551, 0x2557,
    0x255D, 0x017B, 0x017C, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x0111, 0x0110, 0x010E, 0x00CB,
    0x010F, 0x0147, 0x00CD, 0x00CE, 0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161, 0x0154, 0x00DA, 0x0155, 0x0170,
    0x00FD, 0x00DD, 0x0163, 0x00B4, 0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,
};

// How the console shows bytes 0x00-0x1F: the glyphs of the PC character ROM.
constexpr std::array<char16_t, 32> kControlGlyphs = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};

struct Reverse {
    char16_t code;
    unsigned char byte;
};

// Unicode -> CP852 for the upper half, sorted by code point for binary search.
std::array<Reverse, 128> BuildReverse() {
    std::array<Reverse, 128> r{};
    for (int i = 0; i < 128; ++i) r[i] = {kHigh[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(r.begin(), r.end(),
              [](const Reverse& a, const Reverse& b) { return a.code < b.code; });
    return r;
}

const std::array<Reverse, 128>& ReverseTable() {
    static const std::array<Reverse, 128> table = BuildReverse();
    return table;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    return kHigh[byte - 0x80];
}

int FromUnicode(char32_t code) {
    if (code < 0x80) return static_cast<int>(code);
    const auto& table = ReverseTable();
    auto it = std::lower_bound(table.begin(), table.end(), code,
                               [](const Reverse& r, char32_t c) { return r.code < c; });
    if (it != table.end() && it->code == code) return it->byte;
    return -1;
}

char32_t DisplayGlyph(unsigned char byte) {
    if (byte < 0x20) return kControlGlyphs[byte];
    if (byte == 0x7F) return 0x2302;  // house
    if (byte == 0xF0) return 0x002D;  // soft hyphen would be invisible
    if (byte == 0xFF) return 0x0020;  // no-break space
    return ToUnicode(byte);
}

int FromDisplayGlyph(char32_t code) {
    int byte = FromUnicode(code);
    if (byte >= 0x20) return byte;  // printable characters win over control glyphs
    for (int i = 1; i < 32; ++i)
        if (kControlGlyphs[i] == code) return i;
    if (code == 0x2302) return 0x7F;
    return -1;
}

std::string ToUtf8(std::string_view cp852) {
    std::string out;
    out.reserve(cp852.size() + cp852.size() / 4);
    for (unsigned char b : cp852) AppendUtf8(out, ToUnicode(b));
    return out;
}

void AppendGlyphUtf8(std::string& out, unsigned char byte) {
    AppendUtf8(out, DisplayGlyph(byte));
}

std::string DisplayToUtf8(std::string_view cp852) {
    std::string out;
    out.reserve(cp852.size() + cp852.size() / 2);
    for (unsigned char b : cp852) AppendUtf8(out, DisplayGlyph(b));
    return out;
}

size_t DecodeUtf8(std::string_view in, size_t pos, char32_t* code) {
    auto b0 = static_cast<unsigned char>(in[pos]);
    size_t len;
    char32_t c;
    if (b0 < 0x80) {
        *code = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        c = b0 & 0x07;
    } else {
        *code = 0xFFFD;
        return 1;
    }
    if (pos + len > in.size()) {
        *code = 0xFFFD;
        return 1;
    }
    for (size_t i = 1; i < len; ++i) {
        auto b = static_cast<unsigned char>(in[pos + i]);
        if ((b & 0xC0) != 0x80) {
            *code = 0xFFFD;
            return 1;
        }
        c = (c << 6) | (b & 0x3F);
    }
    *code = c;
    return len;
}

std::string FromUtf8(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t c;
        pos += DecodeUtf8(utf8, pos, &c);
        int b = FromUnicode(c);
        out += b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

}  // namespace kestrel::codepage
