// Index::Check and Index::Entries: a full walk of the tree that checks its
// shape (page bounds, one leaf depth, key order) and compares the entries
// with the keys the table's records give.
#include <algorithm>
#include <cstring>

#include "platform/dbf/index.h"
#include "platform/dbf/table.h"

namespace kestrel::dbf {

namespace {

std::string Printable(std::string_view key) {
    std::string out;
    for (char c : key) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

Status Index::WalkCheck(uint32_t page, int depth, int* leaf_depth,
                        std::vector<std::pair<std::string, uint32_t>>* out) {
    if (depth > 40) return Status::Corruption(path() + ": tree too deep (a loop?)");
    NtxPage p(nullptr, 0, 0);
    Status s = Load(page, &p);
    if (!s.ok()) return s;
    const int n = p.count();
    const bool leaf = p.leaf();
    const std::string where = path() + ": page " + std::to_string(page);
    if (n == 0 && depth > 0) return Status::Corruption(where + ": empty page below the root");
    if (leaf) {
        for (int i = 0; i <= n; ++i) {
            if (p.child(i) != 0) return Status::Corruption(where + ": leaf with a child");
        }
        if (*leaf_depth < 0) *leaf_depth = depth;
        if (*leaf_depth != depth) return Status::Corruption(where + ": leaves at two depths");
    }
    const size_t ks = header_.key_size;
    for (int i = 0; i <= n; ++i) {
        if (!leaf) {
            // Pages may be dropped from the cache while walking: copy first.
            uint32_t child = p.child(i);
            if (child == 0) return Status::Corruption(where + ": interior item without a child");
            s = WalkCheck(child, depth + 1, leaf_depth, out);
            if (!s.ok()) return s;
            s = Load(page, &p);
            if (!s.ok()) return s;
        }
        if (i < n) out->emplace_back(std::string(p.key(i), ks), p.recno(i));
    }
    return Status::Ok();
}

Status Index::Entries(std::vector<std::pair<std::string, uint32_t>>* out) {
    out->clear();
    Status s = BeginRead();
    int leaf_depth = -1;
    if (s.ok()) s = WalkCheck(header_.root, 0, &leaf_depth, out);
    for (size_t i = 1; s.ok() && i < out->size(); ++i) {
        if ((*out)[i - 1].first > (*out)[i].first) {
            s = Status::Corruption(path() + ": keys out of order at entry " +
                                   std::to_string(i + 1) + " (\"" + Printable((*out)[i].first) +
                                   "\")");
        }
    }
    return End(s);
}

Status Index::Check(Table* table) {
    if (!key_fn_) return Status::InvalidArgument(path() + ": no key function bound");
    std::vector<std::pair<std::string, uint32_t>> have;
    Status s = Entries(&have);
    if (!s.ok()) return s;
    std::vector<std::pair<std::string, uint32_t>> want;
    s = table->Refresh();
    if (!s.ok()) return s;
    std::string key;
    s = table->Scan(1, [&](uint32_t recno, const Record& rec) {
        bool included = false;
        KeyOf(rec, &key, &included);
        if (included) want.emplace_back(key, recno);
        return Status::Ok();
    });
    if (!s.ok()) return s;
    auto by_record = [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
    };
    std::sort(have.begin(), have.end(), by_record);
    std::sort(want.begin(), want.end(), by_record);
    for (size_t i = 0; i < std::max(have.size(), want.size()); ++i) {
        if (i < have.size() && i < want.size() && have[i] == want[i]) continue;
        if (i >= have.size() || (i < want.size() && want[i].second < have[i].second)) {
            return Status::Corruption(path() + ": record " + std::to_string(want[i].second) +
                                      " is missing from the index");
        }
        if (i >= want.size() || have[i].second < want[i].second) {
            return Status::Corruption(path() + ": record " + std::to_string(have[i].second) +
                                      " is in the index but should not be (or twice)");
        }
        return Status::Corruption(path() + ": record " + std::to_string(have[i].second) +
                                  " has the key \"" + Printable(have[i].first) +
                                  "\" in the index but \"" + Printable(want[i].first) +
                                  "\" in the table");
    }
    return Status::Ok();
}

}  // namespace kestrel::dbf
