// WorkArea: an open table with its indexes, a current record and the
// end-of-file and beginning-of-file behaviour of xBase.
//
// Positions: a work area stands on a record, or past the end on the phantom
// record (number = record count + 1, every field blank, eof() true). Skipping
// back before the first record leaves the area on the first record with bof()
// true. An empty table is at eof and bof at once. With a controlling index
// (order() > 0) movement follows the index; order 0 is record order.
//
// The current record is a buffer: field changes go to record() and reach the
// table and every index of the area only with Commit(), which needs the
// record locked in shared mode. Append() adds a blank record (locked) and
// makes it current, with its keys already in the indexes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/index.h"
#include "platform/dbf/table.h"

namespace kestrel::dbf {

class WorkArea {
  public:
    /// `serial` tells this opening of a table from every other one in the
    /// same workspace (see Workspace::Use).
    WorkArea(int number, std::string alias, std::unique_ptr<Table> table, uint32_t serial = 0);
    ~WorkArea();

    int number() const { return number_; }
    const std::string& alias() const { return alias_; }
    uint32_t serial() const { return serial_; }
    Table& table() { return *table_; }

    /// Adds an open index with its key function bound; the first one added
    /// becomes the controlling index.
    Status AddIndex(std::unique_ptr<Index> index);
    size_t index_count() const { return indexes_.size(); }
    Index& index(size_t i) { return *indexes_[i]; }
    /// 0 = record order, n = the n-th index added. Stays on the same record.
    Status SetOrder(int order);
    int order() const { return order_; }
    /// Hides records marked deleted from every movement (xBase SET DELETED ON).
    void set_hide_deleted(bool hide) { hide_deleted_ = hide; }
    bool hide_deleted() const { return hide_deleted_; }

    Status GoTop();
    Status GoBottom();
    /// Goes to a record by number; a number out of range gives the phantom.
    Status Goto(uint32_t recno);
    /// Moves n visible records forward (n > 0) or back (n < 0); n == 0 re-reads.
    Status Skip(int64_t n = 1);
    /// Seeks a key of the controlling index: the first visible record with
    /// it, or with `last` the last one. Without `soft` a miss goes to the
    /// phantom record, with `soft` to the next key (or the phantom).
    Status Seek(std::string_view key, bool soft = false, bool last = false);

    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool found() const { return found_; }
    uint32_t recno() const { return recno_; }
    bool deleted() const { return record_.deleted(); }
    /// Changes whenever the current record is read again or replaced (every
    /// movement, Append) or written (Commit, Delete, Recall): a caller that
    /// left the area on a record can tell that nobody has moved it since.
    uint64_t moves() const { return moves_; }

    /// The current record; changes take effect with Commit().
    Record& record() { return record_; }
    int FieldIndex(std::string_view name) const { return table_->FieldIndex(name); }

    /// Writes the changed buffer and moves index keys (no-op at the phantom).
    Status Commit();
    /// Appends a blank record, locked, and stands on it.
    Status Append();
    /// Appends a record with the given contents (of this table's layout),
    /// locked, with its keys in every index, and stands on it.
    Status Append(const Record& values);
    /// Marks or unmarks the current record as deleted (written at once).
    Status Delete();
    Status Recall();

    /// Locks the current record (other record locks of the area are released).
    Status RLock();
    Status FLock();
    Status Unlock();

    Status ReadMemo(int field, std::string* text) { return table_->ReadMemo(record_, field, text); }
    /// Stores a memo and points the buffer's field at it (Commit() writes it).
    Status WriteMemo(int field, std::string_view text) {
        return table_->WriteMemo(&record_, field, text);
    }

    /// Rebuilds every index of the area from its table (bulk builds with the
    /// bound key functions); needs exclusive use. Goes to the top afterwards.
    Status Reindex();
    /// Removes every record and rebuilds the indexes; needs exclusive use.
    Status Zap();
    /// Packs the table (see PackTable) and rebuilds the indexes; the area must
    /// have the table exclusively. `keep` may refuse further records. When the
    /// packed table cannot be opened again the area is left without a table
    /// and must be closed.
    Status Pack(const std::function<bool(const Record&)>& keep = nullptr);

    Status Close();

  private:
    Status Load(uint32_t recno);
    void Phantom();
    bool Visible() const { return !(hide_deleted_ && record_.deleted()); }
    Index* controlling() { return order_ > 0 ? indexes_[order_ - 1].get() : nullptr; }
    Status FromIndex();  // loads the record under the index cursor
    Status SkipOne(bool forward);
    Status WriteCurrent();

    int number_;
    std::string alias_;
    uint32_t serial_;
    std::unique_ptr<Table> table_;
    std::vector<std::unique_ptr<Index>> indexes_;
    int order_ = 0;
    bool hide_deleted_ = true;
    Record record_;
    Record original_;  // as last read or written, for moving index keys
    uint32_t recno_ = 0;
    bool eof_ = true, bof_ = true, found_ = false;
    uint64_t moves_ = 0;
};

/// Remembers an area's order and record and puts them back when it goes
/// away (a lookup that moves through a table its caller stands on).
/// A null area is allowed and left alone.
class KeepPosition {
  public:
    explicit KeepPosition(WorkArea* area)
        : area_(area), order_(area ? area->order() : 0), recno_(area ? area->recno() : 0) {}
    explicit KeepPosition(WorkArea& area) : KeepPosition(&area) {}
    ~KeepPosition() {
        if (area_ == nullptr) return;
        (void)area_->SetOrder(order_);
        (void)area_->Goto(recno_);
    }
    KeepPosition(const KeepPosition&) = delete;
    KeepPosition& operator=(const KeepPosition&) = delete;

  private:
    WorkArea* area_;
    int order_;
    uint32_t recno_;
};

/// Numbered work areas (1, 2, ...) with aliases and a current area.
class Workspace {
  public:
    /// Opens a table in the lowest free area under `alias` (a table's name by
    /// default), closing an area already open under that alias first, and
    /// selects it. Each opening gets a serial number of its own, never 0 and
    /// never given again by this workspace: what was resolved against one
    /// opening (a formula's field reference) is known stale after it.
    Status Use(const std::string& path, std::string alias, const OpenOptions& options,
               WorkArea** area);
    /// Selects an area by number or alias; nullptr when none is open there.
    WorkArea* Select(int number);
    WorkArea* Select(std::string_view alias);
    WorkArea* current() { return Find(current_); }
    /// The area by number or alias without selecting it; nullptr when none.
    WorkArea* Find(int number);
    WorkArea* Find(std::string_view alias);
    int current_number() const { return current_; }
    Status Close(int number);
    Status CloseAll();

  private:
    std::vector<std::unique_ptr<WorkArea>> areas_;  // index = number - 1
    int current_ = 1;
    uint32_t last_serial_ = 0;
};

}  // namespace kestrel::dbf
