#include "platform/dbf/memo.h"

#include <chrono>
#include <thread>

#include "platform/dbf/coding.h"

namespace kestrel::dbf {

namespace {

constexpr uint64_t kMaxMemo = 16u << 20;

std::string HeaderBlock(uint32_t next_free) {
    std::string h(kMemoBlock, '\0');
    EncodeFixed32(h.data(), next_free);
    h[16] = 0x03;
    return h;
}

}  // namespace

Status Memo::Create(FileSystem* fs, const std::string& path) {
    std::unique_ptr<File> f;
    Status s = fs->Create(path, &f);
    if (s.ok()) s = f->Write(0, HeaderBlock(1));
    return s;
}

Status Memo::Open(FileSystem* fs, const std::string& path, bool read_only, bool exclusive,
                  std::unique_ptr<Memo>* out) {
    std::unique_ptr<File> f;
    Status s = fs->Open(path, read_only, &f);
    if (!s.ok()) return s;
    out->reset(new Memo(std::move(f), exclusive));
    uint32_t next = 0;
    return (*out)->ReadNextFree(&next);
}

Status Memo::ReadNextFree(uint32_t* next) const {
    char buf[4];
    Status s = file_->ReadExact(0, 4, buf);
    if (!s.ok()) return s;
    *next = DecodeFixed32(buf);
    if (*next == 0) return Status::Corruption(path() + ": next free block is 0");
    return Status::Ok();
}

Status Memo::Read(uint32_t block, std::string* text) const {
    text->clear();
    if (block == 0) return Status::Ok();
    uint64_t size = 0;
    Status s = file_->Size(&size);
    if (!s.ok()) return s;
    uint64_t offset = static_cast<uint64_t>(block) * kMemoBlock;
    if (offset >= size) {
        return Status::Corruption(path() + ": memo block " + std::to_string(block) +
                                  " lies beyond the end of the file");
    }
    char buf[kMemoBlock];
    while (offset < size) {
        size_t got = 0;
        s = file_->Read(offset, kMemoBlock, buf, &got);
        if (!s.ok()) return s;
        for (size_t i = 0; i < got; ++i) {
            if (buf[i] == 0x1A) {
                text->append(buf, i);
                return Status::Ok();
            }
        }
        text->append(buf, got);
        if (text->size() > kMaxMemo) {
            return Status::Corruption(path() + ": memo at block " + std::to_string(block) +
                                      " has no end mark");
        }
        offset += got;
        if (got < kMemoBlock) break;
    }
    return Status::Ok();
}

Status Memo::Write(std::string_view text, uint32_t* block) {
    if (text.find('\x1A') != std::string_view::npos) {
        return Status::InvalidArgument(path() + ": a memo cannot contain the byte 0x1A");
    }
    bool locked = false;
    if (!exclusive_) {
        Status s;
        for (int attempt = 0; attempt < 2000; ++attempt) {
            s = file_->TryLock(0, 1, LockType::kWrite);
            if (!s.IsBusy()) break;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        if (!s.ok()) return s;
        locked = true;
    }
    uint32_t next = 0;
    uint64_t size = 0;
    Status s = ReadNextFree(&next);
    if (s.ok()) s = file_->Size(&size);
    if (s.ok()) {
        // Never overwrite blocks another writer appended without moving the header.
        uint64_t end_block = (size + kMemoBlock - 1) / kMemoBlock;
        if (end_block > next) next = static_cast<uint32_t>(end_block);
        std::string data(text);
        data += "\x1A\x1A";
        data.resize((data.size() + kMemoBlock - 1) / kMemoBlock * kMemoBlock, '\0');
        s = file_->Write(static_cast<uint64_t>(next) * kMemoBlock, data);
        if (s.ok()) {
            char hdr[4];
            EncodeFixed32(hdr, next + static_cast<uint32_t>(data.size() / kMemoBlock));
            s = file_->Write(0, std::string_view(hdr, 4));
        }
        if (s.ok()) *block = next;
    }
    if (locked) {
        Status u = file_->Unlock(0, 1);
        if (s.ok()) s = u;
    }
    return s;
}

Status Memo::Zap() {
    Status s = file_->Truncate(kMemoBlock);
    if (s.ok()) s = file_->Write(0, HeaderBlock(1));
    return s;
}

}  // namespace kestrel::dbf
