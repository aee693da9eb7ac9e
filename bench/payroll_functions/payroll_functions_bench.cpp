// payroll_functions_bench: the sum functions of payroll formulas for one
// employee on the December 2026 list, in a company of 10,000 employees and
// in one of 100, each with twelve lists of 2026 (one a month) on which every
// employee has 42 of the 150 components (about 5 million positions in the
// large company) and one tax record a month; the measured employee shares
// his identity number with a second record.
//
//   sumasklad_context  SUMASKLAD('K*'): the mask over the context of 150
//                      components (and the rest of the namespace);
//   sumasklad_month    SUMASKLAD({'K0*','K1*'}, 1): November's positions;
//   zuslimit           ZUSLIMIT('K053'): the positions of the payment year;
//   sumadoch2          SUMADOCH2(): the tax records of the identity group;
//   dnipracy           DNIPRACY(): the working days of the month by the
//                      calendar of the employee's group (2025 and 2026);
//   dnipracy_weights   DNIPRACY(1, 1, 31, {weights by weekday}): November;
// and for each the ratio of the large company's call to the small one's
// (target 2).
//
// The companies are built once into a cache directory beside the program
// (cache/10000, cache/100) and reused by later runs; the file READY of a
// company holds the version of the generator that built it (kCacheVersion),
// and a company of another version is built again.
//
// Usage: payroll_functions_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench_tables.h"
#include "common/checks/scramble.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "payroll/data/payroll_host.h"
#include "platform/base/files.h"
#include "platform/dbf/table.h"
#include "times_reporter.h"
#include "worktime/data/calendar_rules.h"
#include "worktime/data/calendar_table.h"

namespace {

using namespace kestrel;

// Change it whenever MakeCompany makes something else.
const char* const kCacheVersion = "2: calendars of 2025 and 2026";

constexpr int kComponents = 150;
constexpr int kPerMonth = 42;
const char* const kMeasured = "000050";
const char* const kTwin = "000051";  // the measured employee's second record

using bench::Check;
using bench::Make;
using bench::Number;

std::string Symbol(int k) {
    char s[8];
    std::snprintf(s, sizeof s, "K%03d", k);
    return s;
}

std::string Paid(int month) {
    char s[16];
    std::snprintf(s, sizeof s, "2026%02d28", month);
    return s;
}

std::string Pesel(int employee) {
    char clear[16];
    // The twin shares the measured employee's number.
    const int id = Number(employee) == kTwin ? 50 : employee;
    std::snprintf(clear, sizeof clear, "8001%07d", id);
    return common::Scramble(common::ScrambleKind::kIdentity, clear, 34);
}

void MakeCompany(const std::string& dir, int employees) {
    for (const char* t :
         {"PKROB", "PKRNB", "PKSRDOD", "PKDOD", "PKFUNC", "PKCZAS", "PKBRYG", "PKSBRG", "PKKALEN",
          "PKSKSZT", "PKOSPL", "PKNIEOB", "PKWALOR", "PKSLST", "PKZPRAC", "PKSKLAD"})
        Make(dir, t, [](auto) {});
    Make(dir, "PKGRUPY", [](auto add) { add({{"GRUPA_", "01"}, {"NAZWA_", "Podstawowa"}}); });
    {
        // The calendars with their holidays, as the calendar screen presets them.
        testing::HeadlessRuntime h;
        h.rt.set_data_dir(dir);
        common::Tables tables(h.rt);
        for (int year : {2025, 2026})
            worktime::WriteCalendar(tables, worktime::OpenCalendars(tables),
                                    worktime::PresetCalendar(year, "01"));
    }
    Make(dir, "PKSTER", [](auto add) { add({{"ROK_", "2026"}, {"MC_", "12"}}); });
    Make(dir, "PKPRAC", [&](auto add) {
        for (int i = 1; i <= employees; ++i)
            add({{"NR_PRAC", Number(i)},
                 {"NAZWX_", "X"},
                 {"GRUPA_KAL", "01"},
                 {"PESELX_", Pesel(i)}});
    });
    Make(dir, "PKSPL", [](auto add) {
        for (int k = 0; k < kComponents; ++k)
            add({{"SKLADN_PL", Symbol(k)}, {"TYP_", "K"}, {"SEKW_OBL", std::to_string(k)}});
    });
    Make(dir, "PKLISTY", [](auto add) {
        for (int m = 1; m <= 12; ++m) {
            char mc[4];
            std::snprintf(mc, sizeof mc, "%02d", m);
            add({{"ROK_LST", "2026"},
                 {"TYP_LST", "A"},
                 {"NR_LST", std::to_string(m)},
                 {"MC_LST", mc},
                 {"DATA_WYP", Paid(m)},
                 {"WSK_AKTYWN", m == 12 ? "T" : "F"},
                 {"ZA_ROK", "2026"}});
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
                     {"DATA_WYP", Paid(m)},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "5000"}});
    });
    // The positions, written straight through the table: a few million.
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
    for (int m = 1; m <= 12; ++m) {
        char mc[4];
        std::snprintf(mc, sizeof mc, "%02d", m);
        r.SetString(f_year, "2026");
        r.SetString(f_type, "A");
        r.SetNumber(f_nr, m);
        r.SetString(f_month, mc);
        r.SetString(f_paid, Paid(m));
        for (int i = 1; i <= employees; ++i) {
            r.SetString(f_prac, Number(i));
            for (int k = 0; k < kPerMonth; ++k) {
                r.SetString(f_skl, Symbol((i + k * 3) % kComponents));
                r.SetNumber(f_kw, 100 + k);
                uint32_t recno = 0;
                Check(t->Append(r, &recno), "PKPLACE");
            }
        }
    }
    Check(t->Close(), "PKPLACE");
}

