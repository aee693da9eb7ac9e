// Table: one open DBF file (and its DBT when the table has memo fields).
//
// Records are numbered from 1. In shared mode the record count comes from the
// file size, because the header can lag other workstations' appends; it is
// re-read by Refresh() and whenever a record beyond the known count is asked
// for. Every change of an existing record in shared mode needs its record
// lock or the file lock. Locks never wait: Busy means another user holds it,
// and the caller decides whether to retry or ask the operator.
//
// Lock offsets in the DBF (the conventions other xBase programs honour):
//   header/append 1,000,000,000 (1 byte); record n 1,000,000,000 + n;
//   whole file 1,000,000,001 (1,000,000,000 bytes); open mode 0x7FFFFFFF
//   (read lock when shared, write lock when exclusive).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dbf/dbf_header.h"
#include "platform/dbf/file.h"
#include "platform/dbf/memo.h"
#include "platform/dbf/record.h"

namespace kestrel::dbf {

struct OpenOptions {
    bool exclusive = false;    // fails while anyone else has the table open
    bool read_only = false;    // shared read-only use
    FileSystem* fs = nullptr;  // nullptr: FileSystem::Default()
    // The date of the last update written into the header; nullptr: the
    // system clock.
    const base::Clock* clock = nullptr;
};

constexpr uint64_t kLockBase = 1'000'000'000;
constexpr uint64_t kOpenModeLock = 0x7FFFFFFF;

class Table {
  public:
    /// Creates an empty table (and its DBT when any field is M), replacing an
    /// existing file only after the new one is complete; its header carries
    /// the date of `clock` (nullptr: the system clock).
    static Status Create(const std::string& path, const std::vector<FieldSpec>& fields,
                         FileSystem* fs = nullptr, const base::Clock* clock = nullptr);
    /// Opens a table. Busy when it is held exclusively by another user (or,
    /// for exclusive opening, open by anyone else); Corruption naming the
    /// file when its header or size contradict the format.
    static Status Open(const std::string& path, const OpenOptions& options,
                       std::unique_ptr<Table>* out);

    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    /// Writes pending appends; after exclusive use also the header (record
    /// count, date) and the end-of-file byte. Releases every lock.
    Status Close();
    /// Writes pending appends and the header (exclusive mode buffers them).
    Status Flush();

    const std::string& path() const { return path_; }
    const std::vector<Field>& fields() const { return header_.fields; }
    int FieldIndex(std::string_view name) const;
    uint32_t record_length() const { return header_.record_length; }
    bool exclusive() const { return options_.exclusive; }
    bool read_only() const { return options_.read_only; }
    bool has_memo() const { return memo_ != nullptr; }
    /// The file system the table lives on (its indexes and work copies too).
    FileSystem* file_system() const { return fs_; }
    /// The clock of the header's dates, as opened (nullptr: the system clock).
    const base::Clock* clock() const { return options_.clock; }
    const DbfHeader& header() const { return header_; }

    /// The record count as last seen (see Refresh).
    uint32_t record_count() const { return count_; }
    /// Re-reads the record count from the file size (shared mode).
    Status Refresh();

    /// A blank record of this table's layout.
    Record NewRecord() const { return Record(&header_.fields, header_.record_length); }
    /// Reads record `recno`; NotFound when there is no such record.
    Status Read(uint32_t recno, Record* rec);
    /// Rewrites record `recno`; in shared mode it must be locked by this table.
    Status Write(uint32_t recno, const Record& rec);
    /// Appends a record at the end and returns its number. In shared mode the
    /// append is made under the header lock (held only for the append) and
    /// the new record stays locked.
    Status Append(const Record& rec, uint32_t* recno);
    /// Calls `fn` for records first..count in order, reading the file in large
    /// blocks; stops at the first status that is not ok and returns it.
    Status Scan(uint32_t first, const std::function<Status(uint32_t, const Record&)>& fn);
    /// Removes every record (exclusive only).
    Status Zap();

    Status LockRecord(uint32_t recno);
    Status UnlockRecord(uint32_t recno);
    /// Releases record locks, then locks the whole file.
    Status LockFile();
    /// Releases the file lock and every record lock.
    Status UnlockAll();
    /// True when this table may change `recno` (exclusive, file lock or record lock).
    bool CanWrite(uint32_t recno) const;

    /// The text of memo field `field` of `rec` (empty when it has none).
    Status ReadMemo(const Record& rec, int field, std::string* text) const;
    /// Stores `text` as a new memo and points field `field` of *rec at it.
    Status WriteMemo(Record* rec, int field, std::string_view text);

  private:
    Table() = default;
    Status CountFromSize(uint32_t* count) const;
    Status FlushAppends();
    Status LockHeader();
    uint32_t BlockRecords() const;

    std::string path_;
    OpenOptions options_;
    FileSystem* fs_ = nullptr;
    DbfHeader header_;
    std::unique_ptr<File> file_;
    std::unique_ptr<Memo> memo_;
    uint32_t count_ = 0;
    bool dirty_ = false;
    bool date_stamped_ = false;  // shared mode: today's date is in the header
    bool closed_ = false;
    // Exclusive mode: appended records not yet written, starting at record
    // buffered_first_.
    std::string pending_;
    uint32_t buffered_first_ = 0;
    // Exclusive mode: whole blocks of records read once and kept (no other
    // user can change them), written through by Write().
    std::unordered_map<uint32_t, std::string> read_cache_;
    size_t read_cache_bytes_ = 0;
    std::set<uint32_t> record_locks_;
    bool file_locked_ = false;
};

/// The name of a work copy beside `path`: "DIR/NAME@.EXT".
std::string WorkCopyName(const std::string& path);

}  // namespace kestrel::dbf
