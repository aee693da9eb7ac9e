#include "platform/dbf/table.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace kestrel::dbf {

namespace {

constexpr size_t kAppendBuffer = 256 * 1024;
constexpr size_t kReadBlock = 64 * 1024;
constexpr size_t kReadCacheLimit = 256u << 20;

std::string MemoPath(const std::string& dbf) {
    return ReplaceExtension(dbf, "DBT");
}

}  // namespace

std::string WorkCopyName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "@";
    return path.substr(0, dot) + "@" + path.substr(dot);
}

Status Table::Create(const std::string& path, const std::vector<FieldSpec>& fields, FileSystem* fs,
                     const base::Clock* clock) {
    if (!fs) fs = FileSystem::Default();
    DbfHeader h;
    Status s = LayoutHeader(fields, &h);
    if (!s.ok()) return s;
    StampDate(&h, clock);
    std::string tmp = WorkCopyName(path);
    std::unique_ptr<File> f;
    s = fs->Create(tmp, &f);
    if (!s.ok()) return s;
    std::string bytes = EncodeHeader(h);
    bytes.push_back(0x1A);
    s = f->Write(0, bytes);
    if (s.ok()) s = f->Sync();
    f.reset();
    if (s.ok() && h.has_memo()) {
        std::string memo_tmp = WorkCopyName(MemoPath(path));
        s = Memo::Create(fs, memo_tmp);
        if (s.ok()) s = fs->Rename(memo_tmp, MemoPath(path));
    }
    if (s.ok()) s = fs->Rename(tmp, path);
    if (!s.ok()) fs->Remove(tmp);
    return s;
}

Status Table::Open(const std::string& path, const OpenOptions& options,
                   std::unique_ptr<Table>* out) {
    if (options.exclusive && options.read_only) {
        return Status::InvalidArgument(path + ": exclusive use needs write access");
    }
    std::unique_ptr<Table> t(new Table());
    t->path_ = path;
    t->options_ = options;
    t->fs_ = options.fs ? options.fs : FileSystem::Default();
    Status s = t->fs_->Open(path, options.read_only, &t->file_);
    if (!s.ok()) return s;
    s = t->file_->TryLock(kOpenModeLock, 1, options.exclusive ? LockType::kWrite : LockType::kRead);
    if (s.IsBusy()) {
        return Status::Busy(path + (options.exclusive ? ": in use by another user"
                                                      : ": in exclusive use by another user"));
    }
    if (!s.ok()) return s;
    char prologue[32];
    s = t->file_->ReadExact(0, sizeof prologue, prologue);
    if (s.ok()) s = DecodePrologue(path, std::string_view(prologue, sizeof prologue), &t->header_);
    std::string hdr;
    if (s.ok()) {
        hdr.resize(t->header_.header_length);
        s = t->file_->ReadExact(0, hdr.size(), hdr.data());
    }
    if (s.ok()) s = DecodeFields(path, hdr, &t->header_);
    if (s.ok()) s = t->CountFromSize(&t->count_);
    if (s.ok() && t->header_.record_count > t->count_) {
        s = Status::Corruption(path + ": header counts " + std::to_string(t->header_.record_count) +
                               " records but the file holds " + std::to_string(t->count_));
    }
    if (s.ok() && t->header_.has_memo()) {
        s = Memo::Open(t->fs_, MemoPath(path), options.read_only, options.exclusive, &t->memo_);
    }
    if (!s.ok()) {
        t->closed_ = true;
        return s;
    }
    *out = std::move(t);
    return Status::Ok();
}

Table::~Table() {
    Close();
}

Status Table::CountFromSize(uint32_t* count) const {
    uint64_t size = 0;
    Status s = file_->Size(&size);
    if (!s.ok()) return s;
    if (size < header_.header_length) {
        return Status::Corruption(path_ + ": file shorter than its header");
    }
    uint64_t n = (size - header_.header_length) / header_.record_length;
    if (n > kMaxRecords) return Status::Corruption(path_ + ": too many records");
    *count = static_cast<uint32_t>(n);
    return Status::Ok();
}

Status Table::Refresh() {
    if (options_.exclusive) return Status::Ok();
    return CountFromSize(&count_);
}

int Table::FieldIndex(std::string_view name) const {
    Record probe(&header_.fields, 0);
    return probe.FieldIndex(name);
}

