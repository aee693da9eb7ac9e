// Index: one NTX file, its B-tree of fixed-size keys and a cursor over it.
//
// Keys compare as unsigned bytes over the key size; entries are ordered by
// key, then record number. Key values come from a callback the owner binds
// after opening (the stored key expression is compiled elsewhere); an index
// without a bound key function can be read but not maintained.
//
// Shared mode: every operation takes the index lock (NTX byte 1,000,000,000;
// read lock for reads, write lock for changes), re-reads the header, drops
// the cached pages when another user changed the file (update counter, root),
// works, writes its changes with the counter bumped and unlocks. The lock is
// held only inside one call, so a call waits for it briefly and reports Busy
// only when another user holds it for long. Exclusive mode keeps pages cached
// and writes them on Flush() or Close().
//
// Deleted records keep their keys, as in every xBase program; hiding them is
// the reader's business (see WorkArea).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/file.h"
#include "platform/dbf/ntx_format.h"
#include "platform/dbf/record.h"

namespace kestrel::dbf {

class Table;

/// Computes a record's key into *key (cleared by the caller). The engine pads
/// or cuts the result to the key size.
using KeyFunction = std::function<void(const Record& rec, std::string* key)>;
/// True when a record belongs in the index (the FOR condition).
using ForFunction = std::function<bool(const Record& rec)>;

struct IndexDefinition {
    std::string key_expression;  // stored in the header, up to 255 characters
    std::string for_expression;  // "" when every record is indexed
    KeyFunction key;
    ForFunction condition;  // empty when for_expression is ""
    uint16_t key_decimals = 0;
};

class Index {
  public:
    /// Builds an index over every record of `table` from sorted keys (bottom
    /// up) into a work copy, then renames it over `path`. The key size is the
    /// width of the key of a blank record. The new index is not opened.
    static Status Create(const std::string& path, Table* table, const IndexDefinition& def);
    /// Opens an index; `exclusive` and `read_only` follow the table's mode.
    static Status Open(const std::string& path, bool exclusive, bool read_only,
                       std::unique_ptr<Index>* out, FileSystem* fs = nullptr);

    ~Index();
    Index(const Index&) = delete;
    Index& operator=(const Index&) = delete;

    const std::string& path() const { return file_->path(); }
    const NtxHeader& header() const { return header_; }
    uint16_t key_size() const { return header_.key_size; }
    const std::string& key_expression() const { return header_.key_expression; }
    const std::string& for_expression() const { return header_.for_expression; }

    /// Binds the key (and FOR) callbacks that compute keys of records.
    void Bind(KeyFunction key, ForFunction condition);
    bool bound() const { return static_cast<bool>(key_fn_); }
    const KeyFunction& key_function() const { return key_fn_; }
    const ForFunction& for_function() const { return for_fn_; }
    /// The key of `rec` padded to the key size; *included is false when the
    /// FOR condition leaves the record out.
    void KeyOf(const Record& rec, std::string* key, bool* included) const;

    // Cursor. After a call the cursor stands on an entry (valid()) or past
    // either end (!valid()).
    /// First entry whose key begins with, or (soft) follows, `key`; a key
    /// shorter than the key size compares only its length. *found tells
    /// whether the entry's key begins with `key`.
    Status Seek(std::string_view key, bool* found);
    /// As Seek, but the last entry whose key begins with `key` (the highest
    /// record number among equal keys); without one, where Seek stands.
    Status SeekLast(std::string_view key, bool* found);
    Status GoTop();
    Status GoBottom();
    Status Next();
    Status Prev();
    /// Puts the cursor on the entry (key, recno); NotFound when absent.
    Status Find(std::string_view key, uint32_t recno);
    /// Puts the cursor on the entry (key, recno) without reading the tree now;
    /// the next movement finds it (or its successor, when it is absent).
    void Remember(std::string_view key, uint32_t recno);
    bool valid() const { return valid_; }
    /// Whether the cursor stands on the entry (key, recno) as it was read,
    /// with no change of the tree seen since: a Find() of it would leave
    /// the cursor where it is.
    bool At(std::string_view key, uint32_t recno) const {
        return valid_ && !stale_ && !repositioned_ahead_ && cur_recno_ == recno && cur_key_ == key;
    }
    uint32_t recno() const { return cur_recno_; }
    std::string_view key() const { return cur_key_; }

