// Index::Create: the bulk build. Keys of all records are computed, sorted by
// key and record number, and the tree is laid out bottom up: each level is cut
// into pages of nearly equal size with one entry going up between two pages,
// so that every page but the root is at least half full (and, as built, about
// three quarters) and all leaves lie at one depth. The root is written last.
#include <algorithm>
#include <cstring>

#include "platform/dbf/index.h"
#include "platform/dbf/table.h"

namespace kestrel::dbf {

namespace {

struct Entry {
    uint32_t child;
    uint32_t index;  // into the key array
};

// Eight key bytes from `at` as one big-endian number (zeros past the end),
// so that comparing numbers compares the bytes.
uint64_t Prefix(const char* key, size_t ks, size_t at = 0) {
    uint64_t v = 0;
    for (size_t i = at; i < at + 8; ++i) {
        v = (v << 8) | (i < ks ? static_cast<unsigned char>(key[i]) : 0);
    }
    return v;
}

}  // namespace

Status Index::Create(const std::string& path, Table* table, const IndexDefinition& def) {
    if (!def.key) return Status::InvalidArgument(path + ": no key function");
    if (def.key_expression.empty() || def.key_expression.size() > 255 ||
        def.for_expression.size() > 255) {
        return Status::InvalidArgument(path + ": key or condition text empty or too long");
    }
    Record blank = table->NewRecord();
    std::string key;
    def.key(blank, &key);
    if (key.empty() || key.size() > kMaxKeySize) {
        return Status::InvalidArgument(path + ": key width " + std::to_string(key.size()) +
                                       " (1 to 256 allowed)");
    }
    const size_t ks = key.size();
    NtxHeader h = MakeNtxHeader(static_cast<uint16_t>(ks), def.key_decimals, def.key_expression,
                                def.for_expression);

    // Keys of every record that satisfies the condition.
    std::string keys;
    std::vector<uint32_t> recnos;
    Status s = table->Refresh();
    if (!s.ok()) return s;
    keys.reserve(static_cast<size_t>(table->record_count()) * ks);
    recnos.reserve(table->record_count());
    s = table->Scan(1, [&](uint32_t recno, const Record& rec) {
        if (def.condition && !def.condition(rec)) return Status::Ok();
        key.clear();
        def.key(rec, &key);
        key.resize(ks, ' ');
        keys += key;
        recnos.push_back(recno);
        return Status::Ok();
    });
    if (!s.ok()) return s;

    // The first 16 key bytes travel with each item, so that most
    // comparisons (keys often share a long start: a year, a list number)
    // touch no key in memory.
    struct SortItem {
        uint64_t prefix;
        uint64_t prefix2;
        uint32_t index;
    };
    std::vector<SortItem> order(recnos.size());
    for (uint32_t i = 0; i < order.size(); ++i) {
        const char* k = keys.data() + static_cast<size_t>(i) * ks;
        order[i] = {Prefix(k, ks), Prefix(k, ks, 8), i};
    }
    const char* kd = keys.data();
    std::sort(order.begin(), order.end(), [&](const SortItem& a, const SortItem& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        if (a.prefix2 != b.prefix2) return a.prefix2 < b.prefix2;
        if (ks > 16) {
            int c = std::memcmp(kd + static_cast<size_t>(a.index) * ks + 16,
                                kd + static_cast<size_t>(b.index) * ks + 16, ks - 16);
            if (c != 0) return c < 0;
        }
        return a.index < b.index;  // record order: keys were gathered by record number
    });

    // Lay out the pages level by level.
    const int max = h.max_items;
    const int fill = std::max<int>(h.half_page + 1, (3 * max + 3) / 4);
    const size_t isz = h.item_size;
    std::string pages(kNtxPage, '\0');  // page 0: the header, written at the end
    auto emit = [&](const std::vector<Entry>& items, size_t from, int count, uint32_t right) {
        uint32_t off = static_cast<uint32_t>(pages.size());
        pages.resize(pages.size() + kNtxPage);
        NtxPage p(pages.data() + off, h.max_items, h.key_size);
        p.Init(0);
        for (int j = 0; j < count; ++j) {
            const Entry& e = items[from + j];
            char* it = p.item(j);
            EncodeFixed32(it, e.child);
            EncodeFixed32(it + 4, recnos[e.index]);
            std::memcpy(it + 8, kd + static_cast<size_t>(e.index) * ks, ks);
        }
        p.set_count(static_cast<uint16_t>(count));
        p.set_child(count, right);
        return off;
    };
    (void)isz;
    std::vector<Entry> level(order.size());
    for (size_t i = 0; i < order.size(); ++i) level[i] = {0, order[i].index};
    uint32_t right = 0;
    for (;;) {
        const size_t k = level.size();
        if (k <= static_cast<size_t>(max)) {
            h.root = emit(level, 0, static_cast<int>(k), right);
            break;
        }
        // Pages on this level: filled to about three quarters, so that the
        // saves that follow a build find room in their page instead of
        // splitting nearly every page they touch; never below half full.
        const size_t fewest = (k + 1 + max) / (max + 1);
        size_t m = std::max(fewest, (k + 1 + fill) / (fill + 1));
        while (m > fewest && (k - (m - 1)) / m < h.half_page) --m;
        const size_t items = k - (m - 1);
        const size_t base = items / m, extra = items % m;
        std::vector<Entry> up;
        up.reserve(m - 1);
        size_t at = 0;
        for (size_t t = 0; t < m; ++t) {
            int cnt = static_cast<int>(base + (t < extra ? 1 : 0));
            if (t + 1 < m) {
                Entry sep = level[at + cnt];
                uint32_t off = emit(level, at, cnt, sep.child);
                sep.child = off;
                up.push_back(sep);
                at += cnt + 1;
            } else {
                right = emit(level, at, cnt, right);
                at += cnt;
            }
        }
        level.swap(up);
    }
    std::string hdr = EncodeNtxHeader(h);
    std::memcpy(pages.data(), hdr.data(), kNtxPage);

    std::string tmp = WorkCopyName(path);
    std::unique_ptr<File> f;
    FileSystem* fs = table->file_system();
    s = fs->Create(tmp, &f);
    // Written in pieces of a few pages: the operating system keeps the file
    // in memory in units as large as the writes that made it, and a later
    // save of one 1 KiB page then costs time in proportion to its unit.
    constexpr size_t kPiece = 16 * 1024;
    for (size_t at = 0; s.ok() && at < pages.size(); at += kPiece) {
        s = f->Write(at, std::string_view(pages).substr(at, kPiece));
    }
    if (s.ok()) s = f->Sync();
    f.reset();
    if (s.ok()) s = fs->Rename(tmp, path);
    if (!s.ok()) fs->Remove(tmp);
    return s;
}

}  // namespace kestrel::dbf
