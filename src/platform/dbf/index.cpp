// Index: opening, the page cache, the locking protocol and the cursor
// (its movements; seeks by key are in index_seek.cpp).
#include "platform/dbf/index.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/dbf/table.h"

namespace kestrel::dbf {

namespace {

int CompareEntry(const char* a, uint32_t ra, const char* b, uint32_t rb, size_t n) {
    int c = std::memcmp(a, b, n);
    if (c != 0) return c;
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

}  // namespace

Status Index::Open(const std::string& path, bool exclusive, bool read_only,
                   std::unique_ptr<Index>* out, FileSystem* fs) {
    if (!fs) fs = FileSystem::Default();
    std::unique_ptr<File> f;
    Status s = fs->Open(path, read_only, &f);
    if (!s.ok()) return s;
    std::unique_ptr<Index> idx(new Index(std::move(f), exclusive, read_only));
    s = idx->BeginRead();
    s = idx->End(s);
    if (!s.ok()) return s;
    *out = std::move(idx);
    return Status::Ok();
}

Index::~Index() {
    Close();
}

Status Index::Close() {
    Status s = Flush();
    ForgetPages();
    dirty_.clear();
    return s;
}

Index::CachedPage* Index::Cached(uint32_t offset) {
    const size_t n = offset / kNtxPage;
    if (n >= pages_.size() || pages_[n].data == nullptr) return nullptr;
    return &pages_[n];
}

Index::CachedPage& Index::Keep(uint32_t offset, std::unique_ptr<char[]> data) {
    const size_t n = offset / kNtxPage;
    if (n >= pages_.size()) pages_.resize(std::max(n + 1, pages_.size() * 2));
    CachedPage& page = pages_[n];
    if (page.data == nullptr) cached_.push_back(static_cast<uint32_t>(n));
    page.data = std::move(data);
    page.dirty = false;
    return page;
}

void Index::ForgetPages() {
    for (uint32_t n : cached_) pages_[n] = CachedPage();
    cached_.clear();
}

void Index::Bind(KeyFunction key, ForFunction condition) {
    key_fn_ = std::move(key);
    for_fn_ = std::move(condition);
}

void Index::KeyOf(const Record& rec, std::string* key, bool* included) const {
    key->clear();
    *included = !for_fn_ || for_fn_(rec);
    if (key_fn_) key_fn_(rec, key);
    key->resize(header_.key_size, ' ');
}

Status Index::ReloadHeader() {
    char page[kNtxPage];
    Status s = file_->ReadExact(0, kNtxPage, page);
    NtxHeader h;
    if (s.ok()) s = DecodeNtxHeader(path(), std::string_view(page, kNtxPage), &h);
    if (!s.ok()) return s;
    const bool changed = h.counter != header_.counter || h.root != header_.root ||
                         h.free_page != header_.free_page || h.key_size != header_.key_size;
    if (changed) {
        ForgetPages();
        dirty_.clear();
        stale_ = true;
    }
    // Every change rewrites the header with a new counter, so the file can
    // only have grown under another workstation when the header changed:
    // the size is asked for then (and on the first read) only.
    if (changed || file_end_ == 0) {
        uint64_t size = 0;
        s = file_->Size(&size);
        if (!s.ok()) return s;
        file_end_ = (size + kNtxPage - 1) / kNtxPage * kNtxPage;
    }
    header_ = std::move(h);
    if (header_.root + kNtxPage > file_end_) {
        return Status::Corruption(path() + ": root page lies beyond the end of the file");
    }
    return Status::Ok();
}

Status Index::BeginRead() {
    return Begin(LockType::kRead);
}

Status Index::BeginWrite() {
    if (read_only_) return Status::InvalidArgument(path() + ": opened read-only");
    if (broken_) return Status::Corruption(path() + ": damaged, rebuild the index");
    return Begin(LockType::kWrite);
}

Status Index::Begin(LockType type) {
    if (exclusive_) {
        if (header_.key_size != 0) return Status::Ok();
        return ReloadHeader();
    }
    // The index lock is held only for one operation: wait for it up to a second.
    Status s;
    for (int attempt = 0; attempt < 4000; ++attempt) {
        s = file_->TryLock(kLockBase, 1, type);
        if (!s.IsBusy()) break;
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
    if (!s.ok()) return s;
    locked_ = true;
    return ReloadHeader();
}

void Index::MarkBroken() {
    broken_ = true;
    ForgetPages();
    dirty_.clear();
    header_dirty_ = false;
    stale_ = true;
    file_end_ = 0;  // pages taken by the failed change may never have been written
}

Status Index::End(Status s) {
    if (!s.ok() && op_changed_) {
        // A change failed half-way: the cached tree is no longer trusted and
        // nothing more of it reaches the file.
        MarkBroken();
    } else if (s.ok() && header_dirty_ && !exclusive_) {
        s = WriteDirty();
        if (!s.ok()) MarkBroken();  // part of the change may be on disk
    }
    op_changed_ = false;
    if (s.ok() && cached_.size() > cache_limit_) {
        s = WritePages();
        if (s.ok()) {
            ForgetPages();
        } else {
            MarkBroken();
        }
    }
    if (locked_) {
        Status u = file_->Unlock(kLockBase, 1);
        locked_ = false;
        if (s.ok()) s = u;
    }
    return s;
}

Status Index::WriteDirty() {
    if (!header_dirty_) return Status::Ok();
    Status s = WritePages();
    if (!s.ok()) return s;
    header_.counter = static_cast<uint16_t>(header_.counter + 1);
    s = file_->Write(0, EncodeNtxHeader(header_));
    header_dirty_ = false;
    return s;
}

Status Index::WritePages() {
    std::sort(dirty_.begin(), dirty_.end());
    dirty_.erase(std::unique(dirty_.begin(), dirty_.end()), dirty_.end());
    Status s;
    for (uint32_t off : dirty_) {
        CachedPage* page = Cached(off);
        if (page == nullptr) continue;
        s = file_->Write(off, std::string_view(page->data.get(), kNtxPage));
        if (!s.ok()) return s;
        page->dirty = false;
    }
    dirty_.clear();
    return s;
}

Status Index::Flush() {
    if (read_only_ || broken_) return Status::Ok();
    Status s = WriteDirty();
    if (!s.ok()) MarkBroken();
    return s;
}

Status Index::Load(uint32_t offset, NtxPage* page) {
    if (CachedPage* cached = Cached(offset)) {
        *page = PageAt(cached->data.get());
        return Status::Ok();
    }
    if (offset < kNtxPage || offset % kNtxPage != 0 || offset + kNtxPage > file_end_) {
        return Status::Corruption(path() + ": page offset " + std::to_string(offset) +
                                  " outside the file");
    }
    std::unique_ptr<char[]> data(new char[kNtxPage]);
    Status s = file_->ReadExact(offset, kNtxPage, data.get());
    if (!s.ok()) return s;
    NtxPage p = PageAt(data.get());
    if (!p.Valid()) {
        return Status::Corruption(path() + ": damaged page at offset " + std::to_string(offset));
    }
    *page = p;
    Keep(offset, std::move(data));
    return Status::Ok();
}

void Index::MarkDirty(uint32_t offset) {
    CachedPage* page = Cached(offset);
    if (page != nullptr && !page->dirty) {
        page->dirty = true;
        dirty_.push_back(offset);
    }
    header_dirty_ = true;
}

Status Index::Allocate(uint32_t* offset, NtxPage* page) {
    if (file_end_ + kNtxPage > 0xFFFFFFFFull) return Status::IOError(path() + ": index too large");
    *offset = static_cast<uint32_t>(file_end_);
    file_end_ += kNtxPage;
    CachedPage& cached = Keep(*offset, std::unique_ptr<char[]>(new char[kNtxPage]));
    *page = PageAt(cached.data.get());
    page->Init(0);
    MarkDirty(*offset);
    return Status::Ok();
}

// ---- cursor ----

Status Index::TakeCurrent() {
    const Level& top = path_.back();
    NtxPage p(nullptr, 0, 0);
    Status s = Load(top.page, &p);
    if (!s.ok()) return s;
    cur_key_.assign(p.key(top.pos), header_.key_size);
    cur_recno_ = p.recno(top.pos);
    valid_ = true;
    return Status::Ok();
}

// Goes down from `page` to its first (leftmost) or last entry.
Status Index::Descend(uint32_t page, bool leftmost) {
    for (;;) {
        if (path_.size() > kMaxDepth)
            return Status::Corruption(path() + ": tree too deep (a loop?)");
        NtxPage p(nullptr, 0, 0);
        Status s = Load(page, &p);
        if (!s.ok()) return s;
        int n = p.count();
        if (p.leaf()) {
            if (n == 0) {
                // Only an empty root may be an empty leaf.
                if (!path_.empty()) return Status::Corruption(path() + ": empty page in the tree");
                valid_ = false;
                return Status::Ok();
            }
            path_.push_back({page, leftmost ? 0 : n - 1});
            return TakeCurrent();
        }
        path_.push_back({page, leftmost ? 0 : n});
        page = p.child(leftmost ? 0 : n);
    }
}

Status Index::StepNext() {
    Level& top = path_.back();
    NtxPage p(nullptr, 0, 0);
    Status s = Load(top.page, &p);
    if (!s.ok()) return s;
    if (!p.leaf()) {
        top.pos += 1;
        return Descend(p.child(top.pos), true);
    }
    top.pos += 1;
    while (!path_.empty()) {
        Level& l = path_.back();
        s = Load(l.page, &p);
        if (!s.ok()) return s;
        if (l.pos < p.count()) {
            return TakeCurrent();
        }
        path_.pop_back();
    }
    valid_ = false;
    return Status::Ok();
}

Status Index::StepPrev() {
    Level& top = path_.back();
    NtxPage p(nullptr, 0, 0);
    Status s = Load(top.page, &p);
    if (!s.ok()) return s;
    if (!p.leaf()) return Descend(p.child(top.pos), false);
    top.pos -= 1;
    while (!path_.empty()) {
        Level& l = path_.back();
        if (l.pos >= 0) {
            return TakeCurrent();
        }
        path_.pop_back();
        if (!path_.empty()) path_.back().pos -= 1;
    }
    valid_ = false;
    return Status::Ok();
}

// Puts the cursor on the first entry >= (key, recno).
Status Index::LocateEntry(std::string_view key, uint32_t recno, bool* exact) {
    path_.clear();
    valid_ = false;
    *exact = false;
    uint32_t page = header_.root;
    const size_t ks = header_.key_size;
    for (;;) {
        if (path_.size() > kMaxDepth)
            return Status::Corruption(path() + ": tree too deep (a loop?)");
        NtxPage p(nullptr, 0, 0);
        Status s = Load(page, &p);
        if (!s.ok()) return s;
        int lo = 0, hi = p.count();
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            if (CompareEntry(p.key(mid), p.recno(mid), key.data(), recno, ks) < 0) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        path_.push_back({page, lo});
        if (lo < p.count() && CompareEntry(p.key(lo), p.recno(lo), key.data(), recno, ks) == 0) {
            *exact = true;
            return TakeCurrent();
        }
        if (p.leaf()) break;
        page = p.child(lo);
    }
    return ClimbToEntry();
}

Status Index::ClimbToEntry() {
    while (!path_.empty()) {
        Level& l = path_.back();
        NtxPage p(nullptr, 0, 0);
        Status s = Load(l.page, &p);
        if (!s.ok()) return s;
        if (l.pos < p.count()) return TakeCurrent();
        path_.pop_back();
    }
    return Status::Ok();
}

Status Index::Reposition() {
    if (!stale_) return Status::Ok();
    stale_ = false;
    if (!valid_) return Status::Ok();
    std::string key = cur_key_;
    uint32_t recno = cur_recno_;
    bool exact = false;
    Status s = LocateEntry(key, recno, &exact);
    if (s.ok() && !exact) {
        // The entry went away: stand on its successor, remembered as "just
        // before it" so that Next() does not skip it.
        stale_ = false;
        repositioned_ahead_ = true;
    }
    return s;
}

Status Index::GoTop() {
    Status s = BeginRead();
    path_.clear();
    valid_ = false;
    stale_ = false;
    repositioned_ahead_ = false;
    if (s.ok()) s = Descend(header_.root, true);
    return End(s);
}

Status Index::GoBottom() {
    Status s = BeginRead();
    path_.clear();
    valid_ = false;
    stale_ = false;
    repositioned_ahead_ = false;
    if (s.ok()) s = Descend(header_.root, false);
    return End(s);
}

Status Index::Next() {
    Status s = BeginRead();
    if (s.ok()) s = Reposition();
    if (s.ok() && valid_) {
        if (repositioned_ahead_) {
            repositioned_ahead_ = false;
        } else {
            s = StepNext();
        }
    }
    return End(s);
}

Status Index::Prev() {
    Status s = BeginRead();
    if (s.ok()) s = Reposition();
    repositioned_ahead_ = false;
    if (s.ok()) {
        if (valid_) {
            s = StepPrev();
        } else {
            path_.clear();
            s = Descend(header_.root, false);
        }
    }
    return End(s);
}

std::string NumericKey(double value, int size, int decimals) {
    std::string text;
    if (!FormatNumber(value, size, decimals, &text)) text.assign(size, '*');
    bool negative = text.find('-') != std::string::npos;
    for (char& c : text) {
        if (c == ' ' || c == '-') c = '0';
    }
    if (negative) {
        for (char& c : text) {
            if (c >= '0' && c <= '9') c = static_cast<char>(0x2C - (c - '0'));
        }
    }
    return text;
}

}  // namespace kestrel::dbf
