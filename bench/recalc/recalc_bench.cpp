// recalc_bench: the recalculation of a whole payroll list (scope 1) in a
// company of 10,000 employees with 150 components, 120 of them computed by
// algorithms of the shapes payroll formulas have (SUMASKLAD, ZUSLIMIT and
// SUMADOCH among them), and twelve months of history (2026, 42 positions an
// employee a month, about 5 million positions). The list is January 2027's;
// every employee has 10 entered amounts on it.
//
// Reports the first run (no position of the list computed yet) and the
// rerun (every position there), positions written per second, and the ratio
// of a run to the formula engine evaluating the same algorithms the same
// number of times over one loaded employee (target: both runs within 5 s,
// the ratio within 10).
//
// The company is built once into cache/ beside the program and copied to
// work/ for every run, so each run starts from the same tables.
//
// Usage: recalc_bench [--employees N]
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_tables.h"
#include "common/checks/scramble.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "payroll/data/recalculation.h"
#include "platform/codepage/cp852.h"

namespace {

using namespace kestrel;
using bench::Check;
using bench::Make;
using bench::Number;

constexpr int kComponents = 150;
constexpr int kEntered = 30;  // K000..K029, entered; A030..A149 computed
constexpr int kPerMonth = 42;
constexpr int kOnList = 10;  // entered amounts of each employee on the list
constexpr int kVersion = 2;  // of the company below: a new one rebuilds the cache

std::string Symbol(int k) {
    char s[8];
    std::snprintf(s, sizeof s, "%c%03d", k < kEntered ? 'K' : 'A', k);
    return s;
}

std::string Paid(int year, int month) {
    char s[16];
    std::snprintf(s, sizeof s, "%04d%02d28", year, month);
    return s;
}

// The algorithm of computed component k: arithmetic over entered amounts
// and the components computed before it, and three library functions.
std::string Algorithm(int k) {
    char s[160];
    const int e = k % kEntered, a1 = k - 1, a2 = k - 2 < kEntered ? kEntered : k - 2;
    if (k == 40) return "SUMASKLAD('K0*')";
    if (k == 80) return "ZUSLIMIT('K003')";
    if (k == 120) return "SUMADOCH()";
    if (k == kEntered) return "yround(K000*1.1, 2)";
    switch (k % 8) {
        case 0:
            std::snprintf(s, sizeof s, "yround(K%03d*1.1, 2)", e);
            break;
        case 1:
            std::snprintf(s, sizeof s, "iif(K%03d>0, K%03d/21*20, 0)", e, e);
            break;
        case 2:
            std::snprintf(s, sizeof s, "max(0, int((A%03d-K%03d)+0.5)*0.12-300)", a1, e);
            break;
        case 3:
            std::snprintf(s, sizeof s, "yround(min(A%03d, 5000)*0.09, 2)", a2);
            break;
        case 4:
            std::snprintf(s, sizeof s, "yround(A%03d*0.0976 + K%03d - K%03d, 2)", a1, e,
                          (e + 1) % kEntered);
            break;
        case 5:
            std::snprintf(s, sizeof s, "iif(A%03d > 0 .and. K%03d > 0, yround(A%03d*0.0245, 2), 0)",
                          a1, e, a1);
            break;
        case 6:
            std::snprintf(s, sizeof s, "yround(K%03d/168*10*1.5, 2)+1", e);
            break;
        default:
            std::snprintf(s, sizeof s, "A%03d+A%03d+1", a1, a2);
    }
    return s;
}

void MakeCompany(const std::string& dir, int employees) {
    for (const char* t :
         {"PKROB",   "PKRNB",   "PKSRDOD", "PKDOD",   "PKFUNC", "PKCZAS",  "PKBRYG",
          "PKSBRG",  "PKGRUPY", "PKKALEN", "PKSKSZT", "PKOSPL", "PKNIEOB", "PKWALOR",
          "PKZPRAC", "PKSKLAD", "PKUMTR",  "PKUPRC",  "PKZEST", "PKDZIAL", "PKZAW"})
        Make(dir, t, [](auto) {});
    Make(dir, "PKSTER", [](auto add) { add({{"ROK_", "2027"}, {"MC_", "1"}}); });
    // The tax scale the recalculation loads first.
    Make(dir, "PKTAB", [](auto add) {
        add({{"ROK_", "2027"},
             {"OD_MC", "1"},
             {"MC_DO", "12"},
             {"PONAD_KW", "0"},
             {"DO_KWOTY", "120000"},
             {"KWOTA_POD", "0"},
             {"PROC_POD", "12"},
             {"ULGA_POD", "3600"}});
        add({{"ROK_", "2027"},
             {"OD_MC", "1"},
             {"MC_DO", "12"},
             {"PONAD_KW", "120000"},
             {"DO_KWOTY", "999999999.99"},
             {"KWOTA_POD", "14400"},
             {"PROC_POD", "32"},
             {"ULGA_POD", "3600"}});
    });
    Make(dir, "PKSLST", [](auto add) { add({{"TYP_LST", "A"}, {"NAZWA_LST", "Etaty"}}); });
    Make(dir, "PKPRAC", [&](auto add) {
        for (int i = 1; i <= employees; ++i) {
            char clear[16];
            std::snprintf(clear, sizeof clear, "8001%07d", i);
            add({{"NR_PRAC", Number(i)},
                 {"NAZWX_", "X"},
                 {"GRUPA_KAL", "01"},
                 {"DATA_ZATR", "20200101"},
                 {"PESELX_", common::Scramble(common::ScrambleKind::kIdentity, clear, 34)}});
        }
    });
    Make(dir, "PKSPL", [](auto add) {
        for (int k = 0; k < kComponents; ++k) {
            const bool entered = k < kEntered;
            add({{"SKLADN_PL", Symbol(k)},
                 {"NAZWA_", "Składnik " + Symbol(k)},
                 {"TYP_", entered ? "K" : "A"},
                 {"SEKW_OBL", std::to_string(k)},
                 {"ALGORYTM_", entered ? "" : codepage::FromUtf8(Algorithm(k))}});
        }
    });
    Make(dir, "PKLISTY", [](auto add) {
        for (int m = 1; m <= 13; ++m) {
            const int year = m == 13 ? 2027 : 2026, month = m == 13 ? 1 : m;
            char mc[4];
            std::snprintf(mc, sizeof mc, "%02d", month);
            add({{"ROK_LST", std::to_string(year)},
                 {"TYP_LST", "A"},
                 {"NR_LST", std::to_string(m == 13 ? 1 : m)},
                 {"MC_LST", mc},
                 {"DATA_WYP", Paid(year, month)},
                 {"WSK_AKTYWN", m == 13 ? "T" : "F"},
                 {"GENER_DOCH", "T"},
                 {"ZA_ROK", std::to_string(year)}});
        }
    });
    Make(dir, "PKRDOCH", [](auto add) { add({{"TYTUL_WYP", "0001"}, {"KUMUL_", "T"}}); });
    Make(dir, "PKDOCH", [&](auto add) {
        for (int m = 1; m <= 12; ++m)
            for (int i = 1; i <= employees; ++i)
                add({{"NR_PRAC", Number(i)},
                     {"ROK_LST", "2026"},
                     {"TYP_LST", "A"},
                     {"NR_LST", std::to_string(m)},
                     {"DATA_WYP", Paid(2026, m)},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "5000"}});
    });
    // The positions, written straight through the table.
    const std::string path = dir + "PKPLACE.DBF";
    Check(dbf::Table::Create(path, common::FindTable("PKPLACE")->Specs()), "PKPLACE");
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &t), "PKPLACE");
    const int f_year = t->FieldIndex("ROK_LST"), f_type = t->FieldIndex("TYP_LST"),
              f_nr = t->FieldIndex("NR_LST"), f_month = t->FieldIndex("MC_LST"),
              f_paid = t->FieldIndex("DATA_WYP"), f_prac = t->FieldIndex("NR_PRAC"),
              f_skl = t->FieldIndex("SKLADN_PL"), f_kw = t->FieldIndex("KWOTA_");
    dbf::Record r = t->NewRecord();
    for (int m = 1; m <= 13; ++m) {
        const int year = m == 13 ? 2027 : 2026, month = m == 13 ? 1 : m;
        char mc[4];
        std::snprintf(mc, sizeof mc, "%02d", month);
        r.SetString(f_year, std::to_string(year));
        r.SetString(f_type, "A");
        r.SetNumber(f_nr, m == 13 ? 1 : m);
        r.SetString(f_month, mc);
        r.SetString(f_paid, Paid(year, month));
        for (int i = 1; i <= employees; ++i) {
            r.SetString(f_prac, Number(i));
            const int count = m == 13 ? kOnList : kPerMonth;
            for (int k = 0; k < count; ++k) {
                // History: entered and computed ones; the open list: entered.
                const int c = m == 13 ? (i + k) % kEntered : (i + k * 3) % kComponents;
                r.SetString(f_skl, Symbol(c));
                r.SetNumber(f_kw, 1000 + 10 * k);
                uint32_t recno = 0;
                Check(t->Append(r, &recno), "PKPLACE");
            }
        }
    }
    Check(t->Close(), "PKPLACE");
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The processor time of this process so far: on a machine other programs
// load, the wall clock alone says little.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// What the table layer asked when nobody answers (a missing table, a lock).
[[noreturn]] void Asked(const testing::HeadlessRuntime& h) {
    std::fprintf(stderr, "the program asks: %s\n", h.ShownRow(23).c_str());
    std::exit(1);
}

