// MemoryTableHost: a TableHost over tables held in memory.
//
// For tools (kestrel-tool eval loads .DBF files into it) and tests, until
// and besides the real table engine. Tables are read-only; the current
// record is moved with GoTo(). There are no indexes: dbseek() fails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/formula/host.h"

namespace kestrel::formula {

class MemoryTableHost : public TableHost {
  public:
    struct Field {
        std::string name;  // upper case
        char type;         // C N D L M
        int length;
        int decimals;
    };
    struct Table {
        std::string alias;  // upper case
        std::vector<Field> fields;
        std::vector<std::vector<Value>> records;  // one Value per field
        std::vector<bool> deleted;                // per record; may be shorter
    };

    /// Adds a table in a new work area, makes it current, positions it on
    /// its first record, and returns the area number (from 1).
    int AddTable(Table table);
    /// Makes the area with `alias` current; false when there is none.
    bool SelectArea(std::string_view alias);
    /// Positions area `area` (0 = current) on record `recno` (1-based;
    /// beyond the last means end of file).
    void GoTo(int area, int64_t recno);

    bool ResolveField(std::string_view alias, std::string_view field, FieldRef* ref,
                      bool* alias_open) override;
    bool ReadField(const FieldRef& ref, Value* out, Error* error) override;
    bool Eof() override;
    bool Bof() override;
    int64_t RecNo() override;
    int64_t RecCount() override;
    bool Deleted() override;
    bool Found() override { return false; }
    int Select(std::string_view alias) override;
    std::string Alias(int area) override;
    bool Seek(const Value& key, bool soft, bool last, bool* found, Error* error) override;

  private:
    struct Area {
        Table table;
        int64_t recno = 1;
    };
    Area* Current();
    std::vector<Area> areas_;
    int current_ = 0;  // 0: none selected
};

/// The value a field holds on an empty table or at end of file: blanks of
/// the field's length, zero with its decimals, the empty date, .F., "".
Value EmptyFieldValue(const MemoryTableHost::Field& f);

}  // namespace kestrel::formula
