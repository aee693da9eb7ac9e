// A file system for tests that fails writes on demand: it passes everything
// to the real one until told to refuse the writes (or renames) to files
// whose path contains a given text, like a full disk under one file.
#pragma once

#include <memory>
#include <string>

#include "platform/dbf/file.h"

namespace kestrel::dbf::testing {

class FaultyFileSystem : public FileSystem {
  public:
    /// Writes to files whose path contains `part` fail after `after` more
    /// successful ones; "" never fails.
    void FailWrites(std::string part, int after) {
        write_part_ = std::move(part);
        writes_left_ = after;
    }
    void FailRenames(bool fail) { fail_renames_ = fail; }
    int failed_writes() const { return failed_writes_; }

    Status Open(const std::string& path, bool read_only, std::unique_ptr<File>* out) override;
    Status Create(const std::string& path, std::unique_ptr<File>* out) override;
    bool Exists(const std::string& path) override { return real()->Exists(path); }
    Status Rename(const std::string& from, const std::string& to) override {
        if (fail_renames_) return Status::IOError(to + ": rename refused");
        return real()->Rename(from, to);
    }
    Status Remove(const std::string& path) override { return real()->Remove(path); }

    /// Whether a write to `path` may go through now (counts it).
    bool AllowWrite(const std::string& path) {
        if (write_part_.empty() || path.find(write_part_) == std::string::npos) return true;
        if (writes_left_ > 0) {
            --writes_left_;
            return true;
        }
        ++failed_writes_;
        return false;
    }

  private:
    static FileSystem* real() { return FileSystem::Default(); }

    std::string write_part_;
    int writes_left_ = 0;
    int failed_writes_ = 0;
    bool fail_renames_ = false;
};

class FaultyFile : public File {
  public:
    FaultyFile(FaultyFileSystem* fs, std::unique_ptr<File> inner)
        : fs_(fs), inner_(std::move(inner)) {}
    const std::string& path() const override { return inner_->path(); }
    Status Read(uint64_t offset, size_t n, char* buf, size_t* got) const override {
        return inner_->Read(offset, n, buf, got);
    }
    Status Write(uint64_t offset, std::string_view data) override {
        if (!fs_->AllowWrite(path())) return Status::IOError(path() + ": no space left on device");
        return inner_->Write(offset, data);
    }
    Status Size(uint64_t* size) const override { return inner_->Size(size); }
    Status Truncate(uint64_t size) override { return inner_->Truncate(size); }
    Status Sync() override { return inner_->Sync(); }
    Status TryLock(uint64_t offset, uint64_t length, LockType type) override {
        return inner_->TryLock(offset, length, type);
    }
    Status Unlock(uint64_t offset, uint64_t length) override {
        return inner_->Unlock(offset, length);
    }

  private:
    FaultyFileSystem* fs_;
    std::unique_ptr<File> inner_;
};

inline Status FaultyFileSystem::Open(const std::string& path, bool read_only,
                                     std::unique_ptr<File>* out) {
    std::unique_ptr<File> f;
    Status s = real()->Open(path, read_only, &f);
    if (s.ok()) *out = std::make_unique<FaultyFile>(this, std::move(f));
    return s;
}

inline Status FaultyFileSystem::Create(const std::string& path, std::unique_ptr<File>* out) {
    std::unique_ptr<File> f;
    Status s = real()->Create(path, &f);
    if (s.ok()) *out = std::make_unique<FaultyFile>(this, std::move(f));
    return s;
}

}  // namespace kestrel::dbf::testing
