#include "common/checks/scramble.h"

#include <cstdint>

#include "platform/base/text.h"

namespace kestrel::common {
namespace {

constexpr size_t kHeader = 12;

uint32_t Domain(ScrambleKind kind) {
    return kind == ScrambleKind::kName ? 0x4B59u : 0x4B5Au;  // "KY", "KZ"
}

// FNV-1a over the padded clear value, mixed with the kind.
uint32_t Seed(ScrambleKind kind, std::string_view clear) {
    uint32_t h = 2166136261u ^ Domain(kind);
    for (unsigned char c : clear) {
        h ^= c;
        h *= 16777619u;
    }
    return h == 0 ? 1u : h;
}

// xorshift32: the key stream.
uint32_t Next(uint32_t* state) {
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return x;
}

uint8_t Checksum(std::string_view clear) {
    uint32_t sum = 0;
    for (unsigned char c : clear) sum = (sum * 31 + c) & 0xFF;
    return static_cast<uint8_t>(sum);
}

void PutByte(std::string* out, uint8_t b) {
    out->push_back(static_cast<char>('A' + (b >> 4)));
    out->push_back(static_cast<char>('A' + (b & 0x0F)));
}

bool GetByte(std::string_view s, size_t at, uint8_t* b) {
    const int hi = s[at] - 'A';
    const int lo = s[at + 1] - 'A';
    if (hi < 0 || hi > 15 || lo < 0 || lo > 15) return false;
    *b = static_cast<uint8_t>(hi << 4 | lo);
    return true;
}

using base::IsBlank;

std::string Fit(std::string_view s, size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

}  // namespace

size_t ClearWidth(size_t stored_width) {
    return stored_width < kHeader ? 0 : (stored_width - kHeader) / 2;
}

std::string Scramble(ScrambleKind kind, std::string_view clear, size_t stored_width) {
    const size_t width = ClearWidth(stored_width);
    const std::string value = Fit(clear, width);
    if (IsBlank(value)) return std::string(stored_width, ' ');
    const uint32_t seed = Seed(kind, value);
    std::string out;
    out.reserve(stored_width);
    for (int shift = 24; shift >= 0; shift -= 8) PutByte(&out, static_cast<uint8_t>(seed >> shift));
    PutByte(&out, static_cast<uint8_t>(width));
    PutByte(&out, Checksum(value));
    uint32_t state = seed ^ (Domain(kind) << 16);
    for (unsigned char c : value) PutByte(&out, static_cast<uint8_t>(c ^ (Next(&state) & 0xFF)));
    out.resize(stored_width, ' ');
    return out;
}

std::string Unscramble(ScrambleKind kind, std::string_view stored) {
    const size_t width = ClearWidth(stored.size());
    if (IsBlank(stored)) return std::string(width, ' ');
    uint8_t b[6];
    bool ok = stored.size() >= kHeader + 2 * width;
    for (int i = 0; ok && i < 6; ++i) ok = GetByte(stored, static_cast<size_t>(2 * i), &b[i]);
    if (ok) ok = b[4] == width;
    std::string value;
    if (ok) {
        const uint32_t seed =
            uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
        uint32_t state = seed ^ (Domain(kind) << 16);
        value.reserve(width);
        for (size_t i = 0; ok && i < width; ++i) {
            uint8_t e = 0;
            ok = GetByte(stored, kHeader + 2 * i, &e);
            value.push_back(static_cast<char>(e ^ (Next(&state) & 0xFF)));
        }
        ok = ok && Checksum(value) == b[5] && Seed(kind, value) == seed;
    }
    return ok ? value : Fit(stored, width);
}

}  // namespace kestrel::common
