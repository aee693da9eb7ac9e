#include "common/table_upgrade.h"

#include "platform/base/files.h"
#include "platform/dbf/file.h"
#include "platform/dbf/table_ops.h"

namespace kestrel::common {
namespace {

std::string WithSuffix(const std::string& path, char suffix) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

std::string Memo(const std::string& path) {
    return dbf::ReplaceExtension(path, "DBT");
}

base::Status RenameIfExists(const std::string& from, const std::string& to) {
    if (!base::Exists(from)) return base::Status::Ok();
    return dbf::RenameFile(from, to);
}

}  // namespace

std::string NewCopyName(const std::string& dbf_path) {
    return WithSuffix(dbf_path, '@');
}

std::string AsideName(const std::string& dbf_path) {
    return WithSuffix(dbf_path, '~');
}

base::Status RecoverReplacement(const std::string& dir, const std::string& name, bool* recovered) {
    if (recovered) *recovered = false;
    const std::string aside = base::FindNoCase(dir, name + "~.DBF");
    const std::string fresh = base::FindNoCase(dir, name + "@.DBF");
    std::string path = base::FindNoCase(dir, name + ".DBF");
    const bool have_fresh = base::Exists(fresh);
    const bool have_aside = base::Exists(aside);
    if (!base::Exists(path) && have_aside) {
        const size_t at = aside.find_last_of('~');
        path = aside.substr(0, at) + aside.substr(at + 1);
    }
    const bool have_table = base::Exists(path);
    base::Status s;
    if (have_aside) {
        // The old table was set aside completely, so the new copy was
        // complete: finish moving it into place, then drop the old one.
        if (recovered) *recovered = true;
        if (have_fresh) {
            s = RenameIfExists(Memo(fresh), Memo(path));
            if (s.ok()) s = dbf::RenameFile(fresh, path);
            if (!s.ok()) return s;
        }
        if (!base::Exists(path))
            return base::Status::Corruption(path + ": missing after an upgrade");
        s = dbf::RemoveFile(aside);
        if (s.ok()) s = dbf::RemoveFile(Memo(aside));
        return s;
    }
    if (base::Exists(Memo(aside))) {
        // Cut short while setting the old files aside: put its memo back.
        if (recovered) *recovered = true;
        s = dbf::RenameFile(Memo(aside), Memo(path));
        if (!s.ok()) return s;
    }
    if (have_fresh && have_table) {
        // An unfinished new copy beside the intact table.
        if (recovered) *recovered = true;
        s = dbf::RemoveFile(fresh);
        if (s.ok()) s = dbf::RemoveFile(Memo(fresh));
    }
    return s;
}

bool IsOldLayout(const TableLayout& layout, const std::vector<dbf::Field>& stored) {
    for (const dbf::FieldSpec& want : layout.Specs()) {
        bool found = false;
        for (const dbf::Field& f : stored) {
            if (f.name == want.name) {
                if (f.type != want.type) return true;
                found = true;
                break;
            }
        }
        if (!found) return true;
    }
    return false;
}

base::Status UpgradeTable(std::unique_ptr<dbf::Table> old, const TableLayout& layout,
                          const RecordFix& fix, uint32_t* copied) {
    const std::string path = old->path();
    const std::string fresh = NewCopyName(path);
    const std::string aside = AsideName(path);
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);

    dbf::RemoveFile(fresh);
    dbf::RemoveFile(Memo(fresh));
    base::Status s = dbf::Table::Create(fresh, layout.Specs());
    if (!s.ok()) return s;
    uint32_t count = 0;
    {
        std::unique_ptr<dbf::Table> copy;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        s = dbf::Table::Open(fresh, exclusive, &copy);
        if (s.ok()) s = dbf::CopyRecords(old.get(), copy.get(), true, &count);
        if (s.ok() && fix) {
            dbf::Record before = old->NewRecord();
            dbf::Record after = copy->NewRecord();
            for (uint32_t n = 1; s.ok() && n <= count; ++n) {
                s = old->Read(n, &before);
                if (s.ok()) s = copy->Read(n, &after);
                if (s.ok()) {
                    fix(before, &after);
                    s = copy->Write(n, after);
                }
            }
        }
        if (copy) {
            base::Status c = copy->Close();
            if (s.ok()) s = c;
        }
    }
    if (!s.ok()) {
        dbf::RemoveFile(fresh);
        dbf::RemoveFile(Memo(fresh));
        return s;
    }
    // The old table stays open (and locked) until the new one is in place.
    s = RenameIfExists(Memo(path), Memo(aside));
    if (s.ok()) s = dbf::RenameFile(path, aside);
    if (s.ok()) s = RenameIfExists(Memo(fresh), Memo(path));
    if (s.ok()) s = dbf::RenameFile(fresh, path);
    old.reset();
    if (!s.ok()) {
        // Put back what was moved; RecoverReplacement does it at the next open otherwise.
        base::Status r = RecoverReplacement(dir, layout.name);
        (void)r;
        return s;
    }
    dbf::RemoveFile(aside);
    dbf::RemoveFile(Memo(aside));
    for (const CatalogueIndex& i : layout.indexes) {
        dbf::RemoveFile(base::FindNoCase(dir, std::string(i.name) + ".NTX"));
    }
    if (copied) *copied = count;
    return base::Status::Ok();
}

}  // namespace kestrel::common
