// Representative payroll formulas, each evaluated 10,000,000 times with
// its variables bound to slots, against the same arithmetic written in C++
// in the same run. Prints ns per evaluation, the ratio to C++, and the heap
// allocations per evaluation (counted by replacing operator new).
//
//   build/release/bench/formula/formula_bench
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "platform/base/rounding.h"
#include "platform/formula/runtime.h"

namespace {

std::atomic<long long> g_allocations{0};

}  // namespace

void* operator new(std::size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using kestrel::base::YRound;
using namespace kestrel::formula;

constexpr int64_t kIterations = 10'000'000;

// The payroll variables, as slots.
enum Slot {
    ZASA,
    DNIPR,
    DNNOM,
    BRUT,
    ZUSP,
    KOSZ,
    ROKMC,
    GODZ,
    PODST,
    SKL1,
    SKL2,
    SKL3,
    ZWOL,
    TBZ26,
    kSlots
};
const char* const kSlotNames[kSlots] = {"ZASA", "DNIPR", "DNNOM", "BRUT", "ZUSP", "KOSZ", "ROKMC",
                                        "GODZ", "PODST", "SKL1",  "SKL2", "SKL3", "ZWOL", "TBZ26"};

struct Case {
    const char* name;
    const char* formula;
    bool numeric;
};

const Case kCases[] = {
    {"rate_function", "yround(ZASA*ren1(),2)", true},
    {"days_worked", "iif(DNIPR>0, ZASA/DNNOM*DNIPR, 0)", true},
    {"tax_advance", "max(0, int((BRUT-ZUSP-KOSZ)+0.5)*0.12-300)", true},
    {"health", "yround(min(BRUT, PODST)*0.09, 2)", true},
    {"logic", "iif(BRUT > 0 .and. !ZWOL, yround(BRUT*0.0245, 2), 0)", true},
    {"overtime", "yround(ZASA/168*GODZ*1.5, 2)", true},
    {"many_slots", "yround(max(0, PODST - ZUSP) * 0.0976 + SKL1 + SKL2 - SKL3, 2)", true},
    {"yint_chain", "yint(BRUT/DNNOM) + yint(ZASA/DNNOM) + mod(DNIPR, 7)", true},
    {"string_build", "padr(alltrim(str(ZASA, 10, 2)), 12) + \"/\" + strzero(DNIPR, 2)", false},
    {"array_ascan", "iif(ascan(TBZ26, \"B100\") > 0, 0, ZASA)", true},
    {"public_vars", "iif(NAGLKWP, yround(ZASA*NAGLSTAWKA, 2), 0)", true},
    {"array_make", "len({ZASA, DNIPR, BRUT}) * ZASA", true},
};
constexpr int kCaseCount = sizeof kCases / sizeof kCases[0];

struct Payroll {
    double zasa = 5000, dnipr = 15, dnnom = 20, brut = 6000, zusp = 822.6, kosz = 250;
    double rokmc = 202403, godz = 8, podst = 5177.4, skl1 = 12.5, skl2 = 7.25, skl3 = 3;
    bool zwol = false;
    bool naglkwp = true;  // public variables, as the configuration holds them
    double naglstawka = 0.0245;
    std::vector<std::string> tbz26 = {"A1", "A2", "B1", "B2", "B3", "B4", "B5", "B6", "B100", "C1"};
};

class Engine {
  public:
    Engine() : slots_(kSlots) {
        for (const char* name : kSlotNames) rt_.slots().Declare(name);
        const Payroll p;
        slots_[ZASA] = Value::Number(p.zasa, 2);
        slots_[DNIPR] = Value::Number(p.dnipr);
        slots_[DNNOM] = Value::Number(p.dnnom);
        slots_[BRUT] = Value::Number(p.brut, 2);
        slots_[ZUSP] = Value::Number(p.zusp, 2);
        slots_[KOSZ] = Value::Number(p.kosz, 2);
        slots_[ROKMC] = Value::Number(p.rokmc);
        slots_[GODZ] = Value::Number(p.godz);
        slots_[PODST] = Value::Number(p.podst, 2);
        slots_[SKL1] = Value::Number(p.skl1, 2);
        slots_[SKL2] = Value::Number(p.skl2, 2);
        slots_[SKL3] = Value::Number(p.skl3, 2);
        slots_[ZWOL] = Value::Logical(p.zwol);
        slots_[TBZ26] = Value::NewArray(rt_.arrays(), 0);
        for (const auto& s : p.tbz26) slots_[TBZ26].items().push_back(Value::String(s));
        rt_.BindSlots(slots_.data(), slots_.size());
        rt_.publics().Set("NAGLKWP", Value::Logical(p.naglkwp));
        rt_.publics().Set("NAGLSTAWKA", Value::Number(p.naglstawka, 4));
        Error err;
        if (rt_.DefineFunction(
                "REN1", "", "iif(ROKMC < 200707, 6.5/100, iif(ROKMC < 200801, 3.5/100, 1.5/100))",
                &err) != DefineResult::kOk) {
            std::fprintf(stderr, "ren1: %s\n", err.Message().c_str());
            std::exit(1);
        }
    }
    Program Compile(const char* text) {
        Program p;
        Error err;
        if (!rt_.Compile(text, &p, &err)) {
            std::fprintf(stderr, "%s: %s\n", text, err.Message().c_str());
            std::exit(1);
        }
        return p;
    }
    Runtime& rt() { return rt_; }

  private:
    Runtime rt_;
    std::vector<Value> slots_;
};

Engine& TheEngine() {
    static Engine engine;
    return engine;
}

std::map<std::string, double> g_alloc_per_eval;

void BM_Formula(benchmark::State& state, const Case& c) {
    Engine& engine = TheEngine();
    Program p = engine.Compile(c.formula);
    Value v;
    Error err;
    if (!engine.rt().Evaluate(p, &v, &err)) {
        state.SkipWithError(err.Message().c_str());
        return;
    }
    const long long before = g_allocations.load();
    for (auto _ : state) {
        engine.rt().Evaluate(p, &v, &err);
        benchmark::DoNotOptimize(v);
    }
    const double per = static_cast<double>(g_allocations.load() - before) / state.iterations();
    state.counters["allocs/eval"] = per;
    g_alloc_per_eval[c.name] = per;
}

// The same arithmetic written in C++; inputs go through DoNotOptimize so the
// compiler cannot fold them.
double Cpp(int which, Payroll& p) {
    benchmark::DoNotOptimize(p);
    switch (which) {
        case 0: {
            const double ren1 =
                p.rokmc < 200707 ? 6.5 / 100 : (p.rokmc < 200801 ? 3.5 / 100 : 1.5 / 100);
            return YRound(p.zasa * ren1, 2);
        }
        case 1:
            return p.dnipr > 0 ? (p.dnnom != 0 ? p.zasa / p.dnnom : 0) * p.dnipr : 0;
        case 2:
            return std::max(0.0, std::trunc((p.brut - p.zusp - p.kosz) + 0.5) * 0.12 - 300);
        case 3:
            return YRound(std::min(p.brut, p.podst) * 0.09, 2);
        case 4:
            return p.brut > 0 && !p.zwol ? YRound(p.brut * 0.0245, 2) : 0;
        case 5:
            return YRound(p.zasa / 168 * p.godz * 1.5, 2);
        case 6:
            return YRound(std::max(0.0, p.podst - p.zusp) * 0.0976 + p.skl1 + p.skl2 - p.skl3, 2);
        case 7: {
            double m = std::fmod(p.dnipr, 7);
            if (m != 0 && (p.dnipr > 0) != (7 > 0)) m += 7;
            return kestrel::base::YInt(p.brut / p.dnnom) + kestrel::base::YInt(p.zasa / p.dnnom) +
                   m;
        }
        case 9: {
            for (const auto& s : p.tbz26) {
                if (s.compare(0, 4, "B100") == 0 && s.size() >= 4) return 0;
            }
            return p.zasa;
        }
        case 10:
            return p.naglkwp ? YRound(p.zasa * p.naglstawka, 2) : 0;
        case 11: {
            std::vector<double> a = {p.zasa, p.dnipr, p.brut};
            benchmark::DoNotOptimize(a.data());
            return static_cast<double>(a.size()) * p.zasa;
        }
    }
    return 0;
}

std::string CppString(Payroll& p) {
    benchmark::DoNotOptimize(p);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", p.zasa);
    std::string s = buf;
    s.resize(12, ' ');
    char days[8];
    std::snprintf(days, sizeof days, "%02.0f", p.dnipr);
    return s + "/" + days;
}

void BM_Cpp(benchmark::State& state, int which) {
    Payroll p;
    if (which == 8) {
        for (auto _ : state) benchmark::DoNotOptimize(CppString(p));
    } else {
        for (auto _ : state) benchmark::DoNotOptimize(Cpp(which, p));
    }
}

// Collects ns per evaluation to print the ratio table at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> ns;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) ns[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    for (int i = 0; i < kCaseCount; ++i) {
        const Case& c = kCases[i];
        benchmark::RegisterBenchmark((std::string("formula/") + c.name).c_str(), BM_Formula, c)
            ->Iterations(kIterations);
        benchmark::RegisterBenchmark((std::string("cpp/") + c.name).c_str(), BM_Cpp, i)
            ->Iterations(kIterations);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-14s %-62s %9s %9s %7s %11s\n", "case", "formula", "ns/eval", "C++ ns", "ratio",
                "allocs/eval");
    for (const Case& c : kCases) {
        const double f = reporter.ns["formula/" + std::string(c.name) + "/iterations:10000000"];
        const double k = reporter.ns["cpp/" + std::string(c.name) + "/iterations:10000000"];
        if (f == 0) continue;
        std::printf("%-14s %-62.62s %9.1f %9.1f %7.1f %11.2f%s\n", c.name, c.formula, f, k,
                    k > 0 ? f / k : 0, g_alloc_per_eval[c.name], c.numeric ? "" : "  (string)");
    }
    benchmark::Shutdown();
    return 0;
}