struct Run;
Run RecalculateIn(testing::HeadlessRuntime& h, const std::string& dir);

struct Run {
    double seconds = 0;
    double cpu = 0;
    payroll::RecalcOutcome outcome;
};

Run Recalculate(const std::string& dir) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir);
    try {
        return RecalculateIn(h, dir);
    } catch (const console::ScriptEnded&) {
        Asked(h);
    }
}

Run RecalculateIn(testing::HeadlessRuntime& h, const std::string& dir) {
    (void)dir;
    common::Tables tables(h.rt);
    payroll::OpenLists open = payroll::FindOpenLists(h.rt, tables);
    if (open.lists.empty()) {
        std::fprintf(stderr, "no open list: %s\n", codepage::ToUtf8(open.refusal).c_str());
        std::exit(1);
    }
    payroll::Recalculation run(h.rt, tables, open.lists.front(), nullptr);
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds();
    if (std::string m = run.Check(); !m.empty()) {
        std::fprintf(stderr, "refused: %s\n", codepage::ToUtf8(m).c_str());
        std::exit(1);
    }
    run.OpenTables(true);
    Run r;
    r.outcome = run.Run({});
    r.seconds = Seconds(start);
    r.cpu = CpuSeconds() - cpu;
    if (!r.outcome.message.empty()) {
        std::fprintf(stderr, "the run ended: %s\n", codepage::ToUtf8(r.outcome.message).c_str());
        std::exit(1);
    }
    return r;
}

