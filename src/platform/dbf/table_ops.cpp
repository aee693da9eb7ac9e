#include "platform/dbf/table_ops.h"

#include <vector>

namespace kestrel::dbf {

namespace {

struct FieldPair {
    int from, to;
    FieldType type;
};

std::vector<FieldPair> MatchFields(const Table& from, const Table& to) {
    std::vector<FieldPair> pairs;
    for (size_t i = 0; i < to.fields().size(); ++i) {
        const Field& f = to.fields()[i];
        int j = from.FieldIndex(f.name);
        if (j >= 0 && from.fields()[j].type == f.type) {
            pairs.push_back({j, static_cast<int>(i), f.type});
        }
    }
    return pairs;
}

}  // namespace

Status CopyRecords(Table* from, Table* to, bool with_deleted, uint32_t* copied) {
    *copied = 0;
    const std::vector<FieldPair> pairs = MatchFields(*from, *to);
    Record out = to->NewRecord();
    std::string memo;
    Status s = from->Refresh();
    if (!s.ok()) return s;
    return from->Scan(1, [&](uint32_t recno, const Record& in) {
        if (in.deleted() && !with_deleted) return Status::Ok();
        out.Clear();
        out.set_deleted(in.deleted());
        for (const FieldPair& p : pairs) {
            Status st;
            switch (p.type) {
                case FieldType::kNumeric:
                    st = in.IsBlank(p.from) ? Status::Ok()
                                            : out.SetNumber(p.to, in.GetNumber(p.from));
                    break;
                case FieldType::kMemo:
                    st = from->ReadMemo(in, p.from, &memo);
                    if (st.ok()) st = to->WriteMemo(&out, p.to, memo);
                    break;
                default:
                    out.SetRaw(p.to, in.Raw(p.from));
                    break;
            }
            if (!st.ok()) {
                return Status(st.IsInvalidArgument()
                                  ? Status::InvalidArgument(from->path() + ": record " +
                                                            std::to_string(recno) + ": " +
                                                            st.message())
                                  : st);
            }
        }
        uint32_t n = 0;
        Status st = to->Append(out, &n);
        if (st.ok()) ++*copied;
        if (st.ok() && !to->exclusive()) st = to->UnlockRecord(n);
        return st;
    });
}

Status PackTable(const std::string& path, const KeepFunction& keep, uint32_t* kept, FileSystem* fs,
                 const base::Clock* clock) {
    if (!fs) fs = FileSystem::Default();
    std::unique_ptr<Table> table;
    Status s = Table::Open(path, {.exclusive = true, .fs = fs}, &table);
    if (!s.ok()) return s;
    std::vector<FieldSpec> specs;
    for (const Field& f : table->fields()) specs.push_back({f.name, f.type, f.length, f.decimals});
    const std::string work = WorkCopyName(path);
    const std::string memo = ReplaceExtension(path, "DBT");
    const std::string work_memo = ReplaceExtension(work, "DBT");
    fs->Remove(work);
    fs->Remove(work_memo);
    s = Table::Create(work, specs, fs, clock);
    if (!s.ok()) return s;
    uint32_t count = 0;
    {
        std::unique_ptr<Table> copy;
        s = Table::Open(work, {.exclusive = true, .fs = fs, .clock = clock}, &copy);
        if (!s.ok()) return s;
        // Memo texts stay where they are: the new records keep their block
        // numbers into the table's own DBT, so that replacing the table is one
        // rename and a crash can never pair records with another memo file.
        // (The DBT keeps its unused blocks; copying the table compacts it.)
        Record out = copy->NewRecord();
        s = table->Scan(1, [&](uint32_t, const Record& in) {
            if (in.deleted() || (keep && !keep(in))) return Status::Ok();
            out.mutable_bytes() = in.bytes();
            uint32_t n = 0;
            Status st = copy->Append(out, &n);
            if (st.ok()) ++count;
            return st;
        });
        if (s.ok()) s = copy->Close();
    }
    // The work copy's own (empty) memo file is not needed.
    fs->Remove(work_memo);
    // Rename while the old table is still held exclusively, so that nobody
    // opens it in between.
    if (s.ok()) s = fs->Rename(work, path);
    table.reset();
    if (!s.ok()) {
        fs->Remove(work);
        fs->Remove(work_memo);
        return s;
    }
    if (kept) *kept = count;
    return Status::Ok();
}

}  // namespace kestrel::dbf
