// Scrambling of personal fields: surname and first names (EKY/DKY) and the
// personal identity number (EKZ/DKZ) are never stored in plain text.
//
// A stored field of width W holds a clear value of width (W - 12) / 2:
// IMIEX_ C52 → 20, NAZWX_ C72 → 30, NAZWX_U C74 → 31, PESELX_ C34 → 11.
// The stored form is 12 header letters and two letters per clear byte, all
// from "A".."P"; a blank clear value is stored as blanks. The layout is
// described byte by byte in docs/scrambling.md. Scrambling is deterministic
// (the same value always gives the same stored text) and reversible.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel::common {

enum class ScrambleKind {
    kName,      // EKY / DKY
    kIdentity,  // EKZ / DKZ
};

/// Width of the clear value a stored field of `stored_width` holds.
size_t ClearWidth(size_t stored_width);

/// EKY / EKZ: the stored form of `clear` (CP852) for a field of
/// `stored_width`: the value is padded with blanks or cut to the clear width
/// first. A blank value gives `stored_width` blanks.
std::string Scramble(ScrambleKind kind, std::string_view clear, size_t stored_width);

/// DKY / DKZ: the clear value of a stored field, always of the clear width
/// (padded with blanks). Blanks give blanks. A stored text that is not a
/// scrambled value of this kind (plain text left by an old conversion, or
/// damage) is returned as its first clear-width bytes, so that it stays
/// readable.
std::string Unscramble(ScrambleKind kind, std::string_view stored);

}  // namespace kestrel::common
