#include "platform/dbf/work_area.h"

#include <algorithm>
#include <cctype>

#include "platform/base/text.h"
#include "platform/dbf/table_ops.h"

namespace kestrel::dbf {

WorkArea::WorkArea(int number, std::string alias, std::unique_ptr<Table> table, uint32_t serial)
    : number_(number), alias_(std::move(alias)), serial_(serial), table_(std::move(table)) {
    Phantom();
}

WorkArea::~WorkArea() {
    Close();
}

Status WorkArea::Close() {
    Status result;
    for (auto& idx : indexes_) {
        Status s = idx->Close();
        if (result.ok()) result = s;
    }
    indexes_.clear();
    if (table_) {
        Status s = table_->Close();
        if (result.ok()) result = s;
    }
    return result;
}

Status WorkArea::AddIndex(std::unique_ptr<Index> index) {
    if (!index->bound()) {
        return Status::InvalidArgument(index->path() + ": no key function bound");
    }
    indexes_.push_back(std::move(index));
    if (indexes_.size() == 1) order_ = 1;
    return Status::Ok();
}

void WorkArea::Phantom() {
    ++moves_;
    Status s = table_->Refresh();
    (void)s;
    record_ = table_->NewRecord();
    original_ = record_;
    recno_ = table_->record_count() + 1;
    eof_ = true;
}

Status WorkArea::Load(uint32_t recno) {
    ++moves_;
    Status s = table_->Read(recno, &record_);
    if (s.IsNotFound()) {
        Phantom();
        return Status::Ok();
    }
    if (!s.ok()) return s;
    original_ = record_;
    recno_ = recno;
    eof_ = false;
    return Status::Ok();
}

Status WorkArea::FromIndex() {
    Index* idx = controlling();
    if (!idx->valid()) {
        Phantom();
        return Status::Ok();
    }
    return Load(idx->recno());
}

Status WorkArea::SetOrder(int order) {
    if (order < 0 || order > static_cast<int>(indexes_.size())) {
        return Status::InvalidArgument(alias_ + ": no index " + std::to_string(order));
    }
    order_ = order;
    if (eof_ || order_ == 0) return Status::Ok();
    std::string key;
    bool included = false;
    controlling()->KeyOf(record_, &key, &included);
    if (controlling()->At(key, recno_)) return Status::Ok();
    Status s = controlling()->Find(key, recno_);
    if (s.IsNotFound()) {
        // A record the index leaves out (FOR): movements go on from where
        // its key would stand.
        controlling()->Remember(key, recno_);
        s = Status::Ok();
    }
    return s;
}

Status WorkArea::GoTop() {
    bof_ = false;
    found_ = false;
    Status s;
    if (Index* idx = controlling()) {
        s = idx->GoTop();
        if (s.ok()) s = FromIndex();
    } else {
        s = table_->Refresh();
        if (s.ok()) s = Load(1);
    }
    if (s.ok() && !eof_ && !Visible()) s = SkipOne(true);
    if (s.ok() && eof_) bof_ = true;
    return s;
}

Status WorkArea::GoBottom() {
    bof_ = false;
    found_ = false;
    Status s;
    if (Index* idx = controlling()) {
        s = idx->GoBottom();
        if (s.ok()) s = FromIndex();
    } else {
        s = table_->Refresh();
        if (s.ok()) s = Load(table_->record_count());
    }
    if (s.ok() && !eof_ && !Visible()) {
        s = SkipOne(false);
        if (s.ok() && bof_) {
            Phantom();  // nothing visible at all
            bof_ = true;
        }
    }
    return s;
}

Status WorkArea::Goto(uint32_t recno) {
    bof_ = false;
    found_ = false;
    Status s = Load(recno);
    if (!s.ok() || eof_) return s;
    if (Index* idx = controlling()) {
        std::string key;
        bool included = false;
        idx->KeyOf(record_, &key, &included);
        s = idx->Find(key, recno);
        if (s.IsNotFound()) {
            idx->Remember(key, recno);
            s = Status::Ok();
        }
    }
    return s;
}

// One step to the next visible record; at either end sets eof/bof.
Status WorkArea::SkipOne(bool forward) {
    Index* idx = controlling();
    const uint32_t start = recno_;
    for (;;) {
        Status s;
        if (idx) {
            s = forward ? idx->Next() : idx->Prev();
            if (!s.ok()) return s;
            if (!idx->valid()) {
                if (forward) {
                    Phantom();
                } else {
                    bof_ = true;
                    s = GoTop();
                    bof_ = true;
                }
                return s;
            }
            s = FromIndex();
        } else {
            uint32_t next = forward ? recno_ + 1 : recno_ - 1;
            if (!forward && (recno_ <= 1 || next == 0)) {
                s = GoTop();
                bof_ = true;
                return s;
            }
            s = Load(next);
        }
        if (!s.ok()) return s;
        if (eof_ || Visible()) return Status::Ok();
        if (!forward && recno_ == start) return Status::Ok();
    }
}

Status WorkArea::Skip(int64_t n) {
    found_ = false;
    if (n == 0) return eof_ ? Status::Ok() : Load(recno_);
    bof_ = false;
    if (n > 0) {
        if (eof_) return Status::Ok();
        for (int64_t i = 0; i < n && !eof_; ++i) {
            Status s = SkipOne(true);
            if (!s.ok()) return s;
        }
        return Status::Ok();
    }
    if (eof_) {
        // Back from the phantom: the last visible record.
        Status s = GoBottom();
        if (!s.ok()) return s;
        n += 1;
        if (eof_) {
            bof_ = true;
            return Status::Ok();
        }
    }
    for (int64_t i = 0; i > n && !bof_; --i) {
        Status s = SkipOne(false);
        if (!s.ok()) return s;
    }
    return Status::Ok();
}

Status WorkArea::Seek(std::string_view key, bool soft, bool last) {
    Index* idx = controlling();
    if (!idx) return Status::InvalidArgument(alias_ + ": seek without a controlling index");
    bof_ = false;
    const size_t n = std::min<size_t>(key.size(), idx->key_size());
    auto matches = [&] { return idx->valid() && idx->key().substr(0, n) == key.substr(0, n); };
    bool found = false;
    Status s;
    if (last) {
        // Back from the last equal key over hidden records; when every
        // record with the key is hidden, on as a plain seek goes.
        s = idx->SeekLast(key, &found);
        if (s.ok() && found) s = FromIndex();
        while (s.ok() && found && !eof_ && !Visible()) {
            s = idx->Prev();
            found = s.ok() && matches();
            if (found) s = FromIndex();
        }
        if (!s.ok()) return s;
        if (found && !eof_) {
            found_ = true;
            return Status::Ok();
        }
    }
    s = idx->Seek(key, &found);
    if (!s.ok()) return s;
    s = FromIndex();
    while (s.ok() && !eof_ && !Visible()) {
        s = idx->Next();
        if (s.ok()) s = FromIndex();
    }
    if (!s.ok()) return s;
    found_ = !eof_ && matches();
    if (!found_ && !soft) Phantom();
    return Status::Ok();
}

Status WorkArea::WriteCurrent() {
    ++moves_;
    Status s = table_->Write(recno_, record_);
    for (auto& idx : indexes_) {
        if (!s.ok()) break;
        s = idx->Update(original_, record_, recno_);
    }
    if (s.ok()) original_ = record_;
    return s;
}

Status WorkArea::Commit() {
    if (eof_) return Status::Ok();
    if (record_.bytes() == original_.bytes()) return Status::Ok();
    return WriteCurrent();
}

Status WorkArea::Append() {
    return Append(table_->NewRecord());
}

Status WorkArea::Append(const Record& values) {
    uint32_t recno = 0;
    Status s = table_->Append(values, &recno);
    if (!s.ok()) return s;
    for (auto& idx : indexes_) {
        s = idx->Add(values, recno);
        if (!s.ok()) return s;
    }
    ++moves_;
    record_ = values;
    original_ = values;
    recno_ = recno;
    eof_ = bof_ = found_ = false;
    if (Index* idx = controlling()) {
        std::string key;
        bool included = false;
        idx->KeyOf(record_, &key, &included);
        if (included) idx->Remember(key, recno);
    }
    return s;
}

Status WorkArea::Delete() {
    if (eof_) return Status::Ok();
    record_.set_deleted(true);
    return WriteCurrent();
}

Status WorkArea::Recall() {
    if (eof_) return Status::Ok();
    record_.set_deleted(false);
    return WriteCurrent();
}

Status WorkArea::RLock() {
    if (eof_) return Status::NotFound(alias_ + ": no current record to lock");
    if (table_->exclusive()) return Status::Ok();
    Status s = table_->UnlockAll();
    if (s.ok()) s = table_->LockRecord(recno_);
    // Another user may have changed it before we held the lock.
    if (s.ok()) s = Load(recno_);
    return s;
}

Status WorkArea::FLock() {
    return table_->LockFile();
}

Status WorkArea::Unlock() {
    return table_->UnlockAll();
}

Status WorkArea::Reindex() {
    if (!table_->exclusive())
        return Status::InvalidArgument(alias_ + ": reindexing needs exclusive use");
    Status s = table_->Flush();
    for (auto& idx : indexes_) {
        if (!s.ok()) break;
        IndexDefinition def{idx->key_expression(), idx->for_expression(), idx->key_function(),
                            idx->for_function(), idx->header().key_decimals};
        const std::string path = idx->path();
        idx.reset();
        s = Index::Create(path, table_.get(), def);
        if (s.ok()) s = Index::Open(path, true, false, &idx, table_->file_system());
        if (s.ok()) idx->Bind(def.key, def.condition);
    }
    if (!s.ok()) {
        // An index that could not be rebuilt is left out of the area.
        std::vector<std::unique_ptr<Index>> kept;
        for (auto& idx : indexes_) {
            if (idx) kept.push_back(std::move(idx));
        }
        indexes_.swap(kept);
        order_ = std::min<int>(order_, static_cast<int>(indexes_.size()));
        return s;
    }
    return GoTop();
}

Status WorkArea::Zap() {
    Status s = table_->Zap();
    return s.ok() ? Reindex() : s;
}

Status WorkArea::Pack(const std::function<bool(const Record&)>& keep) {
    if (!table_->exclusive())
        return Status::InvalidArgument(alias_ + ": packing needs exclusive use");
    const std::string path = table_->path();
    OpenOptions options;
    options.exclusive = true;
    options.fs = table_->file_system();
    options.clock = table_->clock();
    for (auto& idx : indexes_) {
        Status s = idx->Flush();
        if (!s.ok()) return s;
    }
    Status s = table_->Close();
    table_.reset();
    if (s.ok()) s = PackTable(path, keep, nullptr, options.fs, options.clock);
    // Whatever happened, the area gets its table back.
    Status r = Table::Open(path, options, &table_);
    if (!r.ok()) return r;
    Phantom();
    if (!s.ok()) return s;
    return Reindex();
}

// ---- Workspace ----

namespace {

std::string AliasOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find('.');
    return base::AsciiUpper(name.substr(0, dot));
}

}  // namespace

