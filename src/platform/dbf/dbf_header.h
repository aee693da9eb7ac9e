// The header of a DBF file: the 32-byte prologue and the field descriptors.
// docs/dbf-format.md describes every byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/status.h"
#include "platform/dbf/record.h"

namespace kestrel::dbf {

struct DbfHeader {
    uint8_t version = 0x03;            // 0x83 when the table has a memo file
    int year = 0, month = 0, day = 0;  // last update
    uint32_t record_count = 0;
    uint16_t header_length = 0;
    uint16_t record_length = 0;
    std::vector<Field> fields;

    bool has_memo() const;
};

/// Largest record count a table may have (record locks live at 1e9 + n).
constexpr uint32_t kMaxRecords = 999'999'999;

/// Lays out a header for new table: validates the specs (names of 1–10
/// characters, each name once, widths that fit their types) and computes
/// offsets, lengths and the version byte. The date is left to StampDate().
Status LayoutHeader(const std::vector<FieldSpec>& specs, DbfHeader* out);

/// Reads the 32-byte prologue; `path` only names the file in messages.
Status DecodePrologue(const std::string& path, std::string_view bytes, DbfHeader* out);
/// Reads the field descriptors (all `header_length` bytes) after DecodePrologue,
/// checking that the fields add up to the record length.
Status DecodeFields(const std::string& path, std::string_view bytes, DbfHeader* out);

/// The whole header: prologue, descriptors, 0x0D 0x00, padded to header_length.
std::string EncodeHeader(const DbfHeader& h);
/// Bytes 0–11: version, date, record count, header and record length.
std::string EncodePrologue(const DbfHeader& h);
/// Today's date by `clock` (nullptr: the system clock) into h's last-update
/// fields.
void StampDate(DbfHeader* h, const base::Clock* clock);

}  // namespace kestrel::dbf
