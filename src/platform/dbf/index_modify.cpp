// Index: inserting and removing entries, with page splits, joins and
// rebalancing through the parent (a true B-tree: interior items are entries).
#include <cstring>

#include "platform/dbf/index.h"

namespace kestrel::dbf {

void Index::FillPage(NtxPage* page, const char* items, int count, uint32_t right) {
    const size_t isz = header_.item_size;
    page->Init(0);
    for (int j = 0; j < count; ++j) std::memcpy(page->item(j), items + j * isz, isz);
    page->set_count(static_cast<uint16_t>(count));
    page->set_child(count, right);
}

Status Index::InsertInto(size_t depth, const char* raw) {
    const uint32_t offset = path_[depth].page;
    const int pos = path_[depth].pos;
    const size_t isz = header_.item_size;
    NtxPage p(nullptr, 0, 0);
    Status s = Load(offset, &p);
    if (!s.ok()) return s;
    MarkDirty(offset);
    const int n = p.count();
    if (n < header_.max_items) {
        p.Insert(pos, DecodeFixed32(raw), DecodeFixed32(raw + 4), raw + 8);
        return Status::Ok();
    }
    // Split: of the max+1 items the lower half moves to a new page, the next
    // one goes up with the new page as its child, the upper half stays.
    scratch_.resize((n + 1) * isz);
    char* items = scratch_.data();
    for (int j = 0, k = 0; j <= n; ++j) {
        if (j == pos) {
            std::memcpy(items + j * isz, raw, isz);
        } else {
            p.CopyItem(k++, items + j * isz);
        }
    }
    const uint32_t right = p.child(n);
    const int h = std::max<int>(1, std::min<int>(header_.half_page, n - 1));
    uint32_t left_off = 0;
    NtxPage left(nullptr, 0, 0);
    s = Allocate(&left_off, &left);
    if (!s.ok()) return s;
    char sep[kMaxKeySize + 8];
    std::memcpy(sep, items + h * isz, isz);
    FillPage(&left, items, h, DecodeFixed32(sep));
    EncodeFixed32(sep, left_off);
    FillPage(&p, items + (h + 1) * isz, n - h, right);
    if (depth == 0) {
        uint32_t root_off = 0;
        NtxPage root(nullptr, 0, 0);
        s = Allocate(&root_off, &root);
        if (!s.ok()) return s;
        FillPage(&root, sep, 1, offset);
        header_.root = root_off;
        header_dirty_ = true;
        return Status::Ok();
    }
    return InsertInto(depth - 1, sep);
}

Status Index::InsertLocked(std::string_view key, uint32_t recno, bool* present) {
    if (key.size() != header_.key_size) {
        return Status::InvalidArgument(path() + ": key of " + std::to_string(key.size()) +
                                       " bytes, the index has " + std::to_string(header_.key_size));
    }
    // One descent to the leaf by (key, record number); meeting the entry
    // itself on the way means the record is indexed already.
    Status s;
    NtxPage p(nullptr, 0, 0);
    path_.clear();
    uint32_t page = header_.root;
    const size_t ks = header_.key_size;
    for (;;) {
        if (path_.size() > 40) return Status::Corruption(path() + ": tree too deep (a loop?)");
        s = Load(page, &p);
        if (!s.ok()) return s;
        int lo = 0, hi = p.count();
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            int c = std::memcmp(p.key(mid), key.data(), ks);
            if (c < 0 || (c == 0 && p.recno(mid) < recno)) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        if (lo < p.count() && p.recno(lo) == recno && std::memcmp(p.key(lo), key.data(), ks) == 0) {
            if (present != nullptr) {
                *present = true;
                return Status::Ok();
            }
            return Status::InvalidArgument(path() + ": record " + std::to_string(recno) +
                                           " already has this key");
        }
        path_.push_back({page, lo});
        if (p.leaf()) break;
        page = p.child(lo);
    }
    char raw[kMaxKeySize + 8];
    EncodeFixed32(raw, 0);
    EncodeFixed32(raw + 4, recno);
    std::memcpy(raw + 8, key.data(), ks);
    header_dirty_ = true;
    op_changed_ = true;
    return InsertInto(path_.size() - 1, raw);
}

Status Index::FixUnderflow(size_t depth) {
    const size_t isz = header_.item_size;
    for (;;) {
        NtxPage p(nullptr, 0, 0);
        Status s = Load(path_[depth].page, &p);
        if (!s.ok()) return s;
        if (depth == 0) {
            if (p.count() == 0 && !p.leaf()) {
                header_.root = p.child(0);  // the old root page is left unused
                header_dirty_ = true;
            }
            return Status::Ok();
        }
        if (p.count() >= header_.half_page) return Status::Ok();
        const uint32_t q_off = path_[depth - 1].page;
        NtxPage q(nullptr, 0, 0);
        s = Load(q_off, &q);
        if (!s.ok()) return s;
        if (q.count() == 0) return Status::Corruption(path() + ": interior page without keys");
        const int c = path_[depth - 1].pos;
        const int j = c > 0 ? c - 1 : 0;
        const uint32_t a_off = q.child(j), b_off = q.child(j + 1);
        NtxPage a(nullptr, 0, 0), b(nullptr, 0, 0);
        s = Load(a_off, &a);
        if (s.ok()) s = Load(b_off, &b);
        if (!s.ok()) return s;
        if (a.leaf() != b.leaf()) return Status::Corruption(path() + ": leaves at two depths");
        const int na = a.count(), nb = b.count();
        const int total = na + nb + 1;
        scratch_.resize(total * isz);
        char* items = scratch_.data();
        for (int i = 0; i < na; ++i) a.CopyItem(i, items + i * isz);
        q.CopyItem(j, items + na * isz);
        EncodeFixed32(items + na * isz, a.child(na));
        for (int i = 0; i < nb; ++i) b.CopyItem(i, items + (na + 1 + i) * isz);
        const uint32_t right = b.child(nb);
        MarkDirty(a_off);
        MarkDirty(q_off);
        if (total <= header_.max_items) {
            // Join both pages and the separator into the left one.
            FillPage(&a, items, total, right);
            q.Remove(j);
            q.set_child(j, a_off);  // b's page is left unused
            --depth;
            continue;
        }
        // Share the items evenly between the two pages.
        MarkDirty(b_off);
        const int la = total / 2;
        FillPage(&a, items, la, DecodeFixed32(items + la * isz));
        q.SetEntry(j, items + la * isz);
        FillPage(&b, items + (la + 1) * isz, total - la - 1, right);
        return Status::Ok();
    }
}

Status Index::RemoveLocked(std::string_view key, uint32_t recno) {
    if (key.size() != header_.key_size) return Status::InvalidArgument(path() + ": bad key size");
    bool exact = false;
    Status s = LocateEntry(key, recno, &exact);
    if (s.ok() && !exact) {
        // Other programs may keep equal keys out of record order: scan them.
        bool found = false;
        s = SeekLocked(key, false, &found);
        while (s.ok() && valid_ && found && cur_recno_ != recno) {
            s = StepNext();
            found = valid_ && cur_key_ == key;
        }
        exact = s.ok() && valid_ && found;
    }
    if (!s.ok()) return s;
    if (!exact) {
        return Status::NotFound(path() + ": no entry for record " + std::to_string(recno));
    }
    header_dirty_ = true;
    op_changed_ = true;
    const size_t entry_depth = path_.size() - 1;
    NtxPage p(nullptr, 0, 0);
    s = Load(path_[entry_depth].page, &p);
    if (!s.ok()) return s;
    if (!p.leaf()) {
        // Replace the interior entry with its in-order predecessor.
        s = Descend(p.child(path_[entry_depth].pos), false);
        if (!s.ok()) return s;
        NtxPage leaf(nullptr, 0, 0);
        s = Load(path_.back().page, &leaf);
        if (!s.ok()) return s;
        char raw[kMaxKeySize + 8];
        leaf.CopyItem(path_.back().pos, raw);
        p.SetEntry(path_[entry_depth].pos, raw);
        MarkDirty(path_[entry_depth].page);
    }
    NtxPage leaf(nullptr, 0, 0);
    s = Load(path_.back().page, &leaf);
    if (!s.ok()) return s;
    leaf.Remove(path_.back().pos);
    MarkDirty(path_.back().page);
    return FixUnderflow(path_.size() - 1);
}

namespace {

// Keeps the cursor's entry across a change of the tree.
struct CursorKeeper {
    bool valid;
    std::string key;
    uint32_t recno;
};

}  // namespace

Status Index::Insert(std::string_view key, uint32_t recno) {
    // InsertLocked leaves the cursor's entry alone; only its path changes.
    Status s = BeginWrite();
    if (s.ok()) s = InsertLocked(key, recno);
    stale_ = true;
    return End(s);
}

Status Index::Remove(std::string_view key, uint32_t recno) {
    CursorKeeper keep{valid_, cur_key_, cur_recno_};
    Status s = BeginWrite();
    if (s.ok()) s = RemoveLocked(key, recno);
    valid_ = keep.valid;
    cur_key_ = keep.key;
    cur_recno_ = keep.recno;
    stale_ = true;
    return End(s);
}

Status Index::Add(const Record& rec, uint32_t recno) {
    bool included = false;
    KeyOf(rec, &key_scratch_, &included);
    if (!included) return Status::Ok();
    return Insert(key_scratch_, recno);
}

Status Index::Update(const Record& before, const Record& after, uint32_t recno) {
    std::string old_key, new_key;
    bool old_in = false, new_in = false;
    KeyOf(before, &old_key, &old_in);
    KeyOf(after, &new_key, &new_in);
    if (old_in == new_in && (!old_in || old_key == new_key)) return Status::Ok();
    CursorKeeper keep{valid_, cur_key_, cur_recno_};
    Status s = BeginWrite();
    if (s.ok() && old_in) {
        s = RemoveLocked(old_key, recno);
        // A key missing already (a damaged or foreign index) is no reason to
        // refuse the new one.
        if (s.IsNotFound()) s = Status::Ok();
    }
    // The new key already there is what a process stopped between the
    // index files of one write leaves (some moved, the rest not): the entry
    // stands as it should.
    bool present = false;
    if (s.ok() && new_in) s = InsertLocked(new_key, recno, &present);
    valid_ = keep.valid;
    cur_key_ = keep.key;
    cur_recno_ = keep.recno;
    stale_ = true;
    return End(s);
}

}  // namespace kestrel::dbf
