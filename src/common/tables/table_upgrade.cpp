#include "common/tables/table_upgrade.h"

#include <algorithm>
#include <cstdlib>

#include "common/checks/scramble.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/dbf/file.h"

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

// True while another process (or work area) holds the file open: a
// replacement may be running there right now.
bool InUse(const std::string& path) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    return dbf::Table::Open(path, exclusive, &t).IsBusy();
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
    // A replacement holds the old table (or its new copy) exclusively until
    // it is done: leave its files alone.
    if ((have_aside && InUse(aside)) || (have_fresh && InUse(fresh)) ||
        (have_fresh && have_table && InUse(path)))
        return s;
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

namespace {

// Stored text without the blanks around it; older tables pad with NULs too.
std::string Trim(std::string_view s) {
    return base::TrimLeft(base::TrimPadding(s));
}

// A number written as text: an optional sign, digits, at most one decimal
// point or comma. False for anything else (the value is then left blank).
bool ParseNumber(std::string_view text, double* out) {
    std::string t = Trim(text);
    if (t.empty()) return false;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    bool digits = false, point = false;
    for (size_t j = i; j < t.size(); ++j) {
        if (t[j] >= '0' && t[j] <= '9') {
            digits = true;
        } else if ((t[j] == '.' || t[j] == ',') && !point) {
            point = true;
            t[j] = '.';
        } else {
            return false;
        }
    }
    if (!digits) return false;
    *out = std::strtod(t.c_str(), nullptr);
    return true;
}

// A stored number as text without padding: "202", "12.50".
std::string NumberText(const dbf::Record& in, int field) {
    return Trim(in.Raw(field));
}

// Converts the value of a field whose type changed. What has no sensible
// counterpart in the new type (a date or logical becoming text, text that is
// not a number, a number too wide) stays blank rather than failing the
// whole upgrade.
base::Status ConvertField(dbf::Table& from, const dbf::Record& in, int src, dbf::Table& to,
                          dbf::Record* out, int dst) {
    const dbf::FieldType was = in.fields()[static_cast<size_t>(src)].type;
    const dbf::Field& f = out->fields()[static_cast<size_t>(dst)];
    std::string text;
    if (was == dbf::FieldType::kMemo) {
        base::Status s = from.ReadMemo(in, src, &text);
        if (!s.ok()) return s;
    } else if (was == dbf::FieldType::kNumeric) {
        text = NumberText(in, src);
    } else {
        text = std::string(in.Raw(src));
    }
    switch (f.type) {
        case dbf::FieldType::kCharacter:
            if (was == dbf::FieldType::kNumeric || was == dbf::FieldType::kMemo)
                return out->SetString(dst, text);
            return base::Status::Ok();
        case dbf::FieldType::kNumeric: {
            double v = 0;
            if (was == dbf::FieldType::kLogical) {
                if (Trim(text).empty()) return base::Status::Ok();
                v = in.GetLogical(src) ? 1 : 0;
            } else if (!ParseNumber(text, &v)) {
                return base::Status::Ok();
            }
            std::string formatted;
            if (dbf::FormatNumber(v, f.length, f.decimals, &formatted)) out->SetRaw(dst, formatted);
            return base::Status::Ok();
        }
        case dbf::FieldType::kLogical: {
            const std::string t = Trim(text);
            if (was == dbf::FieldType::kNumeric) {
                double v = 0;
                if (ParseNumber(t, &v)) return out->SetLogical(dst, v != 0);
            } else if (t.size() == 1) {
                if (t == "T" || t == "t" || t == "Y" || t == "y") return out->SetLogical(dst, true);
                if (t == "F" || t == "f" || t == "N" || t == "n")
                    return out->SetLogical(dst, false);
            }
            return base::Status::Ok();
        }
        case dbf::FieldType::kDate: {
            const std::string t = Trim(text);
            if (was == dbf::FieldType::kCharacter && t.size() == 8) {
                const base::Status bad = out->SetDate(dst, t);  // not a date: stays blank
                (void)bad;
            }
            return base::Status::Ok();
        }
        case dbf::FieldType::kMemo: {
            const std::string t = Trim(text);
            if (t.empty() || was == dbf::FieldType::kLogical || was == dbf::FieldType::kDate)
                return base::Status::Ok();
            return to.WriteMemo(out, dst, t);
        }
    }
    return base::Status::Ok();
}

// Fills `out` (new layout) from `in` (old layout) by field name.
base::Status CopyFields(dbf::Table& from, const dbf::Record& in, dbf::Table& to,
                        const std::vector<int>& source, dbf::Record* out) {
    out->Clear();
    out->set_deleted(in.deleted());
    std::string text;
    for (size_t i = 0; i < source.size(); ++i) {
        const int src = source[i];
        if (src < 0) continue;
        const int dst = static_cast<int>(i);
        const dbf::Field& f = out->fields()[i];
        const dbf::Field& g = in.fields()[static_cast<size_t>(src)];
        base::Status s;
        if (f.type != g.type) {
            s = ConvertField(from, in, src, to, out, dst);
            if (!s.ok()) return s;
            continue;
        }
        switch (f.type) {
            case dbf::FieldType::kCharacter:
                s = out->SetString(dst, in.Raw(src));
                break;
            case dbf::FieldType::kNumeric:
                if (f.length == g.length && f.decimals == g.decimals) {
                    out->SetRaw(dst, in.Raw(src));
                } else if (!in.IsBlank(src)) {
                    s = out->SetNumber(dst, in.GetNumber(src));
                }
                break;
            case dbf::FieldType::kMemo:
                if (in.GetMemoBlock(src) != 0) {
                    s = from.ReadMemo(in, src, &text);
                    if (s.ok()) s = to.WriteMemo(out, dst, text);
                }
                break;
            default:
                out->SetRaw(dst, in.Raw(src));
                break;
        }
        if (!s.ok()) return s;
    }
    return base::Status::Ok();
}

}  // namespace

