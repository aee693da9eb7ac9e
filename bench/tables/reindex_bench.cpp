// reindex_bench: re-indexing through menu 9.4 (headless) against the engine's
// plain-field index build on the same records.
//   PKPRAC: 14 indexes with scrambled names, unscrambled and collated by the
//           formula engine, several with conditions;
//   PKPLACE: 6 indexes.
// For each table it prints the time of the menu's re-indexing, the time of
// building the same number of indexes with plain field keys of the same
// sizes (no formulas, no conditions), and their ratio.
//
// Usage: reindex_bench [employees] [positions] [directory] [runs]
//        (100,000 employees, 2,000,000 positions in /tmp, one run by default;
//        with several runs the last line of a table gives the medians).
// Times are given by the clock and as CPU time of the process, which
// varies less when other programs share the processors.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "common/tables/table_catalogue.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "utilities/table_menus.h"

namespace {

using namespace kestrel;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU seconds of the process (user and system): steadier than the clock
// when other programs share the processors.
double CpuNow() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Check(const base::Status& s, const char* what) {
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.ToString().c_str());
        std::exit(1);
    }
}

const char* kSurnames[] = {"Nowak",
                           "Kowalski",
                           "Wi\x98niewski",
                           "W\xA2jcik",
                           "Kowalczyk",
                           "Kami\xE4"
                           "ski",
                           "Lewandowski",
                           "Zieli\xE4"
                           "ski",
                           "\x9D"
                           "ukasik",
                           "\xBE"
                           "ak"};

void FillEmployees(const std::string& path, int n) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &t), "open PKPRAC");
    std::mt19937 rng(20261208);
    dbf::Record rec = t->NewRecord();
    const int nr = rec.FieldIndex("NR_PRAC"), nazw = rec.FieldIndex("NAZWX_"),
              pesel = rec.FieldIndex("PESELX_"), przycz = rec.FieldIndex("PRZYCZ_ZW"),
              dzial = rec.FieldIndex("DZIAL_"), urz = rec.FieldIndex("URZ_SKARB"),
              zwoln = rec.FieldIndex("DATA_ZWOLN"), nie = rec.FieldIndex("NIE_PRAC"),
              prawna = rec.FieldIndex("OS_PRAWNA"), pel = rec.FieldIndex("PEL_NAZWA");
    char buf[32];
    for (int i = 1; i <= n; ++i) {
        rec.Clear();
        std::snprintf(buf, sizeof buf, "%06d", i);
        rec.SetString(nr, buf);
        std::string surname = kSurnames[rng() % 10];
        surname += std::to_string(rng() % 1000);
        rec.SetString(nazw, common::Scramble(common::ScrambleKind::kName, surname, 72));
        std::snprintf(buf, sizeof buf, "%011u", static_cast<unsigned>(rng() % 4000000000u));
        rec.SetString(pesel, common::Scramble(common::ScrambleKind::kIdentity, buf, 34));
        if (rng() % 4 == 0) {
            rec.SetString(przycz, "01");
            rec.SetDate(zwoln, "20230630");
        }
        std::snprintf(buf, sizeof buf, "D%03u", static_cast<unsigned>(rng() % 50));
        rec.SetString(dzial, buf);
        std::snprintf(buf, sizeof buf, "%02u", static_cast<unsigned>(rng() % 40));
        rec.SetString(urz, buf);
        rec.SetLogical(nie, rng() % 5 == 0);
        const bool legal = rng() % 50 == 0;
        rec.SetLogical(prawna, legal);
        if (legal) rec.SetString(pel, surname + " Sp. z o.o.");
        uint32_t recno = 0;
        Check(t->Append(rec, &recno), "append PKPRAC");
    }
    Check(t->Close(), "close PKPRAC");
}

void FillPositions(const std::string& path, int n, int employees) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &t), "open PKPLACE");
    std::mt19937 rng(8122026);
    dbf::Record rec = t->NewRecord();
    char buf[32];
    for (int i = 1; i <= n; ++i) {
        rec.Clear();
        const int year = 2015 + static_cast<int>(rng() % 12),
                  month = 1 + static_cast<int>(rng() % 12);
        std::snprintf(buf, sizeof buf, "%06u", 1 + static_cast<unsigned>(rng() % employees));
        rec.SetString(0, buf);
        (void)rec.SetNumber(1, 1 + rng() % 60);
        rec.SetString(2, "AP");
        std::snprintf(buf, sizeof buf, "%02d", month);
        rec.SetString(3, buf);
        rec.SetString(4, std::to_string(year));
        std::snprintf(buf, sizeof buf, "%04d%02d%02u", year, month,
                      1 + static_cast<unsigned>(rng() % 28));
        rec.SetDate(5, buf);
        std::snprintf(buf, sizeof buf, "S%03u", static_cast<unsigned>(rng() % 300));
        rec.SetString(6, buf);
        (void)rec.SetNumber(7, static_cast<double>(rng() % 10000000) / 100.0);
        uint32_t recno = 0;
        Check(t->Append(rec, &recno), "append PKPLACE");
    }
    Check(t->Close(), "close PKPLACE");
}