Status Table::Read(uint32_t recno, Record* rec) {
    if (recno > count_) {
        Status s = Refresh();
        if (!s.ok()) return s;
    }
    if (recno == 0 || recno > count_) {
        return Status::NotFound(path_ + ": no record " + std::to_string(recno));
    }
    // A record of another table (or of this one before it was reopened) takes
    // this table's layout.
    if (!rec->HasLayout(&header_.fields)) *rec = NewRecord();
    if (buffered_first_ != 0 && recno >= buffered_first_) {
        size_t at = static_cast<size_t>(recno - buffered_first_) * header_.record_length;
        std::memcpy(rec->mutable_bytes().data(), pending_.data() + at, header_.record_length);
        return Status::Ok();
    }
    const uint32_t len = header_.record_length;
    if (options_.exclusive) {
        const uint32_t per = BlockRecords();
        const uint32_t block = (recno - 1) / per;
        auto it = read_cache_.find(block);
        const uint32_t in_file = buffered_first_ != 0 ? buffered_first_ - 1 : count_;
        if (it == read_cache_.end() && (block + 1) * static_cast<uint64_t>(per) <= in_file) {
            std::string data(static_cast<size_t>(per) * len, '\0');
            uint64_t at = header_.header_length + static_cast<uint64_t>(block) * per * len;
            Status s = file_->ReadExact(at, data.size(), data.data());
            if (!s.ok()) return s;
            if (read_cache_bytes_ + data.size() > kReadCacheLimit) {
                read_cache_.clear();
                read_cache_bytes_ = 0;
            }
            read_cache_bytes_ += data.size();
            it = read_cache_.emplace(block, std::move(data)).first;
        }
        if (it != read_cache_.end()) {
            std::memcpy(rec->mutable_bytes().data(),
                        it->second.data() + static_cast<size_t>((recno - 1) % per) * len, len);
            return Status::Ok();
        }
    }
    uint64_t offset = header_.header_length + static_cast<uint64_t>(recno - 1) * len;
    return file_->ReadExact(offset, len, rec->mutable_bytes().data());
}

uint32_t Table::BlockRecords() const {
    return std::max<uint32_t>(1, static_cast<uint32_t>(kReadBlock / header_.record_length));
}

Status Table::Scan(uint32_t first, const std::function<Status(uint32_t, const Record&)>& fn) {
    Status s = FlushAppends();
    if (!s.ok()) return s;
    if (first == 0) first = 1;
    const uint32_t len = header_.record_length;
    const uint32_t per_block = std::max<uint32_t>(1, kAppendBuffer / len);
    std::string block;
    Record rec = NewRecord();
    for (uint32_t n = first; n <= count_;) {
        uint32_t take = std::min(per_block, count_ - n + 1);
        block.resize(static_cast<size_t>(take) * len);
        uint64_t offset = header_.header_length + static_cast<uint64_t>(n - 1) * len;
        s = file_->ReadExact(offset, block.size(), block.data());
        if (!s.ok()) return s;
        for (uint32_t i = 0; i < take; ++i, ++n) {
            std::memcpy(rec.mutable_bytes().data(), block.data() + static_cast<size_t>(i) * len,
                        len);
            s = fn(n, rec);
            if (!s.ok()) return s;
        }
    }
    return Status::Ok();
}

bool Table::CanWrite(uint32_t recno) const {
    return options_.exclusive || file_locked_ || record_locks_.count(recno) != 0;
}

Status Table::Write(uint32_t recno, const Record& rec) {
    if (options_.read_only) return Status::InvalidArgument(path_ + ": opened read-only");
    if (recno == 0 || recno > count_) {
        return Status::NotFound(path_ + ": no record " + std::to_string(recno));
    }
    if (!CanWrite(recno)) {
        return Status::InvalidArgument(path_ + ": record " + std::to_string(recno) +
                                       " changed without its lock");
    }
    if (rec.bytes().size() != header_.record_length) {
        return Status::InvalidArgument(path_ + ": record of another layout");
    }
    dirty_ = true;
    if (buffered_first_ != 0 && recno >= buffered_first_) {
        size_t at = static_cast<size_t>(recno - buffered_first_) * header_.record_length;
        std::memcpy(pending_.data() + at, rec.bytes().data(), header_.record_length);
        return Status::Ok();
    }
    if (!read_cache_.empty()) {
        const uint32_t per = BlockRecords();
        auto it = read_cache_.find((recno - 1) / per);
        if (it != read_cache_.end()) {
            std::memcpy(
                it->second.data() + static_cast<size_t>((recno - 1) % per) * header_.record_length,
                rec.bytes().data(), header_.record_length);
        }
    }
    uint64_t offset =
        header_.header_length + static_cast<uint64_t>(recno - 1) * header_.record_length;
    Status s = file_->Write(offset, rec.bytes());
    if (s.ok() && !options_.exclusive && !date_stamped_) {
        // The date of the last update: three bytes that every writer of the
        // day writes alike, so no header lock is needed for them.
        StampDate(&header_, options_.clock);
        s = file_->Write(1, EncodePrologue(header_).substr(1, 3));
        date_stamped_ = s.ok();
    }
    return s;
}

