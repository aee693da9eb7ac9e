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
// With --setup the company's components and user functions are replaced by
// the shipped payroll setup (data/payroll, with the standard functions of
// the formula updater) and every employee is paid ST_PODST 6,000, insured:
// the run computes the statutory payroll instead of the synthetic shapes.
//
// Usage: recalc_bench [--employees N] [--setup]
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/tables/setup_files.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "payroll/data/formula_update.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "payroll/data/recalculation.h"
#include "payroll_bench_company.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/table.h"

namespace {

using namespace kestrel;
using bench::Check;
using bench::kComponents;
using bench::kEntered;
using bench::MakeCompany;
using bench::Number;

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

// The company's PKSPL and PKFUNC emptied and filled by the formula updater
// with the shipped setup; the tables the updater makes are made (answer t).
void InstallShippedSetup(const std::string& dir) {
    for (const char* t : {"PKSPL", "PKFUNC"}) {
        for (const char* ext : {".DBF", ".DBT"}) std::filesystem::remove(dir + t + ext);
        Check(dbf::Table::Create(dir + t + ".DBF", common::FindTable(t)->Specs()), t);
    }
    // The other tables the setup fills, empty where the bench company has none.
    for (const char* t :
         {"PKRDOCH", "PKSLST", "PKWROR", "PKAPDST", "PKTAB", "PKASKLD", "PKAZASL", "PKASKWN",
          "PKASPRZ", "PKAOKRN", "PKAWYNG", "PKTYTUB", "PKSWYN", "PKNTBW", "PKTBW"})
        if (!std::filesystem::exists(dir + t + ".DBF"))
            Check(dbf::Table::Create(dir + t + ".DBF", common::FindTable(t)->Specs()), t);
    testing::HeadlessRuntime h(std::vector<int>(40, 't'));
    h.rt.set_data_dir(dir);
    payroll::StandardDefinitions defs = payroll::ShippedStandardDefinitions();
    Check(common::ReadSetupDir(KESTREL_DATA_DIR "/payroll/", &defs.setup), "setup");
    try {
        common::Tables tables(h.rt);
        payroll::ApplyFormulaUpdates(tables, defs);
    } catch (const console::ScriptEnded&) {
        Asked(h);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int employees = 10000;
    bool setup = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--employees") == 0 && i + 1 < argc)
            employees = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--setup") == 0) setup = true;
    }
    const std::filesystem::path here =
        std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path();
    const std::string cache =
        (here / "cache" / (std::to_string(employees) + (setup ? "s" : ""))).string() + "/";
    const std::string ready = cache + "READY" + std::to_string(bench::kCompanyVersion);
    if (!std::filesystem::exists(ready)) {
        std::fprintf(stderr, "building the company of %d employees in %s ...\n", employees,
                     cache.c_str());
        std::filesystem::remove_all(cache);
        std::filesystem::create_directories(cache);
        if (setup) {
            MakeCompany(cache, employees,
                        {{"ST_PODST", "6000"},
                         {"ETAT_L", "1"},
                         {"ETAT_M", "1"},
                         {"ULGA_P_D", "T"},
                         {"WIE_ULG_PD", "1"},
                         {"CZY_OB_UE", "T"},
                         {"CZY_OB_UR", "T"},
                         {"CZY_OB_UC", "T"},
                         {"CZY_OB_UW", "T"},
                         {"CZY_OB_UZ", "T"}});
            InstallShippedSetup(cache);
        } else {
            MakeCompany(cache, employees);
        }
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
