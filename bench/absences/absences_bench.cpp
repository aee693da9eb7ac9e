// absences_bench: the absence functions ILDCNB and ILNBDPR for an employee
// with a sickness running back three months (10 February to 20 May, one
// line per calendar month, each entered in its month) and for one without
// absences, in a register of 10,000 sick employees and that one more; the
// settlement month is May 2026.
//
//   ildcnb_sick / ildcnb_none    ILDCNB('CHOR,ZAS', 90): the walk back
//                                reads April, March and February;
//   ilnbdpr_sick / ilnbdpr_none  ILNBDPR('CHOR,ZAS', 0) over the calendar;
//   ildcnb_all / ilnbdpr_all     one call for each of the 10,000 sick
//                                employees (each loaded first), and
//   load_all                     the loading alone, to subtract;
// and the ratios of a sick employee's call to a call without absences
// (target 5).
//
// Usage: absences_bench [benchmark flags]   (the company is made in /tmp)
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
#include "worktime/data/calendar_rules.h"
#include "worktime/data/formula_host.h"

namespace {

using namespace kestrel;

constexpr int kSick = 10000;
const char* const kMeasured = "005000";
const char* const kWithout = "010001";
const worktime::SettlementMonth kMonth{2026, 5};

using bench::Check;
using bench::Make;
using bench::Number;

void MakeCompany(const std::string& dir) {
    Make(dir, "PKSTER", [](auto add) { add({{"ROK_", "2026"}, {"MC_", "5"}}); });
    Make(dir, "PKPRAC", [](auto add) {
        for (int i = 1; i <= kSick + 1; ++i)
            add({{"NR_PRAC", Number(i)}, {"NAZWX_", "X"}, {"GRUPA_KAL", "01"}});
    });
    Make(dir, "PKRNB", [](auto add) {
        for (const char* code : {"CHOR", "ZAS", "UW", "OP", "NN"}) add({{"KOD_NIEOB", code}});
    });
    Make(dir, "PKKALEN", [](auto add) {
        const worktime::Calendar cal = worktime::PresetCalendar(2026, "01");
        std::map<std::string, std::string> record{{"ROK_", "2026"}, {"GRUPA_", "01"}};
        for (int m = 1; m <= 12; ++m) {
            char field[8];
            std::snprintf(field, sizeof field, "MC_%02d", m);
            record[field] = cal.months[static_cast<size_t>(m - 1)];
        }
        add(record);
    });
    Make(dir, "PKNIEOB", [](auto add) {
        // Entered month by month, as the months were settled.
        const struct {
            int month, from, to;
            const char* code;
        } months[] = {{2, 10, 28, "CHOR"}, {3, 1, 31, "ZAS"}, {4, 1, 30, "ZAS"}, {5, 1, 20, "ZAS"}};
        for (const auto& m : months)
            for (int i = 1; i <= kSick; ++i)
                add({{"ROK_", "2026"},
                     {"MIESIAC_", std::to_string(m.month)},
                     {"LP_", "1"},
                     {"NR_PRAC", Number(i)},
                     {"KOD_NIEOB", m.code},
                     {"GRUPA_", "01"},
                     {"ROK_KAL", "2026"},
                     {"MC_KAL", std::to_string(m.month)},
                     {"DZ_ROZP", std::to_string(m.from)},
                     {"DZ_ZAK", std::to_string(m.to)},
                     {"ILOSC_", std::to_string(m.to - m.from + 1)},
                     {"PROC_ZAS", "80"}});
    });
}

struct Fixture {
    std::string dir;
    testing::HeadlessRuntime h;
    std::unique_ptr<common::Tables> tables;
    std::unique_ptr<worktime::FormulaHost> host;
    formula::Program ildcnb, ilnbdpr;

