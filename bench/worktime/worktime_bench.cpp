// worktime_bench: F10 of the working-time entry for one employee, with
// 10,000 employees in the register, 40 working-time codes of which 10 are
// computed, 10 absence codes, 10 allowance symbols and a month of lines for
// every employee (30 lines for the employee measured, 5 for the others).
//
//   f10        F10 as the dialog runs it (ComputedCodes::RunLoaded): the
//              variables reset to the employee loaded when chosen, the
//              month's lines the dialog lists added up, the 10 formulas
//              evaluated and the computed lines compared with (and, when
//              they change, written to) PKCZAS;
//   f10_cold   the same from the tables (ComputedCodes::Run): the
//              employee's allowances and the month's lines read first;
//   formulas   the same 10 compiled formulas evaluated alone over the same
//              variables;
// and the ratios to formulas (the work around the formulas; target 20).
//
// Usage: worktime_bench [benchmark flags]   (the company is made in /tmp)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench_tables.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/dbf/table.h"
#include "times_reporter.h"
#include "worktime/data/computed_codes.h"

namespace {

using namespace kestrel;

constexpr int kEmployees = 10000;
const char* const kMeasured = "005000";
const worktime::SettlementMonth kMonth{2026, 3};

using bench::Check;
using bench::Make;

// The ten computed codes, in their order, over the thirty others.
const char* const kFormulas[10] = {
    "E01 + E02 + E03 + E04 + E05 + E06 + E07 + E08 + E09 + E10",
    "N01 + N02 + N03 + N04 + N05",
    "A01 + A02",
    "iif(A02 > 8, A02 - 8, 0)",
    "yround(D01 * DS01 / 100, 2)",
    "D02 + D03 + D04 * 0.5",
    "iif(A01 = 0, 0, A02 / A01 * 100)",
    "max(0, A03 - 160)",
    "min(A03, 200) + C01H",
    "yround((A01 + A02) / 8, 1)",
};

std::string Code(char kind, int n) {
    char s[8];
    std::snprintf(s, sizeof s, "%c%02d", kind, n);
    return s;
}

void MakeCompany(const std::string& dir) {
    Make(dir, "PKSTER", [](auto add) { add({{"ROK_", "2026"}, {"MC_", "3"}}); });
    Make(dir, "PKPRAC", [](auto add) {
        for (int i = 1; i <= kEmployees; ++i) {
            char nr[8];
            std::snprintf(nr, sizeof nr, "%06d", i);
            add({{"NR_PRAC", nr}, {"NAZWX_", "X"}, {"GRUPA_KAL", "01"}});
        }
    });
    Make(dir, "PKROB", [](auto add) {
        int order = 0;
        for (int i = 1; i <= 10; ++i) add({{"KOD_OB", Code('E', i)}, {"TYP_", "E"}});
        for (int i = 1; i <= 10; ++i) add({{"KOD_OB", Code('N', i)}, {"TYP_", "N"}});
        for (int i = 1; i <= 10; ++i) add({{"KOD_OB", Code('D', i)}, {"TYP_", "D"}});
        for (int i = 1; i <= 10; ++i)
            add({{"KOD_OB", Code('A', i)},
                 {"TYP_", "A"},
                 {"SEKW_OBL", std::to_string(++order)},
                 {"ALGORYTM_", kFormulas[i - 1]}});
    });
    Make(dir, "PKRNB", [](auto add) {
        for (int i = 1; i <= 10; ++i) add({{"KOD_NIEOB", Code('C', i) + "H"}});
    });
    Make(dir, "PKSRDOD", [](auto add) {
        for (int i = 1; i <= 10; ++i) add({{"RODZAJ_DOD", "DS" + Code('0', i).substr(1)}});
    });
    Make(dir, "PKDOD", [](auto add) {
        for (int i = 1; i <= kEmployees; ++i) {
            char nr[8];
            std::snprintf(nr, sizeof nr, "%06d", i);
            add({{"NR_PRAC", nr}, {"RODZAJ_DOD", "DS01"}, {"WARTOSC_", "20"}, {"LP_", "1"}});
            add({{"NR_PRAC", nr},
                 {"RODZAJ_DOD", "DS02"},
                 {"WARTOSC_", "5"},
                 {"LP_", "2"},
                 {"CZASOWY_", "T"},
                 {"OD_ROK", "2026"},
                 {"OD_MC", "1"},
                 {"ROK_DO", "2026"},
                 {"MC_DO", "12"}});
        }
    });
    Make(dir, "PKFUNC", [](auto) {});
    Make(dir, "PKBRYG", [](auto) {});
    Make(dir, "PKCZAS", [](auto add) {
        for (int i = 1; i <= kEmployees; ++i) {
            char nr[8];
            std::snprintf(nr, sizeof nr, "%06d", i);
            const bool measured = std::string(nr) == kMeasured;
            for (int k = 0; k < (measured ? 30 : 5); ++k) {
                const std::string code = Code("END"[k / 10], k % 10 + 1);
                add({{"ROK_", "2026"},
                     {"MIESIAC_", "3"},
                     {"NR_PRAC", nr},
                     {"KOD_OB", code},
                     {"GRUPA_", "01"},
                     {"ILOSC_GODZ", std::to_string(1 + (i + k) % 9)}});
            }
        }
    });
}

struct Fixture {
    std::string dir;
    testing::HeadlessRuntime h;
    std::unique_ptr<common::Tables> tables;
    std::unique_ptr<worktime::FormulaHost> host;
    std::unique_ptr<worktime::ComputedCodes> codes;
    std::unique_ptr<worktime::TimeLines> lines;
    std::vector<formula::Program> programs;

