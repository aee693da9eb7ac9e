// Browse windows over big tables: the cost of a key must not grow with the
// table. A browse over 1,000,000 records in index order takes 10,000 mixed
// PgDn / PgUp / Down / Ctrl+PgDn keys (headless); the same over 1,000
// records is the baseline.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/pick/table_browse.h"
#include "common/session/runtime.h"
#include "platform/console/headless_backend.h"
#include "platform/console/keys.h"
#include "platform/dbf/formula_key.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"

namespace {

namespace key = kestrel::console::key;
using namespace kestrel;

void Check(const dbf::Status& s, const char* what) {
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.ToString().c_str());
        std::exit(1);
    }
}

// A table of `n` employees with an index on the number.
void Build(const std::string& dir, int n) {
    const std::string dbf_path = dir + "/PKPRAC.DBF";
    Check(dbf::Table::Create(dbf_path, {{"NR_PRAC", dbf::FieldType::kCharacter, 6, 0},
                                        {"NAZWISKO", dbf::FieldType::kCharacter, 30, 0},
                                        {"STAWKA_", dbf::FieldType::kNumeric, 12, 2}}),
          "create");
    std::unique_ptr<dbf::Table> table;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(dbf_path, exclusive, &table), "open");
    dbf::Record r = table->NewRecord();
    std::mt19937 rng(7);
    for (int i = 0; i < n; ++i) {
        char nr[8];
        std::snprintf(nr, sizeof nr, "%06d", static_cast<int>(rng() % 1000000));
        r.SetString(0, nr);
        r.SetString(1, "KOWALSKI " + std::to_string(i));
        r.SetNumber(2, 1000 + i % 5000);
        uint32_t recno;
        Check(table->Append(r, &recno), "append");
    }
    dbf::IndexDefinition def;
    def.key_expression = "NR_PRAC";
    Check(dbf::CompileFormulaKey(&table->fields(), def.key_expression, &def.key), "key");
    Check(dbf::Index::Create(dir + "/PKPRAC1.NTX", table.get(), def), "index");
    Check(table->Close(), "close");
}

double Run(const std::string& dir, const std::vector<int>& keys) {
    console::HeadlessBackend backend;
    backend.AddKeys(keys);
    backend.AddKeys({key::kEsc});
    console::Console con(backend);
    base::FixedClock clock(base::LocalTime{2026, 12, 8, 9, 30, 0});
    common::Runtime rt(con, clock);
    dbf::Workspace ws;
    dbf::WorkArea* area = nullptr;
    Check(ws.Use(dir + "/PKPRAC.DBF", "PKPRAC", {}, &area), "use");
    std::unique_ptr<dbf::Index> index;
    Check(dbf::Index::Open(dir + "/PKPRAC1.NTX", false, false, &index), "index open");
    dbf::KeyFunction k;
    Check(dbf::CompileFormulaKey(&area->table().fields(), "NR_PRAC", &k), "key");
    index->Bind(k, nullptr);
    Check(area->AddIndex(std::move(index)), "add index");
    Check(area->GoTop(), "top");
    const auto start = std::chrono::steady_clock::now();
    common::BrowseTable(rt, *area, 5, 1, 20, 78, {}, [&](int, int, common::Browse&) {
        return con.LastKey() == key::kEsc ? common::kBrowseClose : common::kBrowseRedrawRow;
    });
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() /
           static_cast<double>(keys.size());
}

}  // namespace

int main() {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_browse_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "big");
    std::filesystem::create_directories(root / "small");
    Build((root / "big").string(), 1000000);
    Build((root / "small").string(), 1000);

    std::mt19937 rng(42);
    const int kinds[] = {key::kPgDn, key::kPgUp, key::kDown, key::kCtrlPgDn};
    std::vector<int> keys;
    for (int i = 0; i < 10000; ++i) keys.push_back(kinds[rng() % 4]);

    const double big = Run((root / "big").string(), keys);
    const double small = Run((root / "small").string(), keys);
    std::printf(
        "browse, 10,000 mixed keys: 1,000,000 records %.2f us/key, 1,000 records %.2f us/key\n",
        big, small);
    std::printf("ratio: %.2f (target: within 2)\n", big / small);
    std::filesystem::remove_all(root);
    return 0;
}