    Fixture() {
        char tmpl[] = "/tmp/absences_bench_XXXXXX";
        dir = std::string(mkdtemp(tmpl)) + "/";
        MakeCompany(dir);
        h.rt.set_data_dir(dir);
        tables = std::make_unique<common::Tables>(h.rt);
        host = std::make_unique<worktime::FormulaHost>(h.rt, *tables);
        host->Prepare();
        Compile("ILDCNB('CHOR,ZAS', 90)", &ildcnb);
        Compile("ILNBDPR('CHOR,ZAS', 0)", &ilnbdpr);
        // The figures the runs stand for: 80 days back, 20 in May.
        Expect(kMeasured, ildcnb, 10);
        Expect(kMeasured, ilnbdpr, 13);
        Expect(kWithout, ildcnb, 0);
        Expect(kWithout, ilnbdpr, 0);
    }
    void Compile(const char* text, formula::Program* p) {
        formula::Error e;
        if (!host->engine().Compile(text, p, &e)) {
            std::fprintf(stderr, "%s: %s\n", text, e.Message().c_str());
            std::exit(1);
        }
    }
    void Expect(const char* employee, const formula::Program& p, double want) {
        host->LoadEmployee(employee, kMonth);
        formula::Value v;
        formula::Error e;
        if (!host->engine().Evaluate(p, &v, &e) || !v.IsNumber() || v.number() != want) {
            std::fprintf(stderr, "%s for %s: %s\n", p.Dump().substr(0, 40).c_str(), employee,
                         e.Message().c_str());
            std::exit(1);
        }
    }
    ~Fixture() {
        host.reset();
        tables.reset();
        std::filesystem::remove_all(dir);
    }
};

Fixture* g_fixture = nullptr;

void Call(benchmark::State& state, const char* employee, formula::Program Fixture::*program) {
    Fixture& f = *g_fixture;
    f.host->LoadEmployee(employee, kMonth);
    formula::Value v;
    formula::Error e;
    for (auto _ : state) {
        f.host->engine().Evaluate(f.*program, &v, &e);
        benchmark::DoNotOptimize(v);
    }
}

// One call for each sick employee, each loaded first; without a program
// only the loading.
void All(benchmark::State& state, formula::Program Fixture::*program) {
    Fixture& f = *g_fixture;
    formula::Value v;
    formula::Error e;
    for (auto _ : state) {
        for (int i = 1; i <= kSick; ++i) {
            f.host->LoadEmployee(Number(i), kMonth);
            if (program != nullptr) f.host->engine().Evaluate(f.*program, &v, &e);
            benchmark::DoNotOptimize(v);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Fixture fixture;
    g_fixture = &fixture;
    benchmark::RegisterBenchmark("absences/ildcnb_sick", Call, kMeasured, &Fixture::ildcnb);
    benchmark::RegisterBenchmark("absences/ildcnb_none", Call, kWithout, &Fixture::ildcnb);
    benchmark::RegisterBenchmark("absences/ilnbdpr_sick", Call, kMeasured, &Fixture::ilnbdpr);
    benchmark::RegisterBenchmark("absences/ilnbdpr_none", Call, kWithout, &Fixture::ilnbdpr);
    benchmark::RegisterBenchmark("absences/ildcnb_all", All, &Fixture::ildcnb)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("absences/ilnbdpr_all", All, &Fixture::ilnbdpr)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("absences/load_all", All, nullptr)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    bench::TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& ns = reporter.ns;
    for (const char* fn : {"ildcnb", "ilnbdpr"}) {
        const double sick = ns[std::string("absences/") + fn + "_sick"];
        const double none = ns[std::string("absences/") + fn + "_none"];
        const double all = ns[std::string("absences/") + fn + "_all"];
        const double load = ns["absences/load_all"];
        if (none > 0)
            std::printf(
                "%-8s %8.0f ns with a sickness, %8.0f ns without, ratio %.1f (target 5);"
                " over the register %.0f ns a call\n",
                fn, sick, none, sick / none, (all - load) * 1e6 / kSick);  // ms
    }
    return 0;
}