    Fixture() {
        char tmpl[] = "/tmp/worktime_bench_XXXXXX";
        dir = std::string(mkdtemp(tmpl)) + "/";
        MakeCompany(dir);
        h.rt.set_data_dir(dir);
        tables = std::make_unique<common::Tables>(h.rt);
        host = std::make_unique<worktime::FormulaHost>(h.rt, *tables);
        host->Prepare();
        codes = std::make_unique<worktime::ComputedCodes>(*host, *tables);
        lines = std::make_unique<worktime::TimeLines>(h.rt, *tables, kMonth);
        for (const char* text : kFormulas) {
            formula::Program p;
            formula::Error e;
            if (!host->engine().Compile(text, &p, &e)) {
                std::fprintf(stderr, "%s: %s\n", text, e.Message().c_str());
                std::exit(1);
            }
            programs.push_back(std::move(p));
        }
        // The first F10 writes the computed lines; later ones find them.
        const std::string m = codes->Run(*lines, kMeasured, "01");
        if (!m.empty()) {
            std::fprintf(stderr, "F10: %s\n", m.c_str());
            std::exit(1);
        }
    }
    ~Fixture() {
        codes.reset();
        host.reset();
        lines.reset();
        tables.reset();
        std::filesystem::remove_all(dir);
    }
};

Fixture* g_fixture = nullptr;

// F10 as the dialog runs it: the employee was loaded when chosen and the
// dialog holds the month's lines it lists.
void BM_F10(benchmark::State& state) {
    Fixture& f = *g_fixture;
    f.host->LoadEmployee(kMeasured, kMonth);
    std::vector<worktime::TimeLine> month = f.lines->LinesOf(kMeasured);
    for (auto _ : state) {
        std::string m = f.codes->RunLoaded(*f.lines, kMeasured, "01", &month);
        benchmark::DoNotOptimize(m);
    }
}

// F10 from nothing, as kestrel-tool runs it: the employee's allowances and
// the month's lines read from the tables first.
void BM_F10Cold(benchmark::State& state) {
    Fixture& f = *g_fixture;
    for (auto _ : state) {
        std::string m = f.codes->Run(*f.lines, kMeasured, "01");
        benchmark::DoNotOptimize(m);
    }
}

void BM_FormulasAlone(benchmark::State& state) {
    Fixture& f = *g_fixture;
    f.host->LoadEmployee(kMeasured, kMonth);
    formula::Value v;
    formula::Error e;
    for (auto _ : state) {
        for (const formula::Program& p : f.programs) {
            f.host->engine().Evaluate(p, &v, &e);
            benchmark::DoNotOptimize(v);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Fixture fixture;
    g_fixture = &fixture;
    benchmark::RegisterBenchmark("worktime/f10", BM_F10);
    benchmark::RegisterBenchmark("worktime/f10_cold", BM_F10Cold);
    benchmark::RegisterBenchmark("worktime/formulas", BM_FormulasAlone);
    benchmark::Initialize(&argc, argv);
    bench::TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double f10 = reporter.ns["worktime/f10"];
    const double cold = reporter.ns["worktime/f10_cold"];
    const double alone = reporter.ns["worktime/formulas"];
    if (alone > 0) {
        std::printf("\nthe 10 formulas alone %.0f ns\n", alone);
        std::printf("F10 in the dialog   %.0f ns, ratio %.1f (target 20)\n", f10, f10 / alone);
        std::printf("F10 from the tables %.0f ns, ratio %.1f\n", cold, cold / alone);
    }
    return 0;
}