base::Status ReplaceTable(std::unique_ptr<dbf::Table> old, const Replacement& how,
                          uint32_t* copied) {
    const std::string path = old->path();
    const std::string fresh = NewCopyName(path);
    const std::string aside = AsideName(path);
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);

    dbf::RemoveFile(fresh);
    dbf::RemoveFile(Memo(fresh));
    base::Status s = dbf::Table::Create(fresh, how.layout, nullptr, old->clock());
    if (!s.ok()) return s;
    uint32_t count = 0;
    {
        std::unique_ptr<dbf::Table> copy;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        exclusive.clock = old->clock();
        s = dbf::Table::Open(fresh, exclusive, &copy);
        if (s.ok()) {
            std::vector<int> source;
            for (const dbf::Field& f : copy->fields()) source.push_back(old->FieldIndex(f.name));
            dbf::Record out = copy->NewRecord();
            s = old->Scan(1, [&](uint32_t recno, const dbf::Record& in) {
                if (how.progress) how.progress(recno);
                if (in.deleted() && !how.keep_deleted) return base::Status::Ok();
                if (how.keep && !how.keep(in)) return base::Status::Ok();
                base::Status st = CopyFields(*old, in, *copy, source, &out);
                if (!st.ok()) {
                    return base::Status::InvalidArgument(
                        path + ": record " + std::to_string(recno) + ": " + st.message());
                }
                if (how.fix) how.fix(in, &out);
                uint32_t n = 0;
                st = copy->Append(out, &n);
                if (st.ok()) ++count;
                return st;
            });
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
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    name = name.substr(0, name.find('.'));
    s = RenameIfExists(Memo(path), Memo(aside));
    if (s.ok()) s = dbf::RenameFile(path, aside);
    if (s.ok()) s = RenameIfExists(Memo(fresh), Memo(path));
    if (s.ok()) s = dbf::RenameFile(fresh, path);
    old.reset();
    if (!s.ok()) {
        // Put back or finish what was moved (the next open would do it too).
        base::Status r = RecoverReplacement(dir, name);
        (void)r;
        return s;
    }
    dbf::RemoveFile(aside);
    dbf::RemoveFile(Memo(aside));
    for (const std::string& index : how.index_files) {
        dbf::RemoveFile(base::FindNoCase(dir, index + ".NTX"));
    }
    if (copied) *copied = count;
    return base::Status::Ok();
}

namespace {

// An old value of a scrambled personal field as its clear text: a value
// scrambled for the old width is unscrambled; anything else is plain text
// an older layout held there, taken whole.
std::string ClearValue(ScrambleKind kind, std::string_view stored) {
    const std::string clear = Unscramble(kind, stored);
    if (Scramble(kind, clear, stored.size()) == stored) return clear;
    return Trim(stored);
}

}  // namespace

RecordFix UpgradeConversion(std::string_view table, const std::vector<dbf::Field>& stored) {
    auto stored_field = [&](const char* name) -> const dbf::Field* {
        const auto f = std::find_if(stored.begin(), stored.end(),
                                    [&](const dbf::Field& g) { return g.name == name; });
        return f == stored.end() ? nullptr : &*f;
    };
    std::vector<RecordFix> fixes;

    // Personal fields are stored again in their new width (the clear width
    // is part of the stored form), and plain text becomes scrambled.
    struct Personal {
        const char* field;
        ScrambleKind kind;
    };
    static constexpr Personal kPersonal[] = {{"IMIEX_", ScrambleKind::kName},
                                             {"NAZWX_", ScrambleKind::kName},
                                             {"NAZWX_U", ScrambleKind::kName},
                                             {"PESELX_", ScrambleKind::kIdentity},
                                             {"PESELX_U", ScrambleKind::kIdentity}};
    for (const Personal& p : kPersonal) {
        const dbf::Field* was = stored_field(p.field);
        if (was == nullptr || was->type != dbf::FieldType::kCharacter) continue;
        const std::string field = p.field;
        const ScrambleKind kind = p.kind;
        fixes.push_back([field, kind](const dbf::Record& old_rec, dbf::Record* new_rec) {
            const int to = new_rec->FieldIndex(field);
            if (to < 0 ||
                new_rec->fields()[static_cast<size_t>(to)].type != dbf::FieldType::kCharacter)
                return;
            const std::string clear = ClearValue(kind, old_rec.Raw(old_rec.FieldIndex(field)));
            new_rec->SetRaw(
                to, Scramble(kind, clear, new_rec->fields()[static_cast<size_t>(to)].length));
        });
    }

    // Code fields that older layouts held as numbers get their leading zeros.
    struct Code {
        std::string_view table;
        const char* field;
    };
    static constexpr Code kCodes[] = {{"PKURZ", "KOD_URZEDU"}, {"PKDZIAL", "KOD_GMINY"}};
    for (const Code& code : kCodes) {
        if (code.table != table) continue;
        const dbf::Field* was = stored_field(code.field);
        if (was == nullptr || was->type != dbf::FieldType::kNumeric) continue;
        const std::string field = code.field;
        fixes.push_back([field](const dbf::Record& old_rec, dbf::Record* new_rec) {
            const int from = old_rec.FieldIndex(field);
            const int to = new_rec->FieldIndex(field);
            const std::string digits = Trim(old_rec.Raw(from));
            if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
                return;
            const size_t width = new_rec->fields()[static_cast<size_t>(to)].length;
            if (digits.size() > width) return;
            new_rec->SetRaw(to, std::string(width - digits.size(), '0') + digits);
        });
    }

    if (fixes.empty()) return nullptr;
    return [fixes](const dbf::Record& old_rec, dbf::Record* new_rec) {
        for (const RecordFix& fix : fixes) fix(old_rec, new_rec);
    };
}

base::Status UpgradeTable(std::unique_ptr<dbf::Table> old, const TableLayout& layout,
                          const RecordFix& fix, uint32_t* copied) {
    Replacement how;
    how.layout = layout.Specs();
    how.keep_deleted = true;
    how.fix = fix;
    for (const CatalogueIndex& i : layout.indexes) how.index_files.push_back(i.name);
    return ReplaceTable(std::move(old), how, copied);
}

}  // namespace kestrel::common