// Re-indexes `table` through the menu: the bar moved to it, Enter, the final
// message acknowledged, Esc.
Timing ThroughMenu(const std::string& dir, const char* table) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir + "/");
    std::vector<int> keys;
    keys.push_back(console::key::kDown);  // past >>Koniec<<
    keys.push_back(console::key::kDown);  // past >>ARCHIWUM<<
    for (const common::TableLayout* t : common::OfferedTables(h.rt, true)) {
        if (std::string(t->name) == table) break;
        keys.push_back(console::key::kDown);
    }
    keys.insert(keys.end(), {console::key::kEnter, ' ', console::key::kEsc});
    h.backend.AddKeys(keys);
    const auto start = Clock::now();
    const double cpu = CpuNow();
    common::Qrm94(h.rt);
    return Timing{Seconds(start), CpuNow() - cpu};
}

// The same number of indexes with plain field keys of the same sizes.
Timing PlainFields(const std::string& dir, const char* table) {
    const common::TableLayout* layout = common::FindTable(table);
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(dir + "/" + table + ".DBF", exclusive, &t), "open");
    std::vector<uint16_t> sizes;
    for (const common::CatalogueIndex& i : layout->indexes) {
        std::unique_ptr<dbf::Index> idx;
        Check(dbf::Index::Open(dir + "/" + i.name + ".NTX", true, true, &idx), "open index");
        sizes.push_back(idx->key_size());
    }
    const auto start = Clock::now();
    const double cpu = CpuNow();
    int n = 0;
    for (uint16_t size : sizes) {
        dbf::IndexDefinition def;
        def.key_expression = "plain";
        def.key = [size](const dbf::Record& r, std::string* k) {
            k->assign(r.bytes().data() + 1, size);
        };
        Check(dbf::Index::Create(dir + "/PLAIN" + std::to_string(++n) + ".NTX", t.get(), def),
              "plain build");
    }
    return Timing{Seconds(start), CpuNow() - cpu};
}

}  // namespace

int main(int argc, char** argv) {
    const int employees = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int positions = argc > 2 ? std::atoi(argv[2]) : 2000000;
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
    const std::string dir = (argc > 3 ? std::string(argv[3]) : std::string("/tmp")) +
                            "/kestrel-reindex-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    for (const char* name : {"PKETYK", "PKPRAC", "PKPLACE"})
        Check(dbf::Table::Create(dir + "/" + name + ".DBF", common::FindTable(name)->Specs()),
              "create");
    FillEmployees(dir + "/PKPRAC.DBF", employees);
    FillPositions(dir + "/PKPLACE.DBF", positions, employees);
    std::printf("%-8s %10s %4s %10s %10s %8s %10s %10s %8s\n", "table", "records", "run",
                "menu 9.4", "plain", "ratio", "menu cpu", "plain cpu", "ratio");
    for (auto [table, records] : {std::pair{"PKPRAC", employees}, {"PKPLACE", positions}}) {
        std::vector<double> wall_ratios, cpu_ratios, menu_wall, menu_cpu;
        for (int run = 1; run <= runs; ++run) {
            const Timing menu = ThroughMenu(dir, table);
            const Timing plain = PlainFields(dir, table);
            std::printf("%-8s %10d %4d %9.2fs %9.2fs %8.2f %9.2fs %9.2fs %8.2f\n", table, records,
                        run, menu.wall, plain.wall, menu.wall / plain.wall, menu.cpu, plain.cpu,
                        menu.cpu / plain.cpu);
            wall_ratios.push_back(menu.wall / plain.wall);
            cpu_ratios.push_back(menu.cpu / plain.cpu);
            menu_wall.push_back(menu.wall);
            menu_cpu.push_back(menu.cpu);
        }
        if (runs > 1) {
            std::printf("%-8s %10d %4s %9.2fs %10s %8.2f %9.2fs %10s %8.2f\n", table, records,
                        "med", Median(menu_wall), "", Median(wall_ratios), Median(menu_cpu), "",
                        Median(cpu_ratios));
        }
    }
    std::filesystem::remove_all(dir);
    return 0;
}
