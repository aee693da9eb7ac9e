// The NTX file layout: the header page and the tree pages (docs/dbf-format.md).
//
// NtxPage works on the raw 1024 bytes of a tree page in place: the key count,
// the table of item offsets (insertions shuffle the table, not the items) and
// the item slots {child page offset, record number, key}.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/base/status.h"
#include "platform/dbf/coding.h"

namespace kestrel::dbf {

constexpr uint32_t kNtxPage = 1024;
constexpr uint16_t kMaxKeySize = 256;

struct NtxHeader {
    uint16_t signature = 6;  // 7 with a FOR condition
    uint16_t counter = 0;    // bumped on every change
    uint32_t root = 0;
    uint32_t free_page = 0;
    uint16_t item_size = 0;
    uint16_t key_size = 0;
    uint16_t key_decimals = 0;
    uint16_t max_items = 0;
    uint16_t half_page = 0;
    std::string key_expression;
    std::string for_expression;
    bool unique = false;
    bool descending = false;
};

/// Items per page for a key size: (1024 - 2) / (key size + 10) - 1, rounded
/// down to even above 2.
uint16_t MaxItemsForKey(uint16_t key_size);
/// A header for a new index.
NtxHeader MakeNtxHeader(uint16_t key_size, uint16_t decimals, std::string key_expr,
                        std::string for_expr);
std::string EncodeNtxHeader(const NtxHeader& h);
/// Reads and checks the header page; `path` names the file in messages.
base::Status DecodeNtxHeader(const std::string& path, std::string_view page, NtxHeader* out);

class NtxPage {
  public:
    NtxPage(char* data, uint16_t max_items, uint16_t key_size)
        : d_(data), max_(max_items), ks_(key_size) {}

    uint16_t count() const { return DecodeFixed16(d_); }
    void set_count(uint16_t n) { EncodeFixed16(d_, n); }
    uint16_t slot(int i) const { return DecodeFixed16(d_ + 2 + 2 * i); }
    void set_slot(int i, uint16_t off) { EncodeFixed16(d_ + 2 + 2 * i, off); }
    char* item(int i) { return d_ + slot(i); }
    const char* item(int i) const { return d_ + slot(i); }
    uint32_t child(int i) const { return DecodeFixed32(item(i)); }
    void set_child(int i, uint32_t c) { EncodeFixed32(item(i), c); }
    uint32_t recno(int i) const { return DecodeFixed32(item(i) + 4); }
    const char* key(int i) const { return item(i) + 8; }
    bool leaf() const { return child(0) == 0; }
    uint16_t item_size() const { return static_cast<uint16_t>(ks_ + 8); }
    uint16_t max_items() const { return max_; }

    /// Lays the page out empty with slots in order (item n's child = `right`).
    void Init(uint32_t right) {
        std::memset(d_, 0, kNtxPage);
        for (int i = 0; i <= max_; ++i)
            set_slot(i, static_cast<uint16_t>(2 + 2 * (max_ + 1) + i * item_size()));
        set_child(0, right);
    }
    /// True when the count and every slot lie inside the page, past the slot table.
    bool Valid() const {
        if (count() > max_) return false;
        for (int i = 0; i <= max_; ++i) {
            if (slot(i) < 2 + 2 * (max_ + 1) || slot(i) + item_size() > kNtxPage) return false;
        }
        return true;
    }
    /// Inserts an item at position i (count < max required).
    void Insert(int i, uint32_t child, uint32_t recno, const char* key) {
        int n = count();
        uint16_t free = slot(n + 1);
        std::memmove(d_ + 2 + 2 * (i + 1), d_ + 2 + 2 * i, 2 * (n + 1 - i));
        set_slot(i, free);
        char* it = item(i);
        EncodeFixed32(it, child);
        EncodeFixed32(it + 4, recno);
        std::memcpy(it + 8, key, ks_);
        set_count(static_cast<uint16_t>(n + 1));
    }
    /// Removes item i; the items after it (and the right-most child) move down.
    void Remove(int i) {
        int n = count();
        uint16_t gone = slot(i);
        std::memmove(d_ + 2 + 2 * i, d_ + 2 + 2 * (i + 1), 2 * (n - i));
        set_slot(n, gone);
        set_count(static_cast<uint16_t>(n - 1));
    }
    /// Copies item i (child, record number, key) to `out` (item_size bytes).
    void CopyItem(int i, char* out) const { std::memcpy(out, item(i), item_size()); }
    /// Sets record number and key of item i from a raw item, keeping its child.
    void SetEntry(int i, const char* raw_item) { std::memcpy(item(i) + 4, raw_item + 4, ks_ + 4); }

  private:
    char* d_;
    uint16_t max_;
    uint16_t ks_;
};

}  // namespace kestrel::dbf