// The same algorithms evaluated as often as a run evaluates them, over one
// employee loaded once: the formula engine's share of a run.
struct Engine {
    double seconds = 0;
    double cpu = 0;
};

Engine EngineAloneIn(testing::HeadlessRuntime& h, int employees);

Engine EngineAlone(const std::string& dir, int employees) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir);
    try {
        return EngineAloneIn(h, employees);
    } catch (const console::ScriptEnded&) {
        Asked(h);
    }
}

Engine EngineAloneIn(testing::HeadlessRuntime& h, int employees) {
    common::Tables tables(h.rt);
    payroll::PayrollHost host(h.rt, tables);
    host.PrepareRun();
    payroll::OpenLists open = payroll::FindOpenLists(h.rt, tables);
    host.SetList(open.lists.front());
    host.LoadEmployee(Number(employees / 2));
    std::vector<const payroll::Component*> computed;
    for (const payroll::Component& c : host.components_by_order())
        if (c.kind == 'A') computed.push_back(&c);
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds();
    double v = 0;
    formula::Error e;
    for (int i = 0; i < employees; ++i)
        for (const payroll::Component* c : computed) {
            if (!host.EvaluateComponent(*c, &v, &e)) {
                std::fprintf(stderr, "%s: %s\n", c->symbol.c_str(),
                             codepage::ToUtf8(e.Message()).c_str());
                std::exit(1);
            }
            host.SetAmount(c->symbol, v);
        }
    return {Seconds(start), CpuSeconds() - cpu};
}

}  // namespace

int main(int argc, char** argv) {
    int employees = 10000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--employees") == 0) employees = std::atoi(argv[i + 1]);
    const std::filesystem::path here =
        std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path();
    const std::string cache = (here / "cache" / std::to_string(employees)).string() + "/";
    const std::string ready = cache + "READY" + std::to_string(kVersion);
    if (!std::filesystem::exists(ready)) {
        std::fprintf(stderr, "building the company of %d employees in %s ...\n", employees,
                     cache.c_str());
        std::filesystem::remove_all(cache);
        std::filesystem::create_directories(cache);
        MakeCompany(cache, employees);
        {
            // The index files are built by the first open.
            testing::HeadlessRuntime h;
            h.rt.set_data_dir(cache);
            common::Tables tables(h.rt);
            payroll::Positions positions(h.rt, tables);
            payroll::PayrollHost host(h.rt, tables);
            host.PrepareRun();
        }
        if (std::FILE* f = std::fopen(ready.c_str(), "w")) std::fclose(f);
    }
    const std::string work = (here / "work").string() + "/";
    std::filesystem::remove_all(work);
    std::filesystem::copy(cache, work, std::filesystem::copy_options::recursive);

    const Engine engine = EngineAlone(work, employees);
    const Run first = Recalculate(work);
    const Run rerun = Recalculate(work);
    std::printf("recalc of %d employees, %d components (%d computed)\n", employees, kComponents,
                kComponents - kEntered);
    for (const auto& [name, r] : {std::pair<const char*, const Run&>{"first run", first},
                                  std::pair<const char*, const Run&>{"rerun", rerun}})
        std::printf(
            "%-9s %7.2f s (processor %.2f s)  %d employees  %d positions written (%.0f/s)  "
            "ratio to the engine alone %.1f (target 10; run target 5 s)\n",
            name, r.seconds, r.cpu, r.outcome.employees, r.outcome.positions_written,
            r.outcome.positions_written / r.seconds, r.seconds / engine.seconds);
    std::printf("engine    %7.2f s (processor %.2f s)  for %d x %d evaluations\n", engine.seconds,
                engine.cpu, employees, kComponents - kEntered);
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average %.2f %.2f %.2f (2 cores)\n", load[0], load[1], load[2]);
    std::filesystem::remove_all(work);
    return 0;
}
