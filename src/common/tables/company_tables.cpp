#include "common/tables/company_tables.h"

#include "common/tables/index_keys.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/files.h"
#include "platform/dbf/index.h"

namespace kestrel::common {
namespace {

std::string Join(const std::string& dir, const std::string& name) {
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}

base::Status BuildMissingIndexes(const std::string& dir, const TableLayout& t,
                                 const LetterSet& letters) {
    std::vector<const CatalogueIndex*> missing;
    for (const CatalogueIndex& i : t.indexes) {
        if (!base::Exists(base::FindNoCase(dir, std::string(i.name) + ".NTX")))
            missing.push_back(&i);
    }
    if (missing.empty()) return base::Status::Ok();
    std::unique_ptr<dbf::Table> table;
    dbf::OpenOptions options;
    base::Status s =
        dbf::Table::Open(base::FindNoCase(dir, std::string(t.name) + ".DBF"), options, &table);
    if (!s.ok()) return s;
    IndexKeys keys(table->fields(), letters);
    for (const CatalogueIndex* i : missing) {
        dbf::IndexDefinition def;
        s = keys.Define(*i, &def);
        if (s.ok())
            s = dbf::Index::Create(Join(dir, std::string(i->name) + ".NTX"), table.get(), def);
        if (!s.ok()) return s;
    }
    return table->Close();
}

}  // namespace

base::Status CreateMissingTables(const std::string& dir, const LetterSet& letters,
                                 const TableFiller& fill, int* created, const base::Clock* clock) {
    if (created) *created = 0;
    for (const TableLayout& t : CatalogueTables()) {
        if (IsOutsideCompany(t.name)) continue;
        const std::string name = t.name;
        if (!base::Exists(base::FindNoCase(dir, name + ".DBF"))) {
            const std::string path = Join(dir, name + ".DBF");
            base::Status s = dbf::Table::Create(path, t.Specs(), nullptr, clock);
            if (!s.ok()) return s;
            if (fill && HasInitialContent(name)) {
                std::unique_ptr<dbf::Table> table;
                dbf::OpenOptions exclusive;
                exclusive.exclusive = true;
                exclusive.clock = clock;
                s = dbf::Table::Open(path, exclusive, &table);
                if (s.ok()) s = fill(name, *table);
                if (s.ok()) s = table->Close();
                if (!s.ok()) return s;
            }
            if (created) ++*created;
        }
        base::Status s = BuildMissingIndexes(dir, t, letters);
        if (!s.ok()) return s;
    }
    return base::Status::Ok();
}

}  // namespace kestrel::common
