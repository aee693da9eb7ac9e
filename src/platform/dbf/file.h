// The file system under the table engine: files with positioned reads and
// writes and byte-range locks, behind an interface so that tests can put a
// fake (failing disks, for one) under tables, memo files and indexes.
//
// The real one (FileSystem::Default()) opens each file once per File object,
// and takes Linux open-file-description locks (F_OFD_SETLK) on it: its locks
// conflict with every other File of the same path, also inside one process,
// so a second open of a table stands for another workstation in tests. Locks
// never wait: a lock held elsewhere gives a Busy status at once.
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
    virtual ~File() = default;

    virtual const std::string& path() const = 0;
    /// Reads up to n bytes at `offset`; *got is less than n only at the end of the file.
    virtual Status Read(uint64_t offset, size_t n, char* buf, size_t* got) const = 0;
    /// Reads exactly n bytes; a short file gives Corruption naming the file.
    Status ReadExact(uint64_t offset, size_t n, char* buf) const;
    virtual Status Write(uint64_t offset, std::string_view data) = 0;
    virtual Status Size(uint64_t* size) const = 0;
    virtual Status Truncate(uint64_t size) = 0;
    virtual Status Sync() = 0;
    /// Takes a lock on [offset, offset+length) without waiting; Busy when
    /// another open of the file holds a conflicting lock.
    virtual Status TryLock(uint64_t offset, uint64_t length, LockType type) = 0;
    virtual Status Unlock(uint64_t offset, uint64_t length) = 0;

    /// Opens with the default file system (see FileSystem::Open).
    static Status Open(const std::string& path, bool read_only, std::unique_ptr<File>* out);
    static Status Create(const std::string& path, std::unique_ptr<File>* out);
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    /// Opens an existing file, for reading and writing unless `read_only`;
    /// NotFound when it does not exist.
    virtual Status Open(const std::string& path, bool read_only, std::unique_ptr<File>* out) = 0;
    /// Creates a file (empty; an existing one is truncated).
    virtual Status Create(const std::string& path, std::unique_ptr<File>* out) = 0;
    virtual bool Exists(const std::string& path) = 0;
    /// Renames atomically over an existing `to`.
    virtual Status Rename(const std::string& from, const std::string& to) = 0;
    /// Removes a file; a missing file is not an error.
    virtual Status Remove(const std::string& path) = 0;

    /// The operating system's file system; never deleted.
    static FileSystem* Default();
};

/// The default file system's Exists, Rename and Remove.
bool FileExists(const std::string& path);
Status RenameFile(const std::string& from, const std::string& to);
Status RemoveFile(const std::string& path);

/// Tells whether `path` lies on a network file system (NFS, SMB/CIFS), where
/// an open held by another workstation is worth a few silent retries.
Status IsNetworkFileSystem(const std::string& path, bool* network);
/// The name of the file with its extension replaced, keeping the case of the
/// old extension's first letter ("A.DBF", "DBT" -> "A.DBT"; "a.dbf" -> "a.dbt").
std::string ReplaceExtension(const std::string& path, std::string_view upper_ext);

}  // namespace kestrel::dbf
