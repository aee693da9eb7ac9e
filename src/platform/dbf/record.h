// Fields and records of a dBASE III table.
//
// A Record is the bytes of one record (deletion flag first, then the fields
// packed in order) together with the table's field list. Getters read the
// stored text the way xBase does; setters encode a value into its field and
// refuse values that do not fit. Text is CP852 bytes throughout.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"

namespace kestrel::dbf {

using base::Status;

enum class FieldType : char {
    kCharacter = 'C',
    kNumeric = 'N',
    kLogical = 'L',
    kDate = 'D',
    kMemo = 'M',
};

/// A field as given when a table is created. L, D and M take their fixed
/// widths (1, 8, 10) whatever `length` says.
struct FieldSpec {
    std::string name;  // up to 10 characters, stored in capitals
    FieldType type = FieldType::kCharacter;
    uint16_t length = 0;
    uint8_t decimals = 0;
};

/// A field of an open table: its spec and its byte offset inside the record.
struct Field {
    std::string name;
    FieldType type = FieldType::kCharacter;
    uint16_t length = 0;
    uint8_t decimals = 0;
    uint32_t offset = 0;  // from the start of the record, the deletion flag being byte 0
};

class Record {
  public:
    Record() = default;
    /// A blank record (all spaces, not deleted) of the given layout; `fields`
    /// must outlive the record.
    Record(const std::vector<Field>* fields, uint32_t length);

    const std::vector<Field>& fields() const { return *fields_; }
    /// True when the record is laid out by exactly this field list.
    bool HasLayout(const std::vector<Field>* fields) const { return fields_ == fields; }
    /// Index of a field by name (any case), or -1.
    int FieldIndex(std::string_view name) const;

    bool deleted() const { return bytes_[0] == '*'; }
    void set_deleted(bool deleted) { bytes_[0] = deleted ? '*' : ' '; }
    /// Makes every field blank and the record live.
    void Clear();

    /// The stored bytes of a field, padding included.
    std::string_view Raw(int field) const;
    /// C text with its padding; for other types the stored text.
    std::string GetString(int field) const { return std::string(Raw(field)); }
    /// N value; blank or unreadable text reads as 0.
    double GetNumber(int field) const;
    /// L value: T t Y y are true, anything else false.
    bool GetLogical(int field) const;
    /// D value as "YYYYMMDD", or "" for an empty date.
    std::string GetDate(int field) const;
    /// M value: the first DBT block of the memo, 0 for none.
    uint32_t GetMemoBlock(int field) const;
    /// True when the field holds only blanks (xBase Empty() of an unchanged field).
    bool IsBlank(int field) const;

    /// C: padded with blanks or cut to the width.
    Status SetString(int field, std::string_view cp852);
    /// N: right-aligned with exactly its decimals; InvalidArgument when too wide.
    Status SetNumber(int field, double value);
    Status SetLogical(int field, bool value);
    /// D: "YYYYMMDD" or "" for an empty date; anything else is InvalidArgument.
    Status SetDate(int field, std::string_view yyyymmdd);
    void SetMemoBlock(int field, uint32_t block);
    /// Copies raw bytes (padded or cut to the width) without checking them.
    void SetRaw(int field, std::string_view bytes);

    const std::string& bytes() const { return bytes_; }
    std::string& mutable_bytes() { return bytes_; }

  private:
    const std::vector<Field>* fields_ = nullptr;
    std::string bytes_;
};

/// Formats a number as an N field of `width` and `decimals` stores it;
/// false when it does not fit.
bool FormatNumber(double value, int width, int decimals, std::string* out);

}  // namespace kestrel::dbf