struct Company {
    int employees;
    std::string dir;
    testing::HeadlessRuntime h;
    std::unique_ptr<common::Tables> tables;
    std::unique_ptr<payroll::PayrollHost> host;
    std::map<std::string, std::unique_ptr<formula::Program>> programs;

    Company(const std::string& cache, int n) : employees(n) {
        dir = cache + std::to_string(n) + "/";
        const std::string ready = dir + "READY";
        std::string built;
        if (!base::ReadFile(ready, &built).ok() || built != kCacheVersion) {
            std::fprintf(stderr, "building the company of %d employees in %s ...\n", n,
                         dir.c_str());
            std::filesystem::remove_all(dir);
            std::filesystem::create_directories(dir);
            MakeCompany(dir, n);
        }
        h.rt.set_data_dir(dir);
        tables = std::make_unique<common::Tables>(h.rt);
        host = std::make_unique<payroll::PayrollHost>(h.rt, *tables);
        host->PrepareRun();
        dbf::WorkArea& lists = tables->Open("PKLISTY", {"PKLISTY2"});
        Check(lists.GoTop(), "PKLISTY");  // the open list comes first
        host->SetList(payroll::ReadList(lists));
        // The index files are built by the first open; then the cache is
        // complete.
        host->LoadEmployee(kMeasured);
        if (built != kCacheVersion) {
            if (std::FILE* f = std::fopen(ready.c_str(), "w")) {
                std::fputs(kCacheVersion, f);
                std::fclose(f);
            }
        }
    }

    formula::Program& Compiled(const std::string& text) {
        std::unique_ptr<formula::Program>& p = programs[text];
        if (p == nullptr) {
            p = std::make_unique<formula::Program>();
            formula::Error e;
            if (!host->engine().Compile(text, p.get(), &e)) {
                std::fprintf(stderr, "%s: %s\n", text.c_str(), e.Message().c_str());
                std::exit(1);
            }
        }
        return *p;
    }

    double Value(const std::string& text) {
        formula::Value v;
        formula::Error e;
        if (!host->engine().Evaluate(Compiled(text), &v, &e) || !v.IsNumber()) {
            std::fprintf(stderr, "%s: %s\n", text.c_str(), e.Message().c_str());
            std::exit(1);
        }
        return v.number();
    }
};

std::map<int, Company*> g_companies;

const char* const kFunctions[][2] = {
    {"sumasklad_context", "SUMASKLAD('K*')"},
    {"sumasklad_month", "SUMASKLAD({'K0*','K1*'}, 1)"},
    {"zuslimit", "ZUSLIMIT('K053')"},
    {"sumadoch2", "SUMADOCH2()"},
    {"dnipracy", "DNIPRACY()"},
    {"dnipracy_weights", "DNIPRACY(1, 1, 31, {0, 1, 1, 1, 1, 1, 0.5})"},
};

void Call(benchmark::State& state, int employees, const char* text) {
    Company& c = *g_companies[employees];
    formula::Program& p = c.Compiled(text);
    formula::Value v;
    formula::Error e;
    for (auto _ : state) {
        c.host->engine().Evaluate(p, &v, &e);
        benchmark::DoNotOptimize(v);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cache =
        std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path().string() +
        "/cache/";
    Company large(cache, 10000);
    Company small(cache, 100);
    g_companies = {{10000, &large}, {100, &small}};
    // The figures the runs stand for.
    for (Company* c : {&large, &small}) {
        const double sum = c->Value("SUMADOCH2()");
        // December and November 2026 have working days in either company.
        if (c->Value("DNIPRACY()") == 0 ||
            c->Value("DNIPRACY()") != c->Value("DNIPRACY(0, 1, 31)") ||
            c->Value("DNIPRACY(1, 1, 31, {0, 1, 1, 1, 1, 1, 0.5})") == 0) {
            std::fprintf(stderr, "unexpected working days in the company of %d: %.2f %.2f\n",
                         c->employees, c->Value("DNIPRACY()"),
                         c->Value("DNIPRACY(1, 1, 31, {0, 1, 1, 1, 1, 1, 0.5})"));
            return 1;
        }
        if (sum != 2 * 11 * 5000 || c->Value("SUMASKLAD('K*')") == 0 ||
            c->Value("SUMASKLAD({'K0*','K1*'}, 1)") == 0 || c->Value("ZUSLIMIT('K053')") == 0) {
            std::fprintf(stderr, "unexpected sums in the company of %d: %.2f %.2f %.2f %.2f\n",
                         c->employees, sum, c->Value("SUMASKLAD('K*')"),
                         c->Value("SUMASKLAD({'K0*','K1*'}, 1)"), c->Value("ZUSLIMIT('K053')"));
            return 1;
        }
    }
    for (const auto& f : kFunctions)
        for (int n : {10000, 100})
            benchmark::RegisterBenchmark(
                (std::string("payroll_functions/") + f[0] + "/" + std::to_string(n)).c_str(), Call,
                n, f[1]);
    std::printf("working days: December %.0f, November (weighted) %.2f\n",
                large.Value("DNIPRACY()"),
                large.Value("DNIPRACY(1, 1, 31, {0, 1, 1, 1, 1, 1, 0.5})"));
    benchmark::Initialize(&argc, argv);
    bench::TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& f : kFunctions) {
        const std::string name = std::string("payroll_functions/") + f[0];
        const double big = reporter.ns[name + "/10000"], little = reporter.ns[name + "/100"];
        if (little > 0)
            std::printf(
                "%-18s %9.0f ns in 10,000 employees, %9.0f ns in 100, ratio %.2f (target 2)\n",
                f[0], big, little, big / little);
    }
    return 0;
}
