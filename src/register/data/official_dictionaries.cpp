#include "register/data/official_dictionaries.h"

#include <algorithm>
#include <map>
#include <memory>

#include "common/tables/index_functions.h"
#include "common/tables/index_keys.h"
#include "common/tables/shipped_content.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_upgrade.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/dbf/file.h"
#include "platform/dbf/index.h"

namespace kestrel::registry {
namespace {

constexpr OfficialListInfo kLists[] = {
    {OfficialList::kCountries, "PKSKODK", "KRJTMP", "KOD_KRAJU", "NAZWA_PEL", "2.C.2.",
     "Kody krajów"},
    {OfficialList::kTaxOffices, "PKKDURZ", "URZTMP", "KOD_URZEDU", "NAZWA_URZ", "2.C.3.",
     "Kody urzędów skarbowych"},
    {OfficialList::kTerritory, "PKGMINY", "GMNTMP", "KOD_", "NAZWA_", "2.C.4.",
     "Kody województw, powiatów i gmin"},
    {OfficialList::kOccupations, "PKKZIS", "ZAWTMP", "KOD_ZAWODU", "NAZWA_", "2.C.5.",
     "Klasyfikacja zawodów i specjalności"},
};

std::string Join(const std::string& dir, const std::string& name) {
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}

void RemoveIfExists(const std::string& path) {
    if (base::Exists(path)) (void)dbf::RemoveFile(path);
}

// True when `path` exists and somebody holds it open.
bool HeldElsewhere(const std::string& path) {
    if (!base::Exists(path)) return false;
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    return dbf::Table::Open(path, exclusive, &t).IsBusy();
}

// Writing the tables.

// The table of `list` as created by the catalogue.
std::vector<dbf::FieldSpec> Layout(OfficialList list) {
    return common::FindTable(InfoOf(list).table)->Specs();
}

base::Status CreateOpen(const std::string& path, const std::vector<dbf::FieldSpec>& layout,
                        const base::Clock* clock, std::unique_ptr<dbf::Table>* out) {
    base::Status s = dbf::Table::Create(path, layout, nullptr, clock);
    if (!s.ok()) return s;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    exclusive.clock = clock;
    return dbf::Table::Open(path, exclusive, out);
}

// Copies every record of `from` to `to` with the CP852 letters of its text
// fields replaced by the letters of `letters`.
base::Status CopyRecoded(dbf::Table& from, dbf::Table& to, const common::LetterSet& letters) {
    dbf::Record out = to.NewRecord();
    return from.Scan(1, [&](uint32_t, const dbf::Record& in) {
        out.Clear();
        const auto& fields = in.fields();
        for (size_t i = 0; i < fields.size(); ++i) {
            const int f = static_cast<int>(i);
            const int g = to.FieldIndex(fields[i].name);
            if (g < 0) continue;
            if (fields[i].type == dbf::FieldType::kCharacter) {
                base::Status s = out.SetString(g, letters.FromCp852(in.Raw(f)));
                if (!s.ok()) return s;
            } else {
                out.SetRaw(g, in.Raw(f));
            }
        }
        uint32_t n = 0;
        return to.Append(out, &n);
    });
}

std::string IndexCopyName(const std::string& dir, const std::string& index) {
    return Join(dir, index + "@.NTX");
}

// Removes what an earlier rebuild may have left behind.
void RemoveLeftovers(const std::string& dir, const OfficialListInfo& info) {
    const std::string table = info.table;
    (void)common::RecoverReplacement(dir, table);
    RemoveIfExists(base::FindNoCase(dir, table + "@.DBF"));
    RemoveIfExists(base::FindNoCase(dir, std::string(info.temporary) + ".DBF"));
    for (const common::CatalogueIndex& i : common::FindTable(table)->indexes)
        RemoveIfExists(base::FindNoCase(dir, std::string(i.name) + "@.NTX"));
}

// Writes the new copy NAME@.DBF complete with its index files; on failure
// removes everything it wrote.
std::string WriteNewCopy(const std::string& dir, const common::LetterSet& letters,
                         const OfficialListInfo& info, const TableFill& fill, uint32_t* rows,
                         const base::Clock* clock) {
    const std::string table = info.table;
    const std::string fresh = Join(dir, table + "@.DBF");
    const std::string temp = Join(dir, std::string(info.temporary) + ".DBF");
    const std::vector<dbf::FieldSpec> layout = Layout(info.list);
    const common::TableLayout* catalogue = common::FindTable(table);

    std::unique_ptr<dbf::Table> copy;
    base::Status s;
    std::string failed_file = fresh;
    if (letters.IsCp852()) {
        s = CreateOpen(fresh, layout, clock, &copy);
        if (s.ok()) s = fill(*copy);
    } else {
        // The text is written as shipped (CP852) into the temporary table,
        // then copied row by row into the new table in the set in force.
        std::unique_ptr<dbf::Table> stage;
        failed_file = temp;
        s = CreateOpen(temp, layout, clock, &stage);
        if (s.ok()) s = fill(*stage);
        if (s.ok()) {
            failed_file = fresh;
            s = CreateOpen(fresh, layout, clock, &copy);
        }
        if (s.ok()) s = CopyRecoded(*stage, *copy, letters);
        if (stage) {
            base::Status c = stage->Close();
            if (s.ok()) s = c;
        }
        RemoveIfExists(temp);
    }
    if (s.ok() && copy->record_count() == 0) s = base::Status::InvalidArgument("Brak pozycji");
    if (s.ok()) {
        common::IndexKeys keys(copy->fields(), letters);
        for (const common::CatalogueIndex& i : catalogue->indexes) {
            dbf::IndexDefinition def;
            failed_file = IndexCopyName(dir, i.name);
            s = keys.Define(i, &def);
            if (s.ok()) s = dbf::Index::Create(failed_file, copy.get(), def);
            if (!s.ok()) break;
        }
    }
    if (s.ok() && rows) *rows = copy->record_count();
    if (copy) {
        base::Status c = copy->Close();
        if (s.ok()) s = c;
    }
    if (!s.ok()) {
        RemoveLeftovers(dir, info);
        if (s.IsInvalidArgument() && s.message() == "Brak pozycji")
            return "Brak pozycji w słowniku";
        const size_t slash = failed_file.find_last_of('/');
        return "Błąd zapisu " + failed_file.substr(slash == std::string::npos ? 0 : slash + 1);
    }
    return "";
}

// Puts the new copy in place of the working dictionary, which is held
// exclusively meanwhile. The old index files go first, so that a crash at
// any step leaves a table whose missing indexes are rebuilt on opening.
std::string SwapIn(const std::string& dir, const OfficialListInfo& info) {
    const std::string table = info.table;
    const std::string path = base::FindNoCase(dir, table + ".DBF");
    const std::string fresh = Join(dir, table + "@.DBF");
    std::unique_ptr<dbf::Table> old;
    if (base::Exists(path)) {
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        base::Status s = dbf::Table::Open(path, exclusive, &old);
        if (!s.ok()) {
            RemoveLeftovers(dir, info);
            if (s.IsBusy()) return "Słownik używany na innym stanowisku";
            return "Błąd otwarcia " + table + ".DBF";
        }
    }
    const common::TableLayout* catalogue = common::FindTable(table);
    for (const common::CatalogueIndex& i : catalogue->indexes)
        RemoveIfExists(base::FindNoCase(dir, std::string(i.name) + ".NTX"));
    const std::string target = old ? path : Join(dir, table + ".DBF");
    const std::string aside = common::AsideName(target);
    base::Status s;
    bool set_aside = false;
    if (old) {
        s = dbf::RenameFile(target, aside);
        set_aside = s.ok();
    }
    if (s.ok()) s = dbf::RenameFile(fresh, target);
    if (!s.ok()) {
        // The working table goes back under its name; the new copy goes.
        if (set_aside) (void)dbf::RenameFile(aside, target);
        old.reset();
        RemoveLeftovers(dir, info);
        return "Błąd zapisu " + table + ".DBF";
    }
    for (const common::CatalogueIndex& i : catalogue->indexes) {
        const std::string from = IndexCopyName(dir, i.name);
        if (!dbf::RenameFile(from, Join(dir, std::string(i.name) + ".NTX")).ok())
            RemoveIfExists(from);  // rebuilt when the table is next opened
    }
    old.reset();
    RemoveIfExists(aside);
    return "";
}

// Short names (countries) or groups (occupations) kept from the dictionary
// in force for a file that lacks them.
std::map<std::string, std::vector<std::string>> CurrentRows(const std::string& dir,
                                                            OfficialList list) {
    std::map<std::string, std::vector<std::string>> rows;
    const std::string path = base::FindNoCase(dir, std::string(InfoOf(list).table) + ".DBF");
    if (!base::Exists(path)) return rows;
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions shared;
    shared.read_only = true;
    if (!dbf::Table::Open(path, shared, &t).ok()) return rows;
    const std::vector<dbf::FieldSpec> layout = Layout(list);
    std::vector<int> fields;
    for (const dbf::FieldSpec& f : layout) fields.push_back(t->FieldIndex(f.name));
    (void)t->Scan(1, [&](uint32_t, const dbf::Record& rec) {
        if (rec.deleted() || fields[0] < 0) return base::Status::Ok();
        std::vector<std::string> row;
        for (int f : fields) row.push_back(f < 0 ? std::string() : rec.GetString(f));
        rows[base::TrimWhitespace(row[0])] = row;
        return base::Status::Ok();
    });
    (void)t->Close();
    return rows;
}

base::Status AppendRow(dbf::Table& t, const std::vector<dbf::FieldSpec>& layout,
                       const std::vector<std::string>& row, dbf::Record* rec) {
    rec->Clear();
    for (size_t i = 0; i < layout.size() && i < row.size(); ++i) {
        const int f = t.FieldIndex(layout[i].name);
        base::Status s;
        if (layout[i].type == dbf::FieldType::kLogical)
            s = rec->SetLogical(f, row[i] == "T");
        else
            s = rec->SetString(f, row[i]);
        if (!s.ok()) return s;
    }
    uint32_t n = 0;
    return t.Append(*rec, &n);
}

// Occupation code order: a leading "0" sorts after 1-9.
std::string OccupationOrder(const std::string& code) {
    return common::ProfessionKey(code);
}

}  // namespace

const OfficialListInfo& InfoOf(OfficialList list) {
    return kLists[static_cast<size_t>(list)];
}

std::string RebuildOfficialTable(const std::string& dir, const common::LetterSet& letters,
                                 OfficialList list, const TableFill& fill, uint32_t* rows,
                                 const base::Clock* clock) {
    const OfficialListInfo& info = InfoOf(list);
    // Another station rebuilding the same dictionary holds its new copy.
    for (const std::string& name :
         {std::string(info.table) + "@.DBF", std::string(info.temporary) + ".DBF"}) {
        if (HeldElsewhere(base::FindNoCase(dir, name)))
            return "Słownik odtwarzany na innym stanowisku";
    }
    RemoveLeftovers(dir, info);
    uint32_t count = 0;
    std::string err = WriteNewCopy(dir, letters, info, fill, &count, clock);
    if (err.empty()) err = SwapIn(dir, info);
    if (err.empty() && rows) *rows = count;
    return err;
}

std::string RebuildFromShipped(const std::string& dir, const std::string& shipped_dir,
                               const common::LetterSet& letters, OfficialList list, uint32_t* rows,
                               const base::Clock* clock) {
    const std::string table = InfoOf(list).table;
    const std::string source = base::FindNoCase(shipped_dir, table + ".tsv");
    if (!base::Exists(source)) return "Brak pliku " + table + ".tsv";
    return RebuildOfficialTable(
        dir, letters, list, [&](dbf::Table& t) { return common::LoadTabSeparated(source, t); },
        rows, clock);
}

std::string ImportOfficialList(const std::string& dir, const common::LetterSet& letters,
                               OfficialList list, const std::string& path, uint32_t* rows,
                               const base::Clock* clock) {
    std::string text;
    base::Status s = base::ReadFile(path, &text);
    if (s.IsNotFound()) return "Brak pliku";
    if (!s.ok()) return "Błąd odczytu pliku";
    ListRows parsed;
    std::string err = ParseOfficialList(list, text, &parsed);
    if (!err.empty()) return err;
    std::vector<std::vector<std::string>> all = std::move(parsed.rows);
    if (parsed.short_names_missing || parsed.groups_missing) {
        const auto current = CurrentRows(dir, list);
        if (parsed.short_names_missing) {
            for (auto& row : all) {
                auto it = current.find(row[0]);
                if (it != current.end() && !base::TrimWhitespace(it->second[1]).empty())
                    row[1] = it->second[1];
            }
        }
        if (parsed.groups_missing) {
            for (const auto& [code, row] : current) {
                if (code.size() < 6) all.push_back(row);
            }
            for (auto& row : all) row[2] = base::TrimWhitespace(row[2]) == "T" ? "T" : "F";
            std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
                return OccupationOrder(base::TrimWhitespace(a[0])) <
                       OccupationOrder(base::TrimWhitespace(b[0]));
            });
        }
    }
    const std::vector<dbf::FieldSpec> layout = Layout(list);
    return RebuildOfficialTable(
        dir, letters, list,
        [&](dbf::Table& t) {
            dbf::Record rec = t.NewRecord();
            for (const auto& row : all) {
                base::Status st = AppendRow(t, layout, row, &rec);
                if (!st.ok()) return st;
            }
            return base::Status::Ok();
        },
        rows, clock);
}

namespace {

bool RebuildShipped(common::Runtime& rt, OfficialList list) {
    const std::string err = RebuildFromShipped(rt.data_dir(), common::ShippedDataDir(rt.data_dir()),
                                               rt.letters(), list, nullptr, &rt.clock());
    return err.empty();
}

}  // namespace

bool Qrmcrkraje(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kCountries);
}
bool Qrmcrkdurz(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kTaxOffices);
}
bool Qrmcrgminy(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kTerritory);
}
bool Qrmcrkzis(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kOccupations);
}

}  // namespace kestrel::registry
