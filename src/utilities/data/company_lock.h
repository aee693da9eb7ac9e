// Who has a company open.
//
// Tables are open only while a function runs, so between two functions
// nothing of a company directory would show that a workstation works on
// it. The program therefore holds the company lock of its current company
// from the moment it loads the company until it leaves it: an OFD read
// lock (shared) on byte 0x7FFFFFFF of the file QRM.LCK in the company
// directory (created when missing). Functions that take a company away
// from everyone (renaming, deleting) first take the same byte with a write
// lock (exclusive), which fails while any other program holds its shared
// lock, and also look at the open-mode byte of every table (PK*.DBF), so a
// tool that has a table open counts too.
//
// OFD locks belong to the open file, not to the process: a program that
// probes its own current company lets its hold go first (TakeExclusive
// does that when it is given the hold).
#pragma once

#include <string>

#include "platform/base/status.h"

namespace kestrel::utilities {

/// The file whose lock marks an open company.
inline constexpr const char* kCompanyLockFile = "QRM.LCK";

class CompanyLock {
  public:
    CompanyLock() = default;
    CompanyLock(const CompanyLock&) = delete;
    CompanyLock& operator=(const CompanyLock&) = delete;
    ~CompanyLock() { Release(); }

    /// Holds company directory `dir` shared (letting go of any other
    /// first). Busy when someone holds it exclusively; IOError when the
    /// lock file cannot be made (a read-only directory): then nothing is
    /// held.
    base::Status Share(const std::string& dir);
    /// Holds `dir` exclusively: Busy while another open file holds it
    /// (shared or exclusive) or any of its tables is open elsewhere.
    base::Status Exclusive(const std::string& dir);
    void Release();

    bool held() const { return fd_ >= 0; }
    /// The directory held, as given ("" when none).
    const std::string& dir() const { return dir_; }

  private:
    base::Status Take(const std::string& dir, bool exclusive);

    int fd_ = -1;
    std::string dir_;
};

/// True when table file `path` is open in another open file (its
/// open-mode byte is locked); false when it does not exist.
bool TableOpenElsewhere(const std::string& path);

/// True when some table of `dir` (a PK*.DBF) is open in another open file
/// (its open-mode byte is locked).
bool AnyTableOpen(const std::string& dir);

/// The exclusive hold of `dir` for renaming or deleting it. `own` is the
/// program's hold of its current company (may be null): when it holds
/// `dir`, it is let go first and taken again should the exclusive hold
/// fail. Busy when another program has the company open.
base::Status TakeExclusive(const std::string& dir, CompanyLock* own, CompanyLock* exclusive);

}  // namespace kestrel::utilities
