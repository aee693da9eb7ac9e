// Memory-variable files (QRM.MEM and its kin): a list of named values.
//
// Layout (all integers little-endian), one entry after another and 0x1A at
// the end:
//   header, 32 bytes: 0-10 name (upper case, at most 10 characters,
//   NUL-padded); 11 type letter with the high bit set (C3 "C", CE "N",
//   CC "L", C4 "D"; readers also take it without the bit); 12-15 zero;
//   16-17 for C the value length including its closing NUL (16-bit), for N
//   byte 16 the display width and byte 17 the decimals; 18-31 zero.
//   value: C the text (CP852) and a NUL, filling exactly that length;
//   N an IEEE double; L one byte (0/1); D a double holding the Julian day
//   number, 0 for an empty date.
// Files written by older programs leave garbage in the reserved bytes:
// readers ignore it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"

namespace kestrel::memfile {

struct MemValue {
    enum class Type : char { kChar = 'C', kNumeric = 'N', kLogical = 'L', kDate = 'D' };

    Type type = Type::kChar;
    std::string text;      // kChar
    double number = 0;     // kNumeric
    int width = 10;        // kNumeric display width
    int decimals = 0;      // kNumeric
    bool logical = false;  // kLogical
    double julian = 0;     // kDate; 0 = empty date

    static MemValue Char(std::string text);
    static MemValue Numeric(double value, int width, int decimals);
    static MemValue Logical(bool value);
    static MemValue Date(double julian_day);

    bool operator==(const MemValue&) const = default;
};

struct MemEntry {
    std::string name;  // as stored (upper case)
    MemValue value;

    bool operator==(const MemEntry&) const = default;
};

/// Files above this size are not read by the direct scan.
inline constexpr size_t kMaxScannedSize = 65520;
/// A file whose entries total more than this is not written by the editor.
inline constexpr size_t kMaxWrittenSize = 65519;

/// Parses a whole file. Complete entries before any damage are returned in
/// `entries`; damage (a cut entry, an unknown type, a text without room for
/// its NUL) gives a Corruption status naming `file_name` and the entry.
base::Status ParseMem(std::string_view bytes, const std::string& file_name,
                      std::vector<MemEntry>* entries);

/// The file's bytes for `entries` (ending with 0x1A). Names are upper-cased
/// and cut to 10 characters.
std::string SerializeMem(const std::vector<MemEntry>& entries);

/// Bytes the entries take, without the closing 0x1A (32 + value size each).
size_t EntriesSize(const std::vector<MemEntry>& entries);

/// Reads and parses a file (see ParseMem). NotFound when it does not exist.
base::Status ReadMemFile(const std::string& path, std::vector<MemEntry>* entries);

/// Writes a file safely: a new copy is written beside the old one and
/// renamed over it.
base::Status WriteMemFile(const std::string& path, const std::vector<MemEntry>& entries);

/// The direct scan of one variable: parses `path` entry by entry and
/// returns the value of `name` (without regard to case) when its type is
/// `type`; nothing when the file is missing, larger than kMaxScannedSize,
/// damaged before the entry, or the entry is absent or of another type.
/// Dates outside 2,097,260 … 2,816,787 come back empty; a numeric width
/// narrower than its printed value is widened.
std::optional<MemValue> ScanMemVariable(const std::string& path, std::string_view name,
                                        MemValue::Type type);

/// Entry lookup without regard to case; nullptr when absent.
const MemEntry* FindEntry(const std::vector<MemEntry>& entries, std::string_view name);

}  // namespace kestrel::memfile
