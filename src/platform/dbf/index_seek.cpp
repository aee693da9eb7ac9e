// Index: putting the cursor on an entry by key (seeks, finding an entry).
#include <algorithm>
#include <cstring>

#include "platform/dbf/index.h"

namespace kestrel::dbf {

// First entry whose key begins with `key` (with `last`, the last such entry);
// when there is none, the first entry that follows it, or past the end.
Status Index::SeekLocked(std::string_view key, bool last, bool* found) {
    path_.clear();
    valid_ = false;
    stale_ = false;
    *found = false;
    const size_t n = std::min<size_t>(key.size(), header_.key_size);
    uint32_t page = header_.root;
    for (;;) {
        if (path_.size() > kMaxDepth)
            return Status::Corruption(path() + ": tree too deep (a loop?)");
        NtxPage p(nullptr, 0, 0);
        Status s = Load(page, &p);
        if (!s.ok()) return s;
        int lo = 0, hi = p.count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            const int c = std::memcmp(p.key(mid), key.data(), n);
            if (c < 0 || (last && c == 0)) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        path_.push_back({page, lo});
        if (p.leaf()) break;
        page = p.child(lo);
    }
    Status s = ClimbToEntry();
    if (!s.ok()) return s;
    if (!last) {
        *found = valid_ && std::memcmp(cur_key_.data(), key.data(), n) == 0;
        return Status::Ok();
    }
    // The cursor stands after the last entry with the key: one step back.
    if (valid_) {
        s = StepPrev();
    } else {
        path_.clear();
        s = Descend(header_.root, false);
    }
    if (!s.ok()) return s;
    if (valid_ && std::memcmp(cur_key_.data(), key.data(), n) == 0) {
        *found = true;
        return Status::Ok();
    }
    // No entry has the key: where a plain seek stands.
    return SeekLocked(key, false, found);
}

Status Index::Seek(std::string_view key, bool* found) {
    Status s = BeginRead();
    if (s.ok()) s = SeekLocked(key, false, found);
    repositioned_ahead_ = false;
    return End(s);
}

Status Index::SeekLast(std::string_view key, bool* found) {
    Status s = BeginRead();
    if (s.ok()) s = SeekLocked(key, true, found);
    repositioned_ahead_ = false;
    return End(s);
}

Status Index::Find(std::string_view key, uint32_t recno) {
    Status s = BeginRead();
    bool exact = false;
    repositioned_ahead_ = false;
    if (s.ok()) s = LocateEntry(key, recno, &exact);
    if (s.ok() && !exact) {
        // Files of other programs may keep equal keys out of record order.
        bool found = false;
        s = SeekLocked(key.substr(0, header_.key_size), false, &found);
        while (s.ok() && valid_ && found && cur_recno_ != recno) {
            s = StepNext();
            found = valid_ && cur_key_ == key.substr(0, header_.key_size);
        }
        if (s.ok() && !(valid_ && found)) {
            valid_ = false;
            s = Status::NotFound(path() + ": no entry for record " + std::to_string(recno));
        }
    }
    return End(s);
}

void Index::Remember(std::string_view key, uint32_t recno) {
    cur_key_.assign(key);
    cur_recno_ = recno;
    valid_ = true;
    stale_ = true;
    repositioned_ahead_ = false;
}

}  // namespace kestrel::dbf