    // Maintenance. Keys are given padded to the key size.
    Status Insert(std::string_view key, uint32_t recno);
    /// NotFound when the entry is not in the index.
    Status Remove(std::string_view key, uint32_t recno);
    /// Moves the entry of `recno` after its record changed from `before` to
    /// `after` (nothing when the key and FOR result stayed the same).
    Status Update(const Record& before, const Record& after, uint32_t recno);
    /// Adds the entry of a new record.
    Status Add(const Record& rec, uint32_t recno);

    /// Past this many cached pages (1 KiB each, 65536 by default) the cache is
    /// written out and emptied between two calls.
    void set_cache_limit(size_t pages) { cache_limit_ = pages; }

    /// Writes cached changes (exclusive mode).
    Status Flush();
    Status Close();

    /// Walks the whole tree and compares it with the keys of `table`'s
    /// records. Corruption with a message when they differ or the tree is
    /// malformed; needs a bound key function.
    Status Check(Table* table);
    /// Every entry in key order (for tests and tools); checks the tree shape.
    Status Entries(std::vector<std::pair<std::string, uint32_t>>* out);

  private:
    static constexpr int kMaxDepth = 40;  // deeper than any real tree: a loop

    struct CachedPage {
        std::unique_ptr<char[]> data;
        bool dirty = false;
    };
    struct Level {
        uint32_t page;
        int pos;
    };

    Index(std::unique_ptr<File> file, bool exclusive, bool read_only)
        : file_(std::move(file)), exclusive_(exclusive), read_only_(read_only) {}

    // Locking protocol around one call.
    Status BeginRead();
    Status BeginWrite();
    Status Begin(LockType type);  // the index lock, then a fresh header
    Status End(Status s);
    Status ReloadHeader();
    void MarkBroken();

    Status Load(uint32_t offset, NtxPage* page);
    NtxPage PageAt(char* data) { return NtxPage(data, header_.max_items, header_.key_size); }
    void MarkDirty(uint32_t offset);
    Status Allocate(uint32_t* offset, NtxPage* page);
    Status WriteDirty();  // pages, then the header with the counter bumped
    Status WritePages();

    // Cursor internals (lock held).
    Status Descend(uint32_t page, bool leftmost);
    Status StepNext();
    Status StepPrev();
    Status LocateEntry(std::string_view key, uint32_t recno, bool* exact);
    Status SeekLocked(std::string_view key, bool last, bool* found);
    Status TakeCurrent();
    // After a descent that ended past a page's last entry: climbs to the
    // first ancestor with an entry at its position and takes it (past the
    // end when there is none).
    Status ClimbToEntry();
    Status Reposition();
    /// Inserts (key, recno); an entry already there is refused, or, with
    /// `present`, left as it is and reported there.
    Status InsertLocked(std::string_view key, uint32_t recno, bool* present = nullptr);
    Status RemoveLocked(std::string_view key, uint32_t recno);
    Status InsertInto(size_t depth, const char* raw_item);
    Status FixUnderflow(size_t depth);
    void FillPage(NtxPage* page, const char* items, int count, uint32_t right);
    Status WalkCheck(uint32_t page, int depth, int* leaf_depth,
                     std::vector<std::pair<std::string, uint32_t>>* out);

    std::unique_ptr<File> file_;
    bool exclusive_;
    bool read_only_;
    NtxHeader header_;
    KeyFunction key_fn_;
    ForFunction for_fn_;
    // The page cache, by page number (offset / kNtxPage): a lookup is one
    // array access. `cached_` lists the numbers held, so that forgetting
    // the cache costs what it holds, not the size of the file.
    CachedPage* Cached(uint32_t offset);
    CachedPage& Keep(uint32_t offset, std::unique_ptr<char[]> data);
    void ForgetPages();
    std::vector<CachedPage> pages_;
    std::vector<uint32_t> cached_;
    std::vector<uint32_t> dirty_;
    bool header_dirty_ = false;
    size_t cache_limit_ = 65536;
    uint64_t file_end_ = 0;  // next new page goes here
    bool locked_ = false;

    std::vector<Level> path_;
    bool valid_ = false;
    bool stale_ = false;               // the tree changed under the cursor
    bool repositioned_ahead_ = false;  // the cursor's entry went; it stands on the next one
    bool op_changed_ = false;          // the running call has changed cached pages
    bool broken_ = false;              // a change failed half-way; only a rebuild helps
    std::string cur_key_;
    uint32_t cur_recno_ = 0;
    std::vector<char> scratch_;
    std::string key_scratch_;
};

/// The key of a number as the DOS runtimes store it: Str(value, size,
/// decimals) with leading blanks as '0'; a negative value maps each digit d to
/// the byte 0x2C - d so that it sorts before the positives.
std::string NumericKey(double value, int size, int decimals);

}  // namespace kestrel::dbf