Status Table::LockHeader() {
    Status s;
    for (int attempt = 0; attempt < 2000; ++attempt) {
        s = file_->TryLock(kLockBase, 1, LockType::kWrite);
        if (!s.IsBusy()) return s;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return s;
}

Status Table::Append(const Record& rec, uint32_t* recno) {
    if (options_.read_only) return Status::InvalidArgument(path_ + ": opened read-only");
    if (rec.bytes().size() != header_.record_length) {
        return Status::InvalidArgument(path_ + ": record of another layout");
    }
    dirty_ = true;
    if (options_.exclusive) {
        if (count_ >= kMaxRecords) return Status::InvalidArgument(path_ + ": table full");
        if (buffered_first_ == 0) buffered_first_ = count_ + 1;
        pending_ += rec.bytes();
        *recno = ++count_;
        if (pending_.size() >= kAppendBuffer) return FlushAppends();
        return Status::Ok();
    }
    // The header lock is held only for the few writes below: wait for it
    // briefly instead of reporting Busy at the first attempt.
    Status s = LockHeader();
    if (!s.ok()) return s;
    uint32_t count = 0;
    s = CountFromSize(&count);
    if (s.ok() && count >= kMaxRecords) s = Status::InvalidArgument(path_ + ": table full");
    if (s.ok()) s = file_->TryLock(kLockBase + count + 1, 1, LockType::kWrite);
    if (s.ok()) {
        uint64_t offset =
            header_.header_length + static_cast<uint64_t>(count) * header_.record_length;
        s = file_->Write(offset, rec.bytes());
        if (s.ok()) {
            header_.record_count = count + 1;
            StampDate(&header_, options_.clock);
            s = file_->Write(0, EncodePrologue(header_));
            date_stamped_ = s.ok();
        }
        if (s.ok()) {
            record_locks_.insert(count + 1);
            count_ = count + 1;
            *recno = count_;
        } else {
            file_->Unlock(kLockBase + count + 1, 1);
        }
    }
    Status u = file_->Unlock(kLockBase, 1);
    return s.ok() ? u : s;
}

Status Table::FlushAppends() {
    if (buffered_first_ == 0) return Status::Ok();
    uint64_t offset =
        header_.header_length + static_cast<uint64_t>(buffered_first_ - 1) * header_.record_length;
    Status s = file_->Write(offset, pending_);
    pending_.clear();
    buffered_first_ = 0;
    return s;
}

Status Table::Flush() {
    if (options_.read_only) return Status::Ok();
    Status s = FlushAppends();
    if (s.ok() && options_.exclusive && dirty_) {
        header_.record_count = count_;
        StampDate(&header_, options_.clock);
        s = file_->Write(0, EncodePrologue(header_));
    }
    return s;
}

Status Table::Zap() {
    if (!options_.exclusive) return Status::InvalidArgument(path_ + ": zap needs exclusive use");
    pending_.clear();
    buffered_first_ = 0;
    read_cache_.clear();
    read_cache_bytes_ = 0;
    count_ = 0;
    dirty_ = true;
    Status s = file_->Truncate(header_.header_length);
    if (s.ok() && memo_) s = memo_->Zap();
    if (s.ok()) s = Flush();
    return s;
}

Status Table::Close() {
    if (closed_) return Status::Ok();
    closed_ = true;
    Status s = Flush();
    if (s.ok() && options_.exclusive && dirty_) {
        uint64_t end =
            header_.header_length + static_cast<uint64_t>(count_) * header_.record_length;
        s = file_->Truncate(end);
        if (s.ok()) s = file_->Write(end, "\x1A");
    }
    UnlockAll();
    // Closed is closed: others may open the table exclusively from now on.
    if (file_) file_->Unlock(kOpenModeLock, 1);
    return s;
}

Status Table::LockRecord(uint32_t recno) {
    if (options_.exclusive || file_locked_ || record_locks_.count(recno)) return Status::Ok();
    Status s = file_->TryLock(kLockBase + recno, 1, LockType::kWrite);
    if (s.ok()) record_locks_.insert(recno);
    return s;
}

Status Table::UnlockRecord(uint32_t recno) {
    if (record_locks_.erase(recno) == 0) return Status::Ok();
    return file_->Unlock(kLockBase + recno, 1);
}

Status Table::LockFile() {
    if (options_.exclusive || file_locked_) return Status::Ok();
    Status s = UnlockAll();
    if (!s.ok()) return s;
    s = file_->TryLock(kLockBase + 1, kLockBase, LockType::kWrite);
    if (s.ok()) file_locked_ = true;
    return s;
}

Status Table::UnlockAll() {
    Status result;
    for (uint32_t r : record_locks_) {
        Status s = file_->Unlock(kLockBase + r, 1);
        if (result.ok()) result = s;
    }
    record_locks_.clear();
    if (file_locked_) {
        Status s = file_->Unlock(kLockBase + 1, kLockBase);
        if (result.ok()) result = s;
        file_locked_ = false;
    }
    return result;
}

Status Table::ReadMemo(const Record& rec, int field, std::string* text) const {
    text->clear();
    if (!memo_) return Status::Ok();
    return memo_->Read(rec.GetMemoBlock(field), text);
}

Status Table::WriteMemo(Record* rec, int field, std::string_view text) {
    if (!memo_) return Status::InvalidArgument(path_ + ": table has no memo file");
    if (text.empty()) {
        rec->SetMemoBlock(field, 0);
        return Status::Ok();
    }
    uint32_t block = 0;
    Status s = memo_->Write(text, &block);
    if (s.ok()) rec->SetMemoBlock(field, block);
    return s;
}

}  // namespace kestrel::dbf