Status Workspace::Use(const std::string& path, std::string alias, const OpenOptions& options,
                      WorkArea** area) {
    alias = alias.empty() ? AliasOf(path) : base::AsciiUpper(alias);
    if (WorkArea* old = Select(alias)) {
        Status s = Close(old->number());
        if (!s.ok()) return s;
    }
    std::unique_ptr<Table> table;
    Status s = Table::Open(path, options, &table);
    if (!s.ok()) return s;
    size_t slot = 0;
    while (slot < areas_.size() && areas_[slot]) ++slot;
    if (slot == areas_.size()) areas_.emplace_back();
    areas_[slot] = std::make_unique<WorkArea>(static_cast<int>(slot + 1), alias, std::move(table),
                                              ++last_serial_);
    current_ = static_cast<int>(slot + 1);
    *area = areas_[slot].get();
    return Status::Ok();
}

WorkArea* Workspace::Find(int number) {
    if (number < 1 || number > static_cast<int>(areas_.size())) return nullptr;
    return areas_[number - 1].get();
}

WorkArea* Workspace::Find(std::string_view alias) {
    std::string a = base::AsciiUpper(alias);
    for (auto& area : areas_)
        if (area && area->alias() == a) return area.get();
    return nullptr;
}

WorkArea* Workspace::Select(int number) {
    if (number < 1 || number > static_cast<int>(areas_.size())) return nullptr;
    current_ = number;
    return areas_[number - 1].get();
}

WorkArea* Workspace::Select(std::string_view alias) {
    WorkArea* area = Find(alias);
    if (area) current_ = area->number();
    return area;
}

Status Workspace::Close(int number) {
    if (number < 1 || number > static_cast<int>(areas_.size()) || !areas_[number - 1]) {
        return Status::Ok();
    }
    Status s = areas_[number - 1]->Close();
    areas_[number - 1].reset();
    return s;
}

Status Workspace::CloseAll() {
    Status result;
    for (size_t i = 0; i < areas_.size(); ++i) {
        Status s = Close(static_cast<int>(i + 1));
        if (result.ok()) result = s;
    }
    return result;
}

}  // namespace kestrel::dbf
