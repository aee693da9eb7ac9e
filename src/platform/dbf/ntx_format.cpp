#include "platform/dbf/ntx_format.h"

namespace kestrel::dbf {

uint16_t MaxItemsForKey(uint16_t key_size) {
    int m = (1024 - 2) / (key_size + 10) - 1;
    if (m > 2) m &= ~1;
    return static_cast<uint16_t>(m);
}

NtxHeader MakeNtxHeader(uint16_t key_size, uint16_t decimals, std::string key_expr,
                        std::string for_expr) {
    NtxHeader h;
    h.signature = for_expr.empty() ? 6 : 7;
    h.counter = 1;
    h.key_size = key_size;
    h.item_size = static_cast<uint16_t>(key_size + 8);
    h.key_decimals = decimals;
    h.max_items = MaxItemsForKey(key_size);
    h.half_page = static_cast<uint16_t>(h.max_items / 2);
    h.key_expression = std::move(key_expr);
    h.for_expression = std::move(for_expr);
    return h;
}

std::string EncodeNtxHeader(const NtxHeader& h) {
    std::string p(kNtxPage, '\0');
    EncodeFixed16(p.data() + 0, h.signature);
    EncodeFixed16(p.data() + 2, h.counter);
    EncodeFixed32(p.data() + 4, h.root);
    EncodeFixed32(p.data() + 8, h.free_page);
    EncodeFixed16(p.data() + 12, h.item_size);
    EncodeFixed16(p.data() + 14, h.key_size);
    EncodeFixed16(p.data() + 16, h.key_decimals);
    EncodeFixed16(p.data() + 18, h.max_items);
    EncodeFixed16(p.data() + 20, h.half_page);
    std::memcpy(p.data() + 22, h.key_expression.data(),
                std::min<size_t>(h.key_expression.size(), 255));
    p[278] = h.unique ? 1 : 0;
    p[280] = h.descending ? 1 : 0;
    std::memcpy(p.data() + 282, h.for_expression.data(),
                std::min<size_t>(h.for_expression.size(), 255));
    return p;
}

namespace {
std::string CString(std::string_view page, size_t at, size_t max) {
    size_t n = 0;
    while (n < max && page[at + n] != '\0') ++n;
    return std::string(page.substr(at, n));
}
}  // namespace

base::Status DecodeNtxHeader(const std::string& path, std::string_view page, NtxHeader* h) {
    using base::Status;
    if (page.size() < kNtxPage) return Status::Corruption(path + ": shorter than an index header");
    h->signature = DecodeFixed16(page.data());
    h->counter = DecodeFixed16(page.data() + 2);
    h->root = DecodeFixed32(page.data() + 4);
    h->free_page = DecodeFixed32(page.data() + 8);
    h->item_size = DecodeFixed16(page.data() + 12);
    h->key_size = DecodeFixed16(page.data() + 14);
    h->key_decimals = DecodeFixed16(page.data() + 16);
    h->max_items = DecodeFixed16(page.data() + 18);
    h->half_page = DecodeFixed16(page.data() + 20);
    h->key_expression = CString(page, 22, 256);
    h->unique = page[278] != 0;
    h->descending = page[280] != 0;
    h->for_expression = CString(page, 282, 256);
    if (h->signature != 6 && h->signature != 7 && h->signature != 3) {
        return Status::Corruption(path + ": not an NTX index (signature " +
                                  std::to_string(h->signature) + ")");
    }
    if (h->key_size == 0 || h->key_size > kMaxKeySize || h->item_size != h->key_size + 8) {
        return Status::Corruption(path + ": bad key size " + std::to_string(h->key_size));
    }
    if (h->max_items < 2 ||
        2u + 2u * (h->max_items + 1u) + (h->max_items + 1u) * h->item_size > kNtxPage) {
        return Status::Corruption(path + ": bad page capacity " + std::to_string(h->max_items));
    }
    if (h->root == 0 || h->root % kNtxPage != 0) {
        return Status::Corruption(path + ": bad root page offset " + std::to_string(h->root));
    }
    if (h->key_expression.empty()) return Status::Corruption(path + ": no key expression");
    return Status::Ok();
}

}  // namespace kestrel::dbf
