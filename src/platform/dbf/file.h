// File: one open file of a table, memo or index, with positioned reads and
// writes and open-file-description byte-range locks.
//
// Each File is its own open file description (one open() per work area), so
// its locks conflict with every other File of the same path, also inside one
// process: a second File of a table stands for another workstation in tests.
// Locks never wait: a lock held elsewhere gives a Busy status at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace kestrel::dbf {

using base::Status;

enum class LockType { kRead, kWrite };

class File {
  public:
    /// Opens an existing file, for reading and writing unless `read_only`.
    static Status Open(const std::string& path, bool read_only, std::unique_ptr<File>* out);
    /// Creates a file (empty; an existing one is truncated).
    static Status Create(const std::string& path, std::unique_ptr<File>* out);

    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const std::string& path() const { return path_; }

    /// Reads up to n bytes at `offset`; *got is less than n only at the end of the file.
    Status Read(uint64_t offset, size_t n, char* buf, size_t* got) const;
    /// Reads exactly n bytes; a short file gives Corruption naming the file.
    Status ReadExact(uint64_t offset, size_t n, char* buf) const;
    Status Write(uint64_t offset, std::string_view data);
    Status Size(uint64_t* size) const;
    Status Truncate(uint64_t size);
    Status Sync();

    /// Takes a lock on [offset, offset+length) without waiting; Busy when
    /// another open file description holds a conflicting lock.
    Status TryLock(uint64_t offset, uint64_t length, LockType type);
    Status Unlock(uint64_t offset, uint64_t length);

  private:
    File(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

    std::string path_;
    int fd_;
};

bool FileExists(const std::string& path);
/// Tells whether `path` lies on a network file system (NFS, SMB/CIFS), where
/// an open held by another workstation is worth a few silent retries.
Status IsNetworkFileSystem(const std::string& path, bool* network);
/// Renames atomically over an existing `to`.
Status RenameFile(const std::string& from, const std::string& to);
/// Removes a file; a missing file is not an error.
Status RemoveFile(const std::string& path);
/// The name of the file with its extension replaced, keeping the case of the
/// old extension's first letter ("A.DBF", "DBT" -> "A.DBT"; "a.dbf" -> "a.dbt").
std::string ReplaceExtension(const std::string& path, std::string_view upper_ext);

}  // namespace kestrel::dbf
